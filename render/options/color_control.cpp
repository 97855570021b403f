#include "render/options/color_control.h"

#include "common/messages.h"

LRESULT CALLBACK ColorControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass ColorControlWindowClass()
{
    return {kColorControlClass, kResizeRedraw, 8, IDC_HAND, false, nullptr, ColorControlWindowProc};
}
