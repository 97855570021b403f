#include "render/options/color_control.h"

#include <commdlg.h>

#include "common/messages.h"
#include "common/win_guards.h"
#include "render/drawing.h"

TColorControlSeam ColorControlSeam = {ChooseColorW};

namespace {

constexpr int kColorSlot = 0;
constexpr int kCustomColorCount = 16;
// The brush of a disabled box: system colour 0.
constexpr int kDisabledColorIndex = COLOR_SCROLLBAR;

COLORREF ColorOf(HWND control)
{
    return COLORREF(GetWindowLongPtrW(control, kColorSlot));
}

void PaintBox(HWND control, HDC dc, const RECT &area)
{
    TGdiObject own(IsWindowEnabled(control) ? CreateSolidBrush(ColorOf(control)) : nullptr);
    HGDIOBJ brush = own.Get() ? own.Get() : GetSysColorBrush(kDisabledColorIndex);
    TSelection pen(dc, GetStockObject(BLACK_PEN));
    TSelection fill(dc, brush);
    Rectangle(dc, area.left, area.top, area.right, area.bottom);
}

void OnSetColor(HWND control, COLORREF color)
{
    SetWindowLongPtrW(control, kColorSlot, LONG_PTR(color));
    InvalidateRect(control, nullptr, FALSE);
}

void ChooseNewColor(HWND control)
{
    // The custom colours are not kept from one use to the next.
    COLORREF custom[kCustomColorCount] = {};
    CHOOSECOLORW choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = control;
    choose.rgbResult = ColorOf(control);
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ColorControlSeam.ChooseColor(&choose))
        return;
    SendMessageW(control, UM_COLOR_SET, choose.rgbResult, 0);
    SendMessageW(GetParent(control), UM_COLOR_CHOSEN, choose.rgbResult, GetDlgCtrlID(control));
}

void OnRightUp(HWND control)
{
    PostMessageW(GetParent(control), UM_COLOR_RIGHT_CLICK, 0, GetDlgCtrlID(control));
}

} // namespace

LRESULT CALLBACK ColorControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetWindowLongPtrW(window, kColorSlot, 0);
        return 0;
    case WM_ENABLE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_PAINT:
        PaintUpdate(window, PaintBox);
        return 0;
    case WM_PRINTCLIENT:
        PaintClient(window, reinterpret_cast<HDC>(wParam), PaintBox);
        return 0;
    case WM_LBUTTONUP:
        ChooseNewColor(window);
        return 0;
    case WM_RBUTTONUP:
        OnRightUp(window);
        return 0;
    case UM_COLOR_GET:
        return LRESULT(ColorOf(window));
    case UM_COLOR_SET:
        OnSetColor(window, COLORREF(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass ColorControlWindowClass()
{
    return {kColorControlClass, kResizeRedraw, sizeof(LONG_PTR), IDC_HAND, false, nullptr,
            ColorControlWindowProc};
}
