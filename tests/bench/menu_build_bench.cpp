// Full build of a generated Start Menu: 2,000 shortcuts in 200 folders (half of the folders
// in the user's tree, half in the all-users tree, ten of them present in both).  Prints the
// BuildAll time (best and median of several rounds), the bare cost of the shell requests a
// build makes for that tree (the same calls in the same order, no items or levels), a
// rebuild after one shortcut changed with its ratio to a full build, the order file write
// time and the memory the built tree holds; then where an item's time goes: each system call
// a lookup makes, the level window, layout, swaps and applying a custom order that reverses
// every level.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/menu_tree.h"
#include "app/order_file.h"
#include "app/portable/order_file.h"
#include "app/window_classes.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "menu/menu_build.h"
#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "tests/bench/bench_timing.h"
#include "tests/windows/test_files.h"

namespace {

constexpr int kFolders = 200;
constexpr int kShortcutsPerFolder = 10;
constexpr int kRounds = 3;
// The requests alone and the rebuild take as long as a build: fewer rounds keep the whole
// benchmark near two minutes.
constexpr int kSideRounds = 2;

// Committed private memory of the process (Wine reports it as the page-file usage).
size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
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

int CountItems(const TMenu *level)
{
    int count = 0;
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        count += 1 + (item->Submenu ? CountItems(item->Submenu) : 0);
    return count;
}


// The shortcuts of one generated folder, and the same shortcuts pointing at a file that does
// not exist (the case where resolving searches for the target).
struct TSamplePaths {
    std::vector<std::wstring> existing;
    std::vector<std::wstring> missing;
};

TSamplePaths SamplePaths(const std::wstring &base)
{
    TSamplePaths sample;
    std::wstring dir = base + L"User\\Folder 0\\";
    for (int item = 0; item < kShortcutsPerFolder; ++item)
        sample.existing.push_back(dir + L"Program 0-" + std::to_wstring(item) + L".lnk");
    std::wstring broken = base + L"Broken\\";
    CreateDirectoryW(broken.c_str(), nullptr);
    for (int item = 0; item < kShortcutsPerFolder; ++item) {
        std::wstring path = broken + L"Gone " + std::to_wstring(item) + L".lnk";
        MakeShortcut(path, (base + L"NoSuchFolder\\gone.exe").c_str());
        sample.missing.push_back(path);
    }
    return sample;
}

// Average over the sample of `work(path)`.
template <typename Work>
double PerPath(const std::vector<std::wstring> &paths, Work work)
{
    return MillisecondsPerCall([&] {
               for (const std::wstring &path : paths)
                   work(path.c_str());
           }) /
           paths.size();
}

IShellLinkW *NewLink()
{
    IShellLinkW *link = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                     reinterpret_cast<void **>(&link));
    return link;
}

void BenchLookUpParts(const TSamplePaths &sample)
{
    std::printf("\nper item, over %zu shortcuts:\n", sample.existing.size());
    double displayName = PerPath(sample.existing, [](const wchar_t *path) {
        SHFILEINFOW info = {};
        SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_DISPLAYNAME);
    });
    double iconAndName = PerPath(sample.existing, [](const wchar_t *path) {
        SHFILEINFOW info = {};
        SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME);
    });
    // The same request for an item list parsed under its folder, parsed once.
    const std::wstring folderPath = sample.existing[0].substr(0, sample.existing[0].rfind(L'\\'));
    PIDLIST_ABSOLUTE folderList = nullptr;
    SHParseDisplayName(folderPath.c_str(), nullptr, &folderList, 0, nullptr);
    IShellFolder *folder = nullptr;
    SHBindToObject(nullptr, folderList, nullptr, IID_IShellFolder,
                   reinterpret_cast<void **>(&folder));
    double fromParsedFolder = PerPath(sample.existing, [&](const wchar_t *path) {
        PIDLIST_RELATIVE child = nullptr;
        std::wstring name = wcsrchr(path, L'\\') + 1;
        folder->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &child, nullptr);
        PIDLIST_ABSOLUTE full = ILCombine(folderList, child);
        SHFILEINFOW info = {};
        SHGetFileInfoW(reinterpret_cast<const wchar_t *>(full), 0, &info, sizeof(info),
                       SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME);
        ILFree(full);
        ILFree(child);
    });
    folder->Release();
    ILFree(folderList);
    SHFILEINFOW info = {};
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(sample.existing[0].c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX));
    // A build keeps its icons until the tree goes, so making one and destroying it are apart.
    std::vector<HICON> icons;
    double icon = MillisecondsPerCall(
        [&] { icons.push_back(ImageList_GetIcon(images, info.iIcon, ILD_NORMAL)); });
    Clock::time_point destroyStart = Clock::now();
    for (HICON made : icons)
        DestroyIcon(made);
    double iconDestroyed = Ms(Clock::now() - destroyStart) / std::max<size_t>(icons.size(), 1);
    double created = PerPath(sample.existing, [](const wchar_t *path) {
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        FILETIME time = {};
        GetFileTime(file, &time, nullptr, nullptr);
        CloseHandle(file);
    });
    double create = MillisecondsPerCall([] { NewLink()->Release(); });
    IShellLinkW *link = NewLink();
    IPersistFile *file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file));
    double load =
        PerPath(sample.existing, [&](const wchar_t *path) { file->Load(path, STGM_READ); });
    auto resolve = [&](const wchar_t *path) {
        file->Load(path, STGM_READ);
        link->Resolve(GetDesktopWindow(), 19);
    };
    double resolveExisting = PerPath(sample.existing, resolve) - load;
    double resolveMissing = PerPath(sample.missing, resolve) - load;
    wchar_t tip[MAX_PATH];
    double texts = MillisecondsPerCall([&] {
        link->GetDescription(tip, MAX_PATH);
        link->GetPath(tip, MAX_PATH, nullptr, 0);
    });
    file->Release();
    link->Release();
    double lookUp = PerPath(sample.existing, [](const wchar_t *path) {
        DestroyItem(MakeItem(path, false, false, false));
    });
    double lookUpMissing = PerPath(sample.missing, [](const wchar_t *path) {
        DestroyItem(MakeItem(path, false, false, false));
    });
    std::printf("  display name alone (merge key)     %8.3f ms\n", displayName);
    std::printf("  icon index and display name        %8.3f ms\n", iconAndName);
    std::printf("  the same, folder parsed once       %8.3f ms\n", fromParsedFolder);
    std::printf("  icon from the system image list    %8.3f ms\n", icon);
    std::printf("  icon destroyed (with the tree)     %8.3f ms\n", iconDestroyed);
    std::printf("  creation time (open, read, close)  %8.3f ms\n", created);
    std::printf("  shell link object created          %8.3f ms\n", create);
    std::printf("  link loaded                        %8.3f ms\n", load);
    std::printf("  resolved, target exists            %8.3f ms\n", resolveExisting);
    std::printf("  resolved, target missing           %8.3f ms\n", resolveMissing);
    std::printf("  description and target read        %8.3f ms\n", texts);
    std::printf("  whole lookup, target exists        %8.3f ms\n", lookUp);
    std::printf("  whole lookup, target missing       %8.3f ms\n", lookUpMissing);
}

void BenchLevels(const TSamplePaths &sample)
{
    double level = MillisecondsPerCall([] { delete new TMenu(nullptr, false); });
    double fonts = MillisecondsPerCall([] { BuildSettingsFonts(); });
    std::printf("\nper level: window, tooltip and fonts %8.3f ms, of which the fonts %8.3f ms\n",
                level, fonts);

    TMenu *menu = new TMenu(nullptr, false);
    for (int i = 0; i < 20; ++i)
        for (const std::wstring &path : sample.existing)
            menu->Append(path.c_str(), false, false, true);
    for (int count : {200, 10}) {
        while (menu->Count() > count)
            menu->RemoveAt(menu->Count() - 1);
        double layout = MillisecondsPerCall([&] { menu->Layout(); });
        double swap = MillisecondsPerCall([&] { menu->Swap(0, count - 1); });
        std::printf("level of %3d items: layout %8.3f ms, one swap %8.3f ms\n", count, layout,
                    swap);
    }
    delete menu;
}

// Applies an order file that reverses every level of a freshly built tree.
void BenchOrderFile()
{
    TMenu *root = new TMenu(nullptr, false);
    ScanFolder(root, MenuFolders.UserStartMenu);
    ScanFolder(root, MenuFolders.CommonStartMenu);
    std::u16string text;
    std::vector<TMenu *> levels = {root};
    for (size_t i = 0; i < levels.size(); ++i) {
        TMenu *level = levels[i];
        AppendOrderHeader(text, level->ParentItem ? U16View(level->ParentItem->Path) : u"");
        std::vector<const TMenuItem *> items;
        for (const TMenuItem *item = level->Items; item; item = item->Next) {
            items.push_back(item);
            if (item->Submenu)
                levels.push_back(item->Submenu);
        }
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            AppendOrderLine(text, U16View((*it)->Path));
    }
    AppendOrderEndMark(text);
    WriteSettingsFile(MenuFolders.OrderFile, text);
    Clock::time_point start = Clock::now();
    ApplyOrderFile(root, MenuFolders.OrderFile);
    std::printf("\norder file reversing all %zu levels applied: %.1f ms\n", levels.size(),
                Ms(Clock::now() - start));
    delete root;
    DeleteFileW(MenuFolders.OrderFile);
}

// The requests a build makes of the shell and the file system for one folder, in the order
// it makes them, with their results dropped but the icons kept: the folder parsed and
// listed, and for each entry its icon index and display name, icon, creation time and the
// shortcut read.
void RequestFolder(const std::wstring &folder, IShellLinkW *link, IPersistFile *file,
                   std::vector<HICON> &icons)
{
    PIDLIST_ABSOLUTE folderList = nullptr;
    IShellFolder *shellFolder = nullptr;
    if (SUCCEEDED(SHParseDisplayName(folder.c_str(), nullptr, &folderList, 0, nullptr)))
        SHBindToObject(nullptr, folderList, nullptr, IID_IShellFolder,
                       reinterpret_cast<void **>(&shellFolder));
    WIN32_FIND_DATAW entry;
    TFindHandle search(FindFirstFileW((folder + L"*.*").c_str(), &entry));
    for (bool more = bool(search); more; more = FindNextFileW(search.Get(), &entry)) {
        if (entry.cFileName[0] == L'.')
            continue;
        const std::wstring path = folder + entry.cFileName;
        PIDLIST_RELATIVE child = nullptr;
        SHFILEINFOW info = {};
        HIMAGELIST images = nullptr;
        if (shellFolder && SUCCEEDED(shellFolder->ParseDisplayName(nullptr, nullptr,
                                                                   entry.cFileName, nullptr,
                                                                   &child, nullptr))) {
            PIDLIST_ABSOLUTE full = ILCombine(folderList, child);
            images = reinterpret_cast<HIMAGELIST>(
                SHGetFileInfoW(reinterpret_cast<const wchar_t *>(full), 0, &info, sizeof(info),
                               SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME));
            ILFree(full);
            ILFree(child);
        }
        if (images)
            icons.push_back(ImageList_GetIcon(images, info.iIcon, ILD_NORMAL));
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        FILETIME time = {};
        GetFileTime(handle, &time, nullptr, nullptr);
        CloseHandle(handle);
        wchar_t tip[MAX_PATH];
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            link->Resolve(GetDesktopWindow(), 19);
            if (FAILED(link->GetDescription(tip, MAX_PATH)) || tip[0] == 0)
                link->GetPath(tip, MAX_PATH, nullptr, 0);
        }
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RequestFolder(path + L"\\", link, file, icons);
    }
    if (shellFolder)
        shellFolder->Release();
    if (folderList)
        ILFree(folderList);
}

double Mean(const std::vector<double> &values)
{
    double sum = 0;
    for (double value : values)
        sum += value;
    return values.empty() ? 0 : sum / values.size();
}

// The requests of a full build of both trees, in milliseconds.
double RequestBothTrees()
{
    IShellLinkW *link = NewLink();
    IPersistFile *file = nullptr;
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file));
    std::vector<HICON> icons;
    const Clock::time_point start = Clock::now();
    RequestFolder(MenuFolders.UserStartMenu, link, file, icons);
    RequestFolder(MenuFolders.CommonStartMenu, link, file, icons);
    const double elapsed = Ms(Clock::now() - start);
    // Destroyed outside the time, as a build's icons go with the tree.
    for (HICON icon : icons)
        DestroyIcon(icon);
    file->Release();
    link->Release();
    return elapsed;
}

// The full build, several rounds, with the order file written after each; the requests alone
// follow a build in the first rounds, so that both meet the same load.  Returns the build's
// median.
double BenchBuildAll()
{
    std::vector<double> times, requests;
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
        if (round < kSideRounds)
            requests.push_back(RequestBothTrees());
    }
    const double requestsMs = Mean(requests);
    const double buildMs = Median(times);
    std::sort(times.begin(), times.end());

    std::printf("menu build: %d shortcuts in %d folders, %d items built\n",
                kFolders * kShortcutsPerFolder, kFolders, items);
    std::printf("BuildAll: best %.1f ms, median %.1f ms (%d rounds)\n", times.front(), buildMs,
                kRounds);
    std::printf("per item: %.3f ms\n", buildMs / std::max(items, 1));
    std::printf("shell requests alone, both trees: %.1f ms (mean of %d); build / requests %.2f\n",
                requestsMs, kSideRounds, requestsMs > 0 ? buildMs / requestsMs : 0.0);
    std::printf("order file write: %.1f ms\n", writeMs);
    // A round that gave memory back would wrap around as a difference of sizes.
    const double held = double(bytesAfter) - double(bytesBefore);
    std::printf("memory held by the tree: %.1f KiB private (%.1f bytes per item)\n",
                held / 1024.0, held / std::max(items, 1));
    return buildMs;
}

// A rebuild as the main window makes one after a folder changed, with one shortcut given
// another target before each, against the full build.
void BenchRebuild(double buildMs)
{
    const std::wstring changed =
        std::wstring(MenuFolders.UserStartMenu) + L"Folder 0\\Program 0-0.lnk";
    TMenu *root = new TMenu(nullptr, false);
    BuildAll(root);
    std::vector<double> times;
    for (int round = 0; round < kSideRounds; ++round) {
        MakeShortcut(changed, round % 2 ? L"C:\\windows\\notepad.exe"
                                        : L"C:\\windows\\regedit.exe");
        const Clock::time_point start = Clock::now();
        Rebuild(root);
        times.push_back(Ms(Clock::now() - start));
    }
    delete root;
    const double mean = Mean(times);
    std::printf("rebuild after one changed shortcut (order file written): %.1f ms (mean of %d); "
                "rebuild / full build %.2f\n",
                mean, kSideRounds, buildMs > 0 ? mean / buildMs : 0.0);
}

} // namespace

// With the argument "parts" only the breakdown runs.
int wmain(int argc, wchar_t **argv)
{
    const bool partsOnly = argc > 1 && std::wstring(argv[1]) == L"parts";
    CoInitialize(nullptr);
    LoadSettings();
    RegisterWindowClasses(GetModuleHandleW(nullptr));

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = std::wstring(temp) + L"orvella-build-bench\\";
    RemoveTree(base);
    GenerateStartMenu(base);

    if (!partsOnly) {
        const double buildMs = BenchBuildAll();
        BenchRebuild(buildMs);
    }

    TSamplePaths sample = SamplePaths(base);
    BenchLookUpParts(sample);
    BenchLevels(sample);
    BenchOrderFile();

    RemoveTree(base);
    CoUninitialize();
    return 0;
}
