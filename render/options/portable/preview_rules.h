// The options preview's sample levels and what it decides about them without drawing.
#pragma once
#include <cstdint>
#include <string_view>

#include "render/portable/level_layout.h"
#include "settings/portable/language_keys.h"

inline constexpr int kPreviewWidth = 300;

// Where the preview stands beside the options sheet: its right at a gap of three times the
// dialog frame and border, as tall as the sheet.
TLayoutRect PlacePreview(const TLayoutRect &sheet, int dialogFrameWidth, int borderWidth);

// The icon of a sample row: a special-item slot of the settings, one of shell32's own, or none.
enum class TSampleIcon { Slot, Shell32, None };

struct TSampleRow {
    std::u16string_view caption;
    TSampleIcon iconKind = TSampleIcon::Slot;
    SpecialIconSlot slot = IconManage;  // when iconKind is Slot
    bool isSeparator = false;
    bool hasSubLevel = false;
    bool dropBefore = false;
    bool dropAfter = false;
    bool hot = false;
    bool isNew = false;          // created a moment ago
    bool logoutCaption = false;  // the caption is LocalLogout with the user's name
};

inline constexpr int kShell32SampleIconIndex = 3;
inline constexpr int kSampleTopRows = 10;
inline constexpr int kSampleSubRows = 3;

// The top level in list order; its first row opens the sub-level.
extern const TSampleRow kSampleTopLevel[kSampleTopRows];
extern const TSampleRow kSampleSubLevel[kSampleSubRows];

// The blur behind the preview: the area of both levels side by side (the top level at the
// origin, the sub-level to its right), or a single pixel when the menus are not blurred.
struct TBlurRegion {
    int count;
    TLayoutRect rects[2];
};
TBlurRegion PreviewBlurRegion(bool drawBlur, TLevelSize top, TLevelSize sub);
