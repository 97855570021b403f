#include "render/options/icon_control.h"

#include "common/messages.h"
#include "render/drawing.h"

namespace {

constexpr int kIconSlot = 0;

HICON IconOf(HWND control)
{
    return reinterpret_cast<HICON>(GetWindowLongPtrW(control, kIconSlot));
}

void SetIcon(HWND control, HICON icon)
{
    SetWindowLongPtrW(control, kIconSlot, reinterpret_cast<LONG_PTR>(icon));
}

SIZE LargeIconSize()
{
    static const SIZE size = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    return size;
}

void PaintIcon(HWND control, HDC dc, const RECT &area)
{
    HICON icon = IconOf(control);
    if (!icon)
        return;
    const SIZE size = LargeIconSize();
    const int x = (area.left + area.right - size.cx) / 2;
    const int y = (area.top + area.bottom - size.cy) / 2;
    DrawIconEx(dc, x, y, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void OnSetIcon(HWND control, HICON icon)
{
    SetIcon(control, icon);
    InvalidateRect(control, nullptr, TRUE);
}

// The one icon the control owns goes here; the slot is cleared so that a second close, or
// the dialog's own clean-up of an icon it handed over, cannot destroy it again.
void OnClose(HWND control)
{
    if (HICON icon = IconOf(control))
        DestroyIcon(icon);
    SetIcon(control, nullptr);
}

} // namespace

LRESULT CALLBACK IconControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetIcon(window, nullptr);
        return 0;
    case WM_PAINT:
        PaintUpdate(window, PaintIcon);
        return 0;
    case WM_PRINTCLIENT:
        PaintClient(window, reinterpret_cast<HDC>(wParam), PaintIcon);
        return 0;
    case UM_ICON_SET:
        OnSetIcon(window, reinterpret_cast<HICON>(wParam));
        return 0;
    case WM_CLOSE:
        OnClose(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass IconControlWindowClass()
{
    return {kIconControlClass, kResizeRedraw, sizeof(HICON), nullptr, false,
            GetSysColorBrush(COLOR_BTNFACE), IconControlWindowProc};
}
