#include "settings/recent_items.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "common/win_guards.h"
#include "common/win_text.h"
#include "settings/portable/recent_values.h"
#include "settings/settings.h"

namespace {

constexpr DWORD kResolveQuietly = DWORD(SLR_NO_UI) | DWORD(SLR_NOSEARCH);  // 17: no window, no search

// The whole binary value `name` of `key`; empty when it cannot be read.
std::vector<uint8_t> ReadBinaryValue(HKEY key, const wchar_t *name)
{
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<uint8_t> bytes(size);
    if (size && RegQueryValueExW(key, name, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS)
        return {};
    bytes.resize(size);  // the value may have shrunk in between
    return bytes;
}

// Deletes every entry of `folder` (ending with a backslash) that is neither a folder nor
// hidden; files in use stay.
void DeletePlainFiles(const std::wstring &folder)
{
    WIN32_FIND_DATAW entry;
    TFindHandle search(FindFirstFileW((folder + L"*.*").c_str(), &entry));
    for (bool more = bool(search); more; more = FindNextFileW(search.Get(), &entry)) {
        if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN))
            continue;
        DeleteFileW((folder + entry.cFileName).c_str());
    }
}

std::wstring RecentFolder()
{
    wchar_t folder[MAX_PATH];
    ResolveFolder(FOLDERID_Recent, folder);
    return folder;
}

} // namespace

int ResolveRecentShortcut(const wchar_t *path)
{
    const HRESULT init = CoInitialize(nullptr);
    int target = kRecentTargetNone;
    IShellLinkW *link = nullptr;
    IPersistFile *file = nullptr;
    WIN32_FIND_DATAW data = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
        SUCCEEDED(file->Load(path, STGM_READ)) &&
        SUCCEEDED(link->Resolve(nullptr, kResolveQuietly)) &&
        SUCCEEDED(link->GetPath(nullptr, 0, &data, 0)))
        target = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? kRecentTargetFolder
                                                                   : kRecentTargetFile;
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (SUCCEEDED(init))
        CoUninitialize();
    return target;
}

TRecentDocuments ReadRecentDocuments(int limit)
{
    TRecentDocuments recent;
    const std::wstring folder = RecentFolder();
    TRegistryKey key(HKEY_CURRENT_USER, kRecentDocsKey, KEY_READ);
    if (!key || folder.empty())
        return recent;
    const std::vector<uint8_t> order = ReadBinaryValue(key.Get(), kRecentOrderValue);
    for (uint32_t number : MruOrder(order.data(), order.size())) {
        if (recent.Documents >= limit && recent.Folders >= limit)
            break;
        const std::vector<uint8_t> value = ReadBinaryValue(key.Get(), std::to_wstring(number).c_str());
        const std::u16string name = MruShortcutName(value.data(), value.size());
        if (name.empty())
            continue;
        const std::wstring path = folder + W(name.c_str());
        // A cut path would name another file.
        if (path.size() >= MAX_PATH)
            continue;
        switch (ResolveRecentShortcut(path.c_str())) {
        case kRecentTargetFolder:
            if (recent.Folders < limit) {
                recent.Candidates.push_back(kRecentFolderLetter + path);
                ++recent.Folders;
            }
            break;
        case kRecentTargetFile:
            if (recent.Documents < limit) {
                recent.Candidates.push_back(kRecentFileLetter + path);
                ++recent.Documents;
            }
            break;
        }
    }
    return recent;
}

TRecentMenuContent BuildRecentMenu(int limit)
{
    TRecentMenuContent content;
    content.Folder = RecentFolder();
    const TRecentDocuments recent = ReadRecentDocuments(limit);
    for (size_t position = 0; position < recent.Candidates.size(); ++position) {
        const std::wstring &candidate = recent.Candidates[position];
        // The date sort puts the largest key first: the complement of the position keeps the
        // most recent entry (position 0) at the top, which minus the position would not.
        TRecentEntry entry{candidate.substr(1), ~DWORD(position)};
        if (candidate[0] == kRecentFolderLetter)
            content.Folders.push_back(entry);
        else
            content.Documents.push_back(entry);
    }
    return content;
}

void ClearRecentItems()
{
    {
        TRegistryKey key(HKEY_CURRENT_USER, kRecentDocsKey, KEY_SET_VALUE);
        if (key)
            RegDeleteValueW(key.Get(), kRecentOrderValue);
    }
    const std::wstring folder = RecentFolder();
    if (!folder.empty())
        DeletePlainFiles(folder);
}

void ClearJumpLists()
{
    const std::wstring folder = RecentFolder();
    if (!folder.empty())
        DeletePlainFiles(folder + L"AutomaticDestinations\\");
}
