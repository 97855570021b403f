// Full build of a generated Start Menu: 2,000 shortcuts in 200 folders (half of the folders
// in the user's tree, half in the all-users tree, ten of them present in both).  Prints the
// BuildAll time (best and median of several rounds), the order file write time and the
// memory the built tree holds.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/order_file.h"
#include "app/window_classes.h"
#include "menu/menu_build.h"
#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "settings/settings.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kFolders = 200;
constexpr int kShortcutsPerFolder = 10;
constexpr int kRounds = 3;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Committed private memory of the process (Wine reports it as the page-file usage).
size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

bool MakeShortcut(const std::wstring &path, const wchar_t *target)
{
    IShellLinkW *link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void **>(&link))))
        return false;
    link->SetPath(target);
    IPersistFile *file = nullptr;
    bool saved = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
                 SUCCEEDED(file->Save(path.c_str(), TRUE));
    if (file)
        file->Release();
    link->Release();
    return saved;
}

// Both trees under `base`; one shortcut is saved and copied for the rest.
void GenerateStartMenu(const std::wstring &base)
{
    std::wstring user = base + L"User\\", common = base + L"Common\\";
    CreateDirectoryW(base.c_str(), nullptr);
    CreateDirectoryW(user.c_str(), nullptr);
    CreateDirectoryW(common.c_str(), nullptr);
    std::wstring model = base + L"model.lnk";
    MakeShortcut(model, L"C:\\windows\\notepad.exe");
    for (int folder = 0; folder < kFolders; ++folder) {
        // Folders 95..104 exist in both trees under the same name.
        int name = folder < kFolders / 2 ? folder : folder - 10;
        std::wstring dir = (folder < kFolders / 2 ? user : common) + L"Folder " +
                           std::to_wstring(name) + L"\\";
        CreateDirectoryW(dir.c_str(), nullptr);
        for (int item = 0; item < kShortcutsPerFolder; ++item)
            CopyFileW(model.c_str(),
                      (dir + L"Program " + std::to_wstring(folder) + L"-" + std::to_wstring(item) +
                       L".lnk").c_str(),
                      FALSE);
    }
    wcscpy(MenuFolders.UserStartMenu, user.c_str());
    wcscpy(MenuFolders.CommonStartMenu, common.c_str());
    wcscpy(MenuFolders.Programs, (user + L"Programs\\").c_str());
    wcscpy(MenuFolders.OrderFile, (base + L"sort.txt").c_str());
}

void RemoveTree(const std::wstring &folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + L"\\");
            else
                DeleteFileW((folder + name).c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

int CountItems(const TMenu *level)
{
    int count = 0;
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        count += 1 + (item->Submenu ? CountItems(item->Submenu) : 0);
    return count;
}

} // namespace

int wmain()
{
    CoInitialize(nullptr);
    LoadSettings();
    RegisterWindowClasses(GetModuleHandleW(nullptr));

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"orvella-build-bench\\";
    RemoveTree(base);
    GenerateStartMenu(base);

    std::vector<double> times;
    size_t bytesBefore = 0, bytesAfter = 0;
    int items = 0;
    double writeMs = 0;
    for (int round = 0; round < kRounds; ++round) {
        bytesBefore = PrivateBytes();
        TMenu *root = new TMenu(nullptr, false);
        Clock::time_point start = Clock::now();
        BuildAll(root);
        times.push_back(Ms(Clock::now() - start));
        bytesAfter = PrivateBytes();
        items = CountItems(root);
        start = Clock::now();
        WriteOrderFile(root, MenuFolders.OrderFile);
        writeMs = Ms(Clock::now() - start);
        delete root;
    }
    std::sort(times.begin(), times.end());

    std::printf("menu build: %d shortcuts in %d folders, %d items built\n",
                kFolders * kShortcutsPerFolder, kFolders, items);
    std::printf("BuildAll: best %.1f ms, median %.1f ms (%d rounds)\n", times.front(),
                times[times.size() / 2], kRounds);
    std::printf("per item: %.3f ms\n", times[times.size() / 2] / std::max(items, 1));
    std::printf("order file write: %.1f ms\n", writeMs);
    std::printf("memory held by the tree: %.1f KiB private (%.1f bytes per item)\n",
                double(bytesAfter - bytesBefore) / 1024.0,
                double(bytesAfter - bytesBefore) / std::max(items, 1));

    RemoveTree(base);
    CoUninitialize();
    return 0;
}
