// The shell's record of recently used documents and folders, read for the recent items level,
// and the two commands that clear it and the jump lists.  The level itself is made by menu
// building from the plain content given here.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

inline constexpr wchar_t kRecentDocsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
inline constexpr wchar_t kRecentOrderValue[] = L"MRUListEx";

// What ResolveRecentShortcut finds a shortcut's target to be.
enum TRecentTarget : int {
    kRecentTargetNone = 0,    // the shortcut cannot be loaded or resolved
    kRecentTargetFolder = 1,
    kRecentTargetFile = 2,
};

// The kind letters that begin each candidate.
inline constexpr wchar_t kRecentFileLetter = L'a';
inline constexpr wchar_t kRecentFolderLetter = L'd';

// The candidates, in order of use (most recent first): a kind letter and the full path of a
// shortcut in the Recent folder; and how many documents and folders were kept.
struct TRecentDocuments {
    std::vector<std::wstring> Candidates;
    int Documents = 0;
    int Folders = 0;
};

TRecentDocuments ReadRecentDocuments(int limit);
int ResolveRecentShortcut(const wchar_t *path);

// One shortcut of the level: its full path and the date key that restores the order of use
// under the date sort (larger is more recent).
struct TRecentEntry {
    std::wstring Path;
    DWORD DateKey;
};

// The content of the two sub-levels of the recent items level.
struct TRecentMenuContent {
    std::wstring Folder;  // the Recent folder, ending with a backslash
    std::vector<TRecentEntry> Documents;
    std::vector<TRecentEntry> Folders;
};

// Reads the record with `limit` documents and folders at most and parts it by kind.
TRecentMenuContent BuildRecentMenu(int limit);

// Deletes the record's order list and the Recent folder's shortcuts ("*borrarrecientes").
void ClearRecentItems();
// Deletes the jump lists ("*borrarjumplist").
void ClearJumpLists();
