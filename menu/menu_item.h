// One line of a menu level, how it is made from a path and filled from the file system.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <optional>

class TMenu;
struct TEntryAnswer;

struct TMenuItem {
    wchar_t Path[MAX_PATH];
    wchar_t Caption[MAX_PATH];
    wchar_t Tip[MAX_PATH];
    HICON Icon;
    DWORD CreatedHigh;
    UINT Width;
    UINT Height;
    RECT Rect;
    bool Hot;
    bool IsEmptyMarker;
    bool IsSeparator;
    bool IsMovable;
    bool IsProgramsFolder;
    TMenu *Owner;
    TMenu *Submenu;
    TMenuItem *Prev;
    TMenuItem *Next;
    bool DropBefore;
    bool DropAfter;
};

// A new, unlinked item.  Files, folders and the placeholder are movable; keywords and
// control panel entries are not, and "*separator" is a separator.  The Programs folder and
// recent documents get their own flags from the code that builds them.
TMenuItem *MakeItem(const wchar_t *path, bool hasSubmenu, bool isEmptyMarker, bool skipLookup);
// Fills Caption, Icon, CreatedHigh and Tip from the file system (or the placeholder text).
void LookUp(TMenuItem *item);

// What the shell says of a path in one request: its display name and its place in the
// system image list.  `Images` is null when the shell cannot describe the path.
struct TShellInfo {
    HIMAGELIST Images;
    SHFILEINFOW Info;
};
TShellInfo QueryShellInfo(const wchar_t *path);

// A folder parsed once for the shell requests of all its entries: a request by path parses
// every folder of the path again, which costs more than the rest of the request.
class TShellFolderQuery {
public:
    explicit TShellFolderQuery(const wchar_t *folderPath);
    ~TShellFolderQuery();
    TShellFolderQuery(const TShellFolderQuery &) = delete;
    TShellFolderQuery &operator=(const TShellFolderQuery &) = delete;

    // QueryShellInfo of `fullPath`, the entry `name` of the folder.
    TShellInfo Query(const wchar_t *name, const wchar_t *fullPath) const;

private:
    PIDLIST_ABSOLUTE folderList_ = nullptr;
    IShellFolder *folder_ = nullptr;
};

// One shell link object loaded with shortcut after shortcut: creating the object costs more
// than reading a link, so a folder scan makes one for all its items.
class TShortcutReader {
public:
    TShortcutReader();
    ~TShortcutReader();
    TShortcutReader(const TShortcutReader &) = delete;
    TShortcutReader &operator=(const TShortcutReader &) = delete;

    // The link's description, or its target when it has none; empty for anything but a link.
    void ReadTip(const wchar_t *path, wchar_t *tip);

private:
    IShellLinkW *link_ = nullptr;
    IPersistFile *file_ = nullptr;
};

// LookUp of a file or folder whose shell information is already at hand: a folder scan asks
// the shell once for the merge key and the item's caption and icon together.
void LookUpWith(TMenuItem *item, const TShellInfo &shell, TShortcutReader &reader);
// The answer of one shell request as the build keeps it (the display name, the icon index).
TEntryAnswer AnswerOf(const TShellInfo &shell);
// LookUpWith from a kept answer: the icon parked in it (or one made from its index), the tip
// and creation key it holds, read once (with `reader`, made when first needed) when it has
// none yet.
void LookUpFromAnswer(TMenuItem *item, TEntryAnswer &answer,
                      std::optional<TShortcutReader> &reader);
// Destroys the icon, then the sub-level, then the record.
void DestroyItem(TMenuItem *item);

// One of the shell's objects for a file or folder (its context menu, its data object), asked
// of its parent folder with `owner` as the window of any message it shows; null when the
// shell cannot parse the path.
void *ShellObjectOf(HWND owner, const wchar_t *path, REFIID iid);

// Whether the item counts as recently installed now.
bool IsItemNew(const TMenuItem *item);

// The icon the settings give a special item ("*ayuda"); null for keywords without one.
HICON LoadSpecialItemIcon(const wchar_t *keyword);
