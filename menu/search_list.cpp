#include "menu/search_list.h"

#include "common/messages.h"

LRESULT CALLBACK SearchListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass SearchListWindowClass()
{
    return {kSearchListClass, kResizeRedraw | CS_DBLCLKS, 0, IDC_HAND, false, nullptr, SearchListWindowProc};
}
