#include "render/options/shortcut_maker.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "common/messages.h"
#include "common/portable/text.h"
#include "common/win_text.h"
#include "render/options/portable/drop_names.h"

namespace {

// How far "name (2).lnk", "name (3).lnk" ... go looking for a free name.
constexpr int kMaxShortcutNumber = 1000;

// The block's bytes, all of them and no more: data from another program need not end with
// a zero.  Empty when it cannot be locked.
std::vector<uint8_t> BlockBytes(HGLOBAL data)
{
    std::vector<uint8_t> bytes;
    if (!data)
        return bytes;
    if (const auto *locked = static_cast<const uint8_t *>(GlobalLock(data))) {
        bytes.assign(locked, locked + GlobalSize(data));
        GlobalUnlock(data);
    }
    return bytes;
}

std::wstring Wide(std::u16string_view text)
{
    return std::wstring(W(text.data()), text.size());
}

// The first shortcut path for `name` in `folder` that names no existing file; empty when
// there is none or the folder leaves no room.
std::wstring FreeShortcutPath(const wchar_t *folder, std::u16string_view name)
{
    for (int number = 1; number <= kMaxShortcutNumber; ++number) {
        const std::u16string path = ShortcutPathFor(U16View(folder), name, number);
        if (path.empty())
            return {};
        if (GetFileAttributesW(W(path.c_str())) == INVALID_FILE_ATTRIBUTES)
            return Wide(path);
    }
    return {};
}

// The shell's name for a file as it shows it; empty when it has none.
std::u16string DisplayName(const std::wstring &path)
{
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME))
        return {};
    return std::u16string(U16(info.szDisplayName), TextLength(U16(info.szDisplayName), MAX_PATH));
}

// The watchers would report the new file in a Start Menu folder as a change from outside.
bool SaveWithWatchersStopped(const std::wstring &target, const std::wstring &linkPath)
{
    const HWND mainWindow = FindWindowW(kMainWindowClass, nullptr);
    if (mainWindow)
        SendMessageW(mainWindow, UM_STOP_WATCHERS, 0, 0);
    const bool saved = SaveShortcut(target.c_str(), linkPath.c_str());
    if (mainWindow)
        SendMessageW(mainWindow, UM_START_WATCHERS, 0, 0);
    return saved;
}

bool ShortcutToFile(const std::vector<uint8_t> &block, const wchar_t *folder, std::wstring &written)
{
    const std::u16string path = DroppedText(block.data(), block.size());
    if (path.empty())
        return false;
    const std::wstring target = Wide(path);
    written = FreeShortcutPath(folder, FileShortcutName(DisplayName(target), path));
    return !written.empty() && SaveWithWatchersStopped(target, written);
}

bool ShortcutToAddress(const std::vector<uint8_t> &block, const wchar_t *folder,
                       std::wstring &written)
{
    const std::u16string address = DroppedText(block.data(), block.size());
    if (address.empty())
        return false;
    written = FreeShortcutPath(folder, AddressShortcutName(address));
    return !written.empty() && SaveShortcut(Wide(address).c_str(), written.c_str());
}

bool ShortcutToAnchor(const std::vector<uint8_t> &block, const wchar_t *folder,
                      std::wstring &written)
{
    TDroppedAnchor anchor;
    if (!ParseDroppedAnchor(DroppedBytes(block.data(), block.size()), anchor) ||
        anchor.Target.empty())
        return false;
    written = FreeShortcutPath(folder, anchor.Name);
    return !written.empty() && SaveShortcut(Wide(anchor.Target).c_str(), written.c_str());
}

} // namespace

bool MakeShortcutFromDrop(int kind, HGLOBAL data, const wchar_t *folder, wchar_t *resultPath)
{
    if (resultPath)
        resultPath[0] = L'\0';
    if (!folder || !resultPath)
        return false;
    const std::vector<uint8_t> block = BlockBytes(data);
    std::wstring written;
    bool saved = false;
    switch (kind) {
    case kDropFilePath: saved = ShortcutToFile(block, folder, written); break;
    case kDropAddress:
    case kDropText: saved = ShortcutToAddress(block, folder, written); break;
    case kDropHtml: saved = ShortcutToAnchor(block, folder, written); break;
    default: break;
    }
    if (saved)
        lstrcpynW(resultPath, written.c_str(), MAX_PATH);
    return saved;
}

bool SaveShortcut(const wchar_t *target, const wchar_t *linkPath)
{
    if (!target || !linkPath)
        return false;
    const HRESULT init = CoInitialize(nullptr);
    IShellLinkW *link = nullptr;
    IPersistFile *file = nullptr;
    const bool saved =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&link))) &&
        SUCCEEDED(link->SetPath(target)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
        SUCCEEDED(file->Save(linkPath, TRUE));
    if (file)
        file->Release();
    if (link)
        link->Release();
    if (SUCCEEDED(init))
        CoUninitialize();
    return saved;
}
