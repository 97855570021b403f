#include "render/options/icon_control.h"

#include "common/messages.h"

LRESULT CALLBACK IconControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass IconControlWindowClass()
{
    return {kIconControlClass, kResizeRedraw, 8, nullptr, false, GetSysColorBrush(COLOR_BTNFACE), IconControlWindowProc};
}
