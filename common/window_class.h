// A window class described as data: each window's own file gives its record, and the
// program registers the records it needs once at start.
#pragma once
#include <windows.h>

#include "resources/resource_ids.h"

struct TWindowClass {
    const wchar_t *Name;
    UINT Style;
    int ExtraBytes;
    const wchar_t *Cursor;  // a system cursor, or null
    bool ProgramIcon;       // the icon resource IDI_PROGRAM of the module
    HBRUSH Background;
    WNDPROC Procedure;
};

inline constexpr UINT kResizeRedraw = CS_HREDRAW | CS_VREDRAW;

inline ATOM RegisterWindowClass(const TWindowClass &c, HINSTANCE instance)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = c.Style;
    wc.lpfnWndProc = c.Procedure;
    wc.cbWndExtra = c.ExtraBytes;
    wc.hInstance = instance;
    wc.hCursor = c.Cursor ? LoadCursorW(nullptr, c.Cursor) : nullptr;
    wc.hIcon = c.ProgramIcon ? LoadIconW(instance, MAKEINTRESOURCEW(IDI_PROGRAM)) : nullptr;
    wc.hbrBackground = c.Background;
    wc.lpszClassName = c.Name;
    return RegisterClassExW(&wc);
}
