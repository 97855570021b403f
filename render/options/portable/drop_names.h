// The text rules of shortcuts made from dropped data: reading the dropped block, the file
// name each kind of data gives, the link of an HTML fragment with its text turned into
// Latin-1, and the full path of the shortcut file.  Dropped data comes from another
// program: everything here works within the sizes it is given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The longest full path of a shortcut file (MAX_PATH less its terminating zero) and of one
// file name in it.
inline constexpr size_t kMaxShortcutPath = 259;
inline constexpr size_t kMaxShortcutFileName = 255;

// The longest name an address gives, before the path is fitted.
inline constexpr size_t kMaxAddressName = 260;

// The name a shortcut gets when its data gives none.
inline constexpr std::u16string_view kFallbackShortcutName = u"Shortcut";

// Colon, slash, backslash, less-than, greater-than, asterisk, question mark, quotation mark,
// vertical bar and every code below 32.
bool IsForbiddenInName(char16_t c);

// The UTF-16 text of a dropped block of `size` bytes (little-endian units): up to its first
// zero unit, or the whole block when it has none; an odd last byte is no unit.
std::u16string DroppedText(const uint8_t *bytes, size_t size);

// The 8-bit text of a dropped block: up to its first zero byte, or the whole block.
std::string_view DroppedBytes(const uint8_t *bytes, size_t size);

// A dropped file's name: the shell's display name (empty when it gave none, then the path's
// last component), cut at its first ".", without the characters never allowed in a name.
std::u16string FileShortcutName(std::u16string_view displayName, std::u16string_view path);

// A dropped address's name: the text after its last "/", "\" or ":" (at most
// kMaxAddressName units) with ":" as ";", "/" and "\" as "-", a quotation mark as an
// apostrophe, "?" as an inverted question mark, "<" ">" "*" "|" left out, and ending before
// its first control character.
std::u16string AddressShortcutName(std::u16string_view address);

// Sixteen two-byte UTF-8 sequences of Spanish letters and marks become their Latin-1 byte,
// each sequence replaced all through the text before the next is looked at.
void Utf8SpanishToLatin1(std::string &text);

// The references of the five markup characters and of Latin-1 160 to 255 become their byte
// ("&amp;#163;", then "&amp;pound;", then "&pound;", each a pass over the whole text); the
// non-breaking space becomes "-".  A plain "&#163;" stays as it is.
void DecodeHtmlEntities(std::string &text);

// The first anchor of an HTML fragment: its target (the bytes between the quotation marks
// after "<A HREF=", or else "<a href=", each widened to one unit) and its name (the link
// text after the next ">" up to the next "<", turned into Latin-1 and decoded, without the
// characters never allowed in a name).  False when there is no anchor, its target has no
// closing quotation mark, or its text no ">" before or "<" after it.
struct TDroppedAnchor {
    std::u16string Target;
    std::u16string Name;
};
bool ParseDroppedAnchor(std::string_view fragment, TDroppedAnchor &anchor);

// `folder` (a backslash added when it has none) + `name` + ".lnk", with " (number)" before
// the extension when `number` is 2 or more; an empty name is kFallbackShortcutName.  The name
// is cut so that the file name and the whole path fit; empty when the folder leaves no room.
std::u16string ShortcutPathFor(std::u16string_view folder, std::u16string_view name, int number);
