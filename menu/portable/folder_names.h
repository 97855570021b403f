// Names and places of the entries the item context menu creates: the folder a new folder or
// shortcut goes into, the check of a typed folder name, and the new shortcut's file name.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The longest full path a new folder may have: a directory path must leave room for an
// 8.3 file name inside it (MAX_PATH - 12), and the menu's 260-unit buffers hold it whole.
inline constexpr size_t kMaxNewFolderPath = 247;

enum class TFolderNameVerdict {
    Fine,
    Empty,
    BadCharacter,        // a separator, a drive colon, a wildcard or a control character
    DotName,             // "." or "..": the folder itself or its parent
    TrailingDotOrSpace,  // the system would strip it and create another name
    DeviceName,          // CON, NUL, COM1 and the like, with or without an extension
    TooLong,             // the folder's full path would pass kMaxNewFolderPath
};

// The verdict on `name` as one new folder inside `targetFolder` (which ends with a
// backslash).  Only a single folder name is accepted: nothing that climbs out of the target
// folder or names another place.
TFolderNameVerdict CheckNewFolderName(std::u16string_view targetFolder, std::u16string_view name);

// Where new folders and shortcuts of a level go: `userStartMenu` for the top level (an empty
// `parentPath`), otherwise the parent folder's path with a backslash; a folder of the
// all-users tree is mapped to the same relative path in the user's tree.  Both Start Menu
// paths end with a backslash.
struct TTargetFolder {
    std::u16string Folder;                 // ends with a backslash
    std::vector<std::u16string> Chain;     // folders to create first, outermost first
};
TTargetFolder TargetFolderOf(std::u16string_view parentPath, std::u16string_view userStartMenu,
                             std::u16string_view commonStartMenu);

// The file name of a new shortcut from four values of 0 to 32767 ("0000" to "10000" each).
std::u16string ShortcutFileName(const int (&random)[4]);
