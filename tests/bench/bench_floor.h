// The floor of opening a level: a window of the level's size and style, shown and activated
// the way ShowLevel shows a level, that paints by copying a prepared picture.  What it takes
// is what the window system takes for the window alone.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "common/window_class.h"
#include "common/win_guards.h"

struct TBenchFloor {
    HWND root = nullptr;  // placed like the root level
    HWND sub = nullptr;   // placed like the sub-level; Right in the root one opens it
    RECT rootPlace = {};
    RECT subPlace = {};
    HBITMAP picture = nullptr;
    void (*paintStarts)(HWND) = nullptr;
    void (*paintEnds)(HWND) = nullptr;
};

inline TBenchFloor BenchFloor;

// What ShowLevel asks of the window system, and nothing of the menu's own work.
inline void ShowFloorWindow(HWND window, const RECT &place, bool topLevel)
{
    SetWindowPos(window, HWND_TOP, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE | (topLevel ? SWP_NOZORDER : 0));
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    SetForegroundWindow(window);
}

inline void PaintFloor(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    TMemoryDC memory(CreateCompatibleDC(dc));
    TSelection selected(memory.Get(), BenchFloor.picture);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    EndPaint(window, &paint);
}

inline LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (BenchFloor.paintStarts)
            BenchFloor.paintStarts(window);
        PaintFloor(window);
        if (BenchFloor.paintEnds)
            BenchFloor.paintEnds(window);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_RIGHT && window == BenchFloor.root)
            ShowFloorWindow(BenchFloor.sub, BenchFloor.subPlace, false);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The floor's windows at the levels' places (screen rectangles of their windows), with a
// picture as large as the larger level.
inline void PrepareFloor(HINSTANCE instance, HWND rootLevel, HWND subLevel)
{
    constexpr const wchar_t *kFloorClass = L"OrvellaBenchFloor";
    RegisterWindowClass({kFloorClass, kResizeRedraw | CS_DROPSHADOW, 0, IDC_ARROW, false,
                         nullptr, FloorProc},
                        instance);
    GetWindowRect(rootLevel, &BenchFloor.rootPlace);
    GetWindowRect(subLevel, &BenchFloor.subPlace);
    for (HWND *window : {&BenchFloor.root, &BenchFloor.sub})
        *window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kFloorClass, L"", WS_POPUP,
                                  0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    const RECT &r = BenchFloor.rootPlace, &s = BenchFloor.subPlace;
    const int width = std::max(r.right - r.left, s.right - s.left);
    const int height = std::max(r.bottom - r.top, s.bottom - s.top);
    uint32_t *bits = nullptr;
    BenchFloor.picture = CreateTopDownDib(nullptr, width, height, &bits);
    if (bits)
        std::fill(bits, bits + size_t(width) * height, 0xFF2B4F7Au);
}

inline void HideFloor()
{
    ShowWindow(BenchFloor.sub, SW_HIDE);
    ShowWindow(BenchFloor.root, SW_HIDE);
}

inline void DestroyFloor()
{
    DestroyWindow(BenchFloor.sub);
    DestroyWindow(BenchFloor.root);
    DeleteObject(BenchFloor.picture);
    BenchFloor = {};
}
