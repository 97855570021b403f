// Time from posting 1124 until the root level's first paint has completed, for a 40-item
// level with glowing captions, and the same for opening a sub-level of 40 items.  The goal
// is one 60 Hz frame (16.7 ms).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/window_classes.h"
#include "common/messages.h"
#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "tests/bench/bench_timing.h"

namespace {

constexpr int kItems = 40;
constexpr int kRounds = 15;
constexpr double kFrameMs = 1000.0 / 60;

TMenu *Root = nullptr;
TMenu *Measured = nullptr;  // the level whose first paint ends a measurement
bool Painted = false;
Clock::time_point PaintStart;

LRESULT CALLBACK PaintWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR)
{
    const bool watched = message == WM_PAINT && Measured && window == Measured->Window && !Painted;
    if (watched)
        PaintStart = Clock::now();
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (watched)
        Painted = true;
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

void Fill(TMenu *level, const wchar_t *prefix)
{
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    for (int i = 0; i < kItems; ++i) {
        std::wstring caption = std::wstring(prefix) + L" program " + std::to_wstring(i + 1);
        TMenuItem *item = level->Append((L"C:\\bench\\" + caption + L".lnk").c_str(), i == 0,
                                        false, true);
        lstrcpynW(item->Caption, caption.c_str(), MAX_PATH);
        item->Icon = CopyIcon(icon);
    }
}

struct TOpenTime {
    double total;      // from the request to the end of the first paint
    double paint;      // the first paint alone
};

// Pumps until the measured level has painted once.
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

void Drain()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char *what, const std::vector<TOpenTime> &times)
{
    std::vector<double> total, paint;
    for (const TOpenTime &t : times) {
        total.push_back(t.total);
        paint.push_back(t.paint);
    }
    const double median = Median(total);
    std::printf("%-32s median %7.2f ms (first paint %6.2f ms)  min %7.2f  max %7.2f  frames %5.2f\n",
                what, median, Median(paint), *std::min_element(total.begin(), total.end()),
                *std::max_element(total.begin(), total.end()), median / kFrameMs);
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

    // A taskbar along the bottom of the screen, found before Wine's own hidden one.
    WNDCLASSW trayClass{};
    trayClass.lpfnWndProc = DefWindowProcW;
    trayClass.hInstance = instance;
    trayClass.lpszClassName = kTaskbarClass;
    RegisterClassW(&trayClass);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HWND taskbar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTaskbarClass, L"",
                                   WS_POPUP | WS_VISIBLE, 0, screenHeight - 40, screenWidth, 40,
                                   nullptr, nullptr, instance, nullptr);

    // The main window's class is the bench's own: it only toggles the root level.
    WNDCLASSW mainClass{};
    mainClass.lpfnWndProc = BenchMainProc;
    mainClass.hInstance = instance;
    mainClass.lpszClassName = L"OrvellaBenchMain";
    RegisterClassW(&mainClass);
    HWND main = CreateWindowExW(0, L"OrvellaBenchMain", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, instance, nullptr);

    Root = new TMenu(nullptr, false);
    Fill(Root, L"Root");
    TMenu *sub = Root->ItemAt(0)->Submenu;
    Fill(sub, L"Sub");
    SetWindowSubclass(Root->Window, PaintWatch, 1, 0);
    SetWindowSubclass(sub->Window, PaintWatch, 1, 0);

    std::vector<TOpenTime> openRoot, openSub;
    for (int round = 0; round < kRounds; ++round) {
        Measured = Root;
        Painted = false;
        Clock::time_point start = Clock::now();
        PostMessageW(main, UM_TOGGLE_MENU, 0, 0);
        openRoot.push_back(UntilPainted(start));

        Measured = sub;
        Painted = false;
        start = Clock::now();
        SendMessageW(Root->Window, WM_KEYDOWN, VK_RIGHT, 0);
        openSub.push_back(UntilPainted(start));

        Measured = nullptr;
        HideTree(Root);
        Drain();
    }
    std::printf("menu open, %d items a level, glow on, %d rounds\n", kItems, kRounds);
    Report("post 1124 to root level painted", openRoot);
    Report("Right key to sub-level painted", openSub);

    delete Root;
    DestroyWindow(main);
    DestroyWindow(taskbar);
    return 0;
}
