// The search box as it is typed in.  First the filter alone: the index of 10,000 entries is
// built once (its lower-case keys with it), then each keystroke of a typed word refilters
// it.  Then the whole keystroke on the real windows with 2,000 menu items: a character
// reaches the box, the list refilters, and its rows are painted.  Prints the time per
// keystroke and its share of a 60 Hz frame; nothing is judged.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/messages.h"
#include "common/win_text.h"
#include "menu/menu_item.h"
#include "menu/menu_window.h"
#include "menu/portable/search_filter.h"
#include "menu/search_box.h"
#include "menu/search_list.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "tests/bench/bench_timing.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60;
constexpr int kIndexEntries = 10000;
constexpr int kMenuItems = 2000;
const wchar_t *kWords[] = {L"Media", L"Player", L"Tools", L"Office", L"Setup", L"Help",
                           L"Control", L"Manager", L"Notes", L"Paint", L"Studio", L"Viewer"};
const std::u16string kTyped = u"media pl";

std::wstring CaptionFor(int i)
{
    return std::wstring(kWords[i % 12]) + L" " + kWords[(i / 12) % 12] + L" " + std::to_wstring(i);
}

TMenu *Root = nullptr;

LRESULT CALLBACK BenchMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == UM_FILL_SEARCH_INDEX) {
        FillSearchIndex(Root, reinterpret_cast<TSearchIndex *>(wParam));
        return 0;
    }
    if (message == UM_GET_ROOT_GEOMETRY) {
        RECT r;
        GetWindowRect(Root->Window, &r);
        *reinterpret_cast<int *>(wParam) = 600;
        return LRESULT(DWORD(LOWORD(r.right)) | (DWORD(LOWORD(r.top)) << 16));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void FilterAlone()
{
    TSearchIndex index;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kIndexEntries; ++i) {
        const std::wstring caption = CaptionFor(i);
        AppendSearchEntry(index, u"C:\\Start Menu\\x.lnk", U16View(caption.c_str()), nullptr);
    }
    const double build = Ms(Clock::now() - start);
    std::vector<int> results;
    double worst = 0, sum = 0;
    for (size_t n = 1; n <= kTyped.size(); ++n) {
        const std::u16string typed = kTyped.substr(0, n);
        const double ms = MillisecondsPerCall([&] { FilterSearchIndex(index, SearchFolded(typed), results); });
        worst = std::max(worst, ms);
        sum += ms;
    }
    std::printf("filter, %d entries: index built in %.2f ms; per keystroke mean %.3f ms, worst %.3f ms"
                " (%.1f%% of a frame)\n",
                kIndexEntries, build, sum / double(kTyped.size()), worst, 100 * worst / kFrameMs);
}

void Drain()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void WholeKeystroke(HINSTANCE instance)
{
    WNDCLASSW mainClass{};
    mainClass.lpfnWndProc = BenchMainProc;
    mainClass.hInstance = instance;
    mainClass.lpszClassName = kMainWindowClass;
    RegisterClassW(&mainClass);
    HWND main = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
    Root = new TMenu(nullptr, false);
    TMenuItem *folder = Root->Append(L"C:\\Start Menu\\Programs", true, false, true);
    lstrcpyW(folder->Caption, L"Programs");
    for (int i = 0; i < kMenuItems; ++i) {
        TMenuItem *item = folder->Submenu->Append(L"C:\\Start Menu\\x.lnk", false, false, true);
        lstrcpynW(item->Caption, CaptionFor(i).c_str(), MAX_PATH);
    }
    CreateSearchBox(Root);
    HWND box = MenuState.SearchEdit;
    SetWindowPos(Root->Window, nullptr, 0, 100, 300, 600, SWP_NOZORDER | SWP_SHOWWINDOW);
    MoveWindow(box, 10, 560, 260, 28, TRUE);
    SetForegroundWindow(Root->Window);
    SetFocus(box);
    Drain();
    HWND list = SearchBoxList(box);
    HWND listBox = HWND(SendMessageW(list, UM_SEARCH_LIST_BOX, 0, 0));

    std::vector<double> times, refilters;
    for (int round = 0; round < 5; ++round) {
        for (char16_t c : kTyped) {
            const Clock::time_point start = Clock::now();
            SendMessageW(box, WM_CHAR, c, 0);
            const Clock::time_point typed = Clock::now();
            UpdateWindow(box);
            UpdateWindow(list);
            UpdateWindow(listBox);
            GdiFlush();
            times.push_back(Ms(Clock::now() - start));
            refilters.push_back(Ms(typed - start));
        }
        SendMessageW(box, WM_COMMAND, CMD_SEARCH_CLEAR, 0);
        Drain();
    }
    std::sort(times.begin(), times.end());
    std::sort(refilters.begin(), refilters.end());
    const double median = times[times.size() / 2], worst = times.back();
    std::printf("keystroke to painted list, %d items: median %.2f ms, worst %.2f ms (%.2f frames);"
                " of it the character and the refilter: median %.2f ms\n",
                kMenuItems, median, worst, worst / kFrameMs, refilters[refilters.size() / 2]);
    delete Root;
    DestroyWindow(main);
}

} // namespace

int wmain()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    InitCommonControls();
    LoadSettings();
    // The program's classes but the main window, which the bench stands in for.
    for (const TWindowClass &c : {MenuWindowClass(), SearchBoxWindowClass(), SearchListWindowClass()})
        RegisterWindowClass(c, instance);
    FilterAlone();
    WholeKeystroke(instance);
    return 0;
}
