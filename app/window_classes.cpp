#include <windows.h>

#include "app/main_window.h"
#include "app/window_classes.h"
#include "common/messages.h"
#include "menu/menu_window.h"
#include "resources/resource_ids.h"

WNDPROC EditExWindowProc = DefWindowProcW;
WNDPROC ListExWindowProc = DefWindowProcW;
WNDPROC IconControlWindowProc = DefWindowProcW;
WNDPROC ColorControlWindowProc = DefWindowProcW;
WNDPROC SampleWindowProc = DefWindowProcW;
WNDPROC IconButtonWindowProc = DefWindowProcW;

namespace {

struct TWindowClass {
    const wchar_t *Name;
    UINT Style;
    int ExtraBytes;
    const wchar_t *Cursor;       // a system cursor, or null
    bool ProgramIcon;
    HBRUSH Background;
    WNDPROC *Procedure;
};

WNDPROC MainProcedure = MainWindowProc;
WNDPROC MenuProcedure = MenuWindowProc;

constexpr UINT kResizeRedraw = CS_HREDRAW | CS_VREDRAW;

}  // namespace

void RegisterWindowClasses(HINSTANCE instance)
{
    const TWindowClass classes[] = {
        {kSearchBoxClass, kResizeRedraw | CS_DBLCLKS, 0, IDC_IBEAM, false, nullptr,
         &EditExWindowProc},
        {kSearchListClass, kResizeRedraw | CS_DBLCLKS, 0, IDC_HAND, false, nullptr,
         &ListExWindowProc},
        {kIconControlClass, kResizeRedraw, 8, nullptr, false, GetSysColorBrush(COLOR_BTNFACE),
         &IconControlWindowProc},
        {kColorControlClass, kResizeRedraw, 8, IDC_HAND, false, nullptr, &ColorControlWindowProc},
        {kSampleClass, kResizeRedraw | CS_DROPSHADOW, 8, nullptr, false,
         static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), &SampleWindowProc},
        {kIconButtonClass, kResizeRedraw, 32, IDC_HAND, false, nullptr, &IconButtonWindowProc},
        {kMenuWindowClass, kResizeRedraw | CS_DROPSHADOW, 8, IDC_ARROW, false, nullptr,
         &MenuProcedure},
        {kMainWindowClass, kResizeRedraw, 0, IDC_ARROW, true, nullptr, &MainProcedure},
    };
    for (const TWindowClass &c : classes) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = c.Style;
        wc.lpfnWndProc = *c.Procedure;
        wc.cbWndExtra = c.ExtraBytes;
        wc.hInstance = instance;
        wc.hCursor = c.Cursor ? LoadCursorW(nullptr, c.Cursor) : nullptr;
        wc.hIcon = c.ProgramIcon ? LoadIconW(instance, MAKEINTRESOURCEW(IDI_PROGRAM)) : nullptr;
        wc.hbrBackground = c.Background;
        wc.lpszClassName = c.Name;
        RegisterClassExW(&wc);
    }
}
