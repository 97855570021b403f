// Time from posting 1124 until the root level's first paint has completed, for a 40-item
// level with glowing captions, and the same for opening a sub-level of 40 items.  The goal
// is one 60 Hz frame (16.7 ms).  Beside each figure, in the same rounds, the floor: a window
// of the level's size and style, shown and activated the way a level is, that paints by
// copying a prepared picture; the ratio says how far an open is above what the platform
// takes for the window alone.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/window_classes.h"
#include "common/messages.h"
#include "common/window_class.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "tests/bench/bench_floor.h"
#include "tests/bench/bench_levels.h"
#include "tests/bench/bench_timing.h"

namespace {

constexpr int kItems = 40;
constexpr int kRounds = 15;
constexpr double kFrameMs = 1000.0 / 60;
constexpr const wchar_t *kFloorMainClass = L"OrvellaBenchFloorMain";

TMenu *Root = nullptr;
HWND Measured = nullptr;  // the window whose first paint ends a measurement
bool Painted = false;
Clock::time_point PaintStart;

void NotePaintStart(HWND window)
{
    if (window == Measured && !Painted)
        PaintStart = Clock::now();
}

void NotePaintEnd(HWND window)
{
    if (window == Measured)
        Painted = true;
}

LRESULT CALLBACK PaintWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR)
{
    if (message == WM_PAINT)
        NotePaintStart(window);
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_PAINT)
        NotePaintEnd(window);
    return result;
}

// The toggle of the main window, without its foreground juggling and ready timer.
LRESULT CALLBACK BenchMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == UM_TOGGLE_MENU) {
        ShowLevel(Root);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FloorMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == UM_TOGGLE_MENU) {
        ShowFloorWindow(BenchFloor.root, BenchFloor.rootPlace, true);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

struct TOpenTime {
    double total;      // from the request to the end of the first paint
    double paint;      // the first paint alone
};

// Pumps until the measured window has painted once.
TOpenTime UntilPainted(Clock::time_point start)
{
    MSG msg;
    while (!Painted && GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    const Clock::time_point end = Clock::now();
    return {Ms(end - start), Ms(end - PaintStart)};
}

TOpenTime Measure(HWND painted, void (*request)(HWND), HWND target)
{
    Measured = painted;
    Painted = false;
    const Clock::time_point start = Clock::now();
    request(target);
    return UntilPainted(start);
}

void PostToggle(HWND main) { PostMessageW(main, UM_TOGGLE_MENU, 0, 0); }
void SendRightKey(HWND level) { SendMessageW(level, WM_KEYDOWN, VK_RIGHT, 0); }

void Report(const char *what, const std::vector<TOpenTime> &times,
            const std::vector<TOpenTime> &floor)
{
    std::vector<double> total, paint, floorTotal;
    for (const TOpenTime &t : times) {
        total.push_back(t.total);
        paint.push_back(t.paint);
    }
    for (const TOpenTime &t : floor)
        floorTotal.push_back(t.total);
    const double median = Median(total), floorMedian = Median(floorTotal);
    std::printf("%-32s median %7.2f ms (first paint %6.2f ms)  min %7.2f  max %7.2f  frames %5.2f\n",
                what, median, Median(paint), *std::min_element(total.begin(), total.end()),
                *std::max_element(total.begin(), total.end()), median / kFrameMs);
    std::printf("%-32s median %7.2f ms  min %7.2f  max %7.2f  open / floor %5.2f\n", "  floor",
                floorMedian, *std::min_element(floorTotal.begin(), floorTotal.end()),
                *std::max_element(floorTotal.begin(), floorTotal.end()),
                floorMedian > 0 ? median / floorMedian : 0.0);
}

} // namespace

int wmain()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    InitCommonControls();
    LoadSettings();
    Settings.DrawGlow = true;
    Settings.MenuStyle = kMenuStyleFramed;
    Settings.ClassicAppearance = false;
    RegisterWindowClasses(instance);
    HWND taskbar = CreateBenchTaskbar(instance);

    // The main window's class is the bench's own: it only toggles the root level.
    RegisterWindowClass({L"OrvellaBenchMain", 0, 0, nullptr, false, nullptr, BenchMainProc},
                        instance);
    RegisterWindowClass({kFloorMainClass, 0, 0, nullptr, false, nullptr, FloorMainProc},
                        instance);
    HWND main = CreateWindowExW(0, L"OrvellaBenchMain", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);
    HWND floorMain = CreateWindowExW(0, kFloorMainClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                     nullptr, instance, nullptr);

    Root = new TMenu(nullptr, false);
    FillBenchLevel(Root, L"Root", kItems);
    TMenu *sub = Root->ItemAt(0)->Submenu;
    FillBenchLevel(sub, L"Sub", kItems);
    SetWindowSubclass(Root->Window, PaintWatch, 1, 0);
    SetWindowSubclass(sub->Window, PaintWatch, 1, 0);

    // The levels are placed once, opened and closed, so that the floor opens at their place.
    Measure(Root->Window, PostToggle, main);
    Measure(sub->Window, SendRightKey, Root->Window);
    BenchFloor.paintStarts = NotePaintStart;
    BenchFloor.paintEnds = NotePaintEnd;
    PrepareFloor(instance, Root->Window, sub->Window);
    HideTree(Root);
    DrainMessages();

    std::vector<TOpenTime> openRoot, openSub, floorRoot, floorSub;
    for (int round = 0; round < kRounds; ++round) {
        openRoot.push_back(Measure(Root->Window, PostToggle, main));
        openSub.push_back(Measure(sub->Window, SendRightKey, Root->Window));
        Measured = nullptr;
        HideTree(Root);
        DrainMessages();

        floorRoot.push_back(Measure(BenchFloor.root, PostToggle, floorMain));
        floorSub.push_back(Measure(BenchFloor.sub, SendRightKey, BenchFloor.root));
        Measured = nullptr;
        HideFloor();
        DrainMessages();
    }
    std::printf("menu open, %d items a level, glow on, %d rounds; floor: a window of the "
                "level's size and style copying a prepared picture\n"
                "root level %ld x %ld, sub-level %ld x %ld\n",
                kItems, kRounds, BenchFloor.rootPlace.right - BenchFloor.rootPlace.left,
                BenchFloor.rootPlace.bottom - BenchFloor.rootPlace.top,
                BenchFloor.subPlace.right - BenchFloor.subPlace.left,
                BenchFloor.subPlace.bottom - BenchFloor.subPlace.top);
    Report("post 1124 to root level painted", openRoot, floorRoot);
    Report("Right key to sub-level painted", openSub, floorSub);

    delete Root;
    DestroyFloor();
    DestroyWindow(floorMain);
    DestroyWindow(main);
    DestroyWindow(taskbar);
    return 0;
}
