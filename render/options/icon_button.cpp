#include "render/options/icon_button.h"

#include "common/messages.h"

LRESULT CALLBACK IconButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass IconButtonWindowClass()
{
    return {kIconButtonClass, kResizeRedraw, 32, IDC_HAND, false, nullptr, IconButtonWindowProc};
}
