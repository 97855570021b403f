// What the process holds before and after many opens, closes and rebuilds: 1,000 open/close
// cycles of the root level and of a sub-level (each painted), and 100 rebuilds of a small
// menu tree after small changes; first the same cycles of a plain window of the root level's size and style,
// which shows what the window system keeps of its own.  Prints the private bytes, GDI objects and USER objects (icons and the thread's
// windows) before and after each, and the change; a steady figure means nothing leaks.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/menu_tree.h"
#include "app/window_classes.h"
#include "menu/menu_build.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "tests/bench/bench_floor.h"
#include "tests/bench/bench_levels.h"
#include "tests/bench/bench_timing.h"
#include "tests/windows/object_count.h"
#include "tests/windows/test_files.h"

namespace {

constexpr int kItems = 40;
constexpr int kCycles = 1000;
constexpr int kRebuilds = 100;
constexpr int kFolders = 3;
constexpr int kShortcutsPerFolder = 10;

int Paints = 0;

void CountFloorPaint(HWND) { ++Paints; }

LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR)
{
    if (message == WM_PAINT)
        ++Paints;
    return DefSubclassProc(window, message, wParam, lParam);
}

struct TSnapshot {
    size_t privateBytes = 0;
    TObjectCount objects;
};

// Wine leaves PrivateUsage at 0 and reports the committed private memory as the page-file
// usage, which Windows gives the same value.
size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters),
                              sizeof(counters)))
        return 0;
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

TSnapshot Take()
{
    DrainMessages();
    TSnapshot snapshot;
    snapshot.privateBytes = PrivateBytes();
    snapshot.objects = CountObjects();
    return snapshot;
}

void PrintSnapshot(const char *what, const TSnapshot &s)
{
    std::printf("  %-8s %12.1f %8d %8d\n", what, double(s.privateBytes) / 1024.0, s.objects.gdi,
                s.objects.user);
}

// `work` once to fill the caches, then `times` times between two snapshots.
template <typename Work>
void Cycles(const char *what, int times, Work work)
{
    work();
    const TSnapshot before = Take();
    Paints = 0;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < times; ++i)
        work();
    const double elapsed = Ms(Clock::now() - start);
    const TSnapshot after = Take();
    std::printf("\n%s: %d times, %.2f ms each, %d paints of a level\n", what, times,
                elapsed / times, Paints);
    std::printf("  %-8s %12s %8s %8s\n", "", "private KiB", "GDI", "USER");
    PrintSnapshot("before", before);
    PrintSnapshot("after", after);
    std::printf("  %-8s %+12.1f %+8d %+8d\n", "change",
                (double(after.privateBytes) - double(before.privateBytes)) / 1024.0,
                after.objects.gdi - before.objects.gdi, after.objects.user - before.objects.user);
}

// A small tree under `base`: folders of a few shortcuts in the user's tree, an empty
// all-users tree, and the order file beside them.
void GenerateStartMenu(const std::wstring &base)
{
    const std::wstring user = base + L"User\\", common = base + L"Common\\";
    CreateDirectoryW(base.c_str(), nullptr);
    CreateDirectoryW(user.c_str(), nullptr);
    CreateDirectoryW(common.c_str(), nullptr);
    const std::wstring model = base + L"model.lnk";
    MakeShortcut(model, L"C:\\windows\\notepad.exe");
    for (int folder = 0; folder < kFolders; ++folder) {
        const std::wstring dir = user + L"Folder " + std::to_wstring(folder) + L"\\";
        CreateDirectoryW(dir.c_str(), nullptr);
        for (int item = 0; item < kShortcutsPerFolder; ++item)
            CopyFileW(model.c_str(), (dir + L"Program " + std::to_wstring(item) + L".lnk").c_str(),
                      FALSE);
    }
    wcscpy(MenuFolders.UserStartMenu, user.c_str());
    wcscpy(MenuFolders.CommonStartMenu, common.c_str());
    wcscpy(MenuFolders.Programs, (user + L"Programs\\").c_str());
    wcscpy(MenuFolders.OrderFile, (base + L"sort.txt").c_str());
}

} // namespace

int wmain()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    CoInitialize(nullptr);
    InitCommonControls();
    LoadSettings();
    Settings.DrawGlow = true;
    Settings.MenuStyle = kMenuStyleFramed;
    Settings.ClassicAppearance = false;
    RegisterWindowClasses(instance);
    HWND taskbar = CreateBenchTaskbar(instance);

    TMenu *root = new TMenu(nullptr, false);
    FillBenchLevel(root, L"Root", kItems);
    TMenu *sub = root->ItemAt(0)->Submenu;
    FillBenchLevel(sub, L"Sub", kItems);
    SetWindowSubclass(root->Window, CountPaints, 1, 0);
    SetWindowSubclass(sub->Window, CountPaints, 1, 0);

    std::printf("menu memory: levels of %d items, glow on; GDI objects by handle index, USER "
                "objects as icons and the thread's windows\n",
                kItems);
    // The floor first, placed where the levels open: what the window system itself keeps.
    ShowLevel(root);
    SendMessageW(root->Window, WM_KEYDOWN, VK_RIGHT, 0);
    PrepareFloor(instance, root->Window, sub->Window);
    BenchFloor.paintEnds = CountFloorPaint;
    HideTree(root);
    Cycles("plain window of the root level's size and style (the floor)", kCycles, [] {
        ShowFloorWindow(BenchFloor.root, BenchFloor.rootPlace, true);
        UpdateWindow(BenchFloor.root);
        HideFloor();
        DrainMessages();
    });
    DestroyFloor();

    Cycles("root level opened, painted and closed", kCycles, [&] {
        ShowLevel(root);
        UpdateWindow(root->Window);
        HideTree(root);
        DrainMessages();
    });
    ShowLevel(root);
    UpdateWindow(root->Window);
    Cycles("sub-level opened by Right, painted and left by Left", kCycles, [&] {
        SendMessageW(root->Window, WM_KEYDOWN, VK_RIGHT, 0);
        UpdateWindow(sub->Window);
        SendMessageW(sub->Window, WM_KEYDOWN, VK_LEFT, 0);
        DrainMessages();
    });
    HideTree(root);
    delete root;

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"orvella-memory-bench\\";
    RemoveTree(base);
    GenerateStartMenu(base);
    TMenu *tree = new TMenu(nullptr, false);
    BuildAll(tree);
    char what[160];
    std::snprintf(what, sizeof(what),
                  "rebuild of a tree of %d shortcuts in %d folders, one shortcut changed and a "
                  "folder added or removed before each",
                  kFolders * kShortcutsPerFolder, kFolders);
    // Each rebuild asks the shell for the changed entries, reuses the other answers and
    // icons, and gives a level window to the new folder or destroys the one left over; the
    // first run (outside the count) adds the folder, the last measured one adds it again.
    const std::wstring changed = std::wstring(MenuFolders.UserStartMenu) + L"Folder 0\\Program 0.lnk";
    const std::wstring extra = std::wstring(MenuFolders.UserStartMenu) + L"Extra\\";
    int rebuilds = 0;
    Cycles(what, kRebuilds, [&] {
        const bool add = rebuilds++ % 2 == 0;
        MakeShortcut(changed, add ? L"C:\\windows\\notepad.exe" : L"C:\\windows\\regedit.exe");
        if (add) {
            CreateDirectoryW(extra.c_str(), nullptr);
            MakeShortcut(extra + L"Tool.lnk", L"C:\\windows\\notepad.exe");
        } else {
            RemoveTree(extra);
        }
        Rebuild(tree);
    });
    delete tree;
    RemoveTree(base);

    DestroyWindow(taskbar);
    CoUninitialize();
    return 0;
}
