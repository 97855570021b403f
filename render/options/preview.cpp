#include "render/options/preview.h"

#include "common/messages.h"

LRESULT CALLBACK SampleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass SampleWindowClass()
{
    return {kSampleClass, kResizeRedraw | CS_DROPSHADOW, 8, nullptr, false,
            static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), SampleWindowProc};
}
