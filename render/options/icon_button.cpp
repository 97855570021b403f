#include "render/options/icon_button.h"

#include <windowsx.h>

#include <cwchar>

#include "common/messages.h"
#include "render/drawing.h"
#include "render/options/portable/icon_button_rules.h"
#include "settings/settings.h"

namespace {

constexpr int kRecordSlot = 0;
// The class keeps room for more than the record's pointer, as it always has.
constexpr int kExtraBytes = 32;
// The pictures of a button: images\<id>.jpg hot, <id + 100> pressed, <id + 200> normal.
constexpr int kPressedPictureOffset = 100;
constexpr int kNormalPictureOffset = 200;

struct TIconButton {
    TIconButtonState State;
    HBITMAP Hot;
    HBITMAP Pressed;
    HBITMAP Normal;
};

TIconButton *ButtonOf(HWND window)
{
    return reinterpret_cast<TIconButton *>(GetWindowLongPtrW(window, kRecordSlot));
}

HBITMAP LoadButtonPicture(int number)
{
    wchar_t folder[MAX_PATH];
    GetProgramFolder(folder);
    wchar_t path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%ls\\images\\%i.jpg", folder, number);
    return LoadPicture(path, false);
}

void Repaint(HWND window) { InvalidateRect(window, nullptr, FALSE); }

void ReportClick(HWND window)
{
    PostMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
}

LRESULT OnCreate(HWND window)
{
    const int id = GetDlgCtrlID(window);
    auto *button = new TIconButton{};
    button->State.focus = GetFocus() == window;
    button->Hot = LoadButtonPicture(id);
    button->Pressed = LoadButtonPicture(id + kPressedPictureOffset);
    button->Normal = LoadButtonPicture(id + kNormalPictureOffset);
    SetWindowLongPtrW(window, kRecordSlot, reinterpret_cast<LONG_PTR>(button));
    return 0;
}

void OnDestroy(HWND window, TIconButton *button)
{
    for (HBITMAP picture : {button->Hot, button->Pressed, button->Normal})
        if (picture)
            DeleteObject(picture);
    SetWindowLongPtrW(window, kRecordSlot, 0);
    delete button;
}

void PaintButton(HWND window, const TIconButton *button, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    HBITMAP picture = button->Normal;
    switch (PictureToShow(button->State)) {
    case TIconButtonPicture::Pressed:
        picture = button->Pressed;
        break;
    case TIconButtonPicture::Hot:
        picture = button->Hot;
        break;
    case TIconButtonPicture::Normal:
        break;
    }
    StretchPicture(dc, 0, 0, client.right, client.bottom, picture);
}

void OnPaint(HWND window, const TIconButton *button)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintButton(window, button, dc);
    EndPaint(window, &paint);
}

void OnFocus(HWND window, TIconButton *button, bool focus)
{
    button->State.focus = focus;
    Repaint(window);
}

bool Inside(HWND window, POINT point, bool edgesIncluded)
{
    RECT client;
    GetClientRect(window, &client);
    if (edgesIncluded)
        return point.x >= client.left && point.x <= client.right && point.y >= client.top &&
               point.y <= client.bottom;
    return point.x > client.left && point.x < client.right && point.y > client.top &&
           point.y < client.bottom;
}

POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

void OnMouseMove(HWND window, TIconButton *button, POINT point)
{
    if (!button->State.hover) {
        button->State.hover = true;
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        Repaint(window);
    }
    if (MovePointer(button->State, Inside(window, point, true)))
        Repaint(window);
}

void OnMouseLeave(HWND window, TIconButton *button)
{
    button->State.hover = false;
    Repaint(window);
}

void OnLeftDown(HWND window, TIconButton *button)
{
    SetFocus(window);
    SetCapture(window);
    PressButton(button->State);
    Repaint(window);
}

void OnLeftUp(HWND window, TIconButton *button, POINT point)
{
    const bool click = ReleaseButton(button->State, Inside(window, point, false));
    ReleaseCapture();
    Repaint(window);
    if (click)
        ReportClick(window);
}

TIconButtonKey KeyOf(WPARAM key)
{
    switch (key) {
    case VK_RETURN:
        return TIconButtonKey::Enter;
    case VK_SPACE:
        return TIconButtonKey::Space;
    }
    return TIconButtonKey::Other;
}

void OnKeyDown(HWND window, TIconButton *button, WPARAM key)
{
    if (KeyDown(button->State, KeyOf(key)))
        ReportClick(window);
    else if (button->State.spaceDown)
        Repaint(window);
}

void OnKeyUp(HWND window, TIconButton *button)
{
    if (!KeyUp(button->State))
        return;
    Repaint(window);
    ReportClick(window);
}

} // namespace

LRESULT CALLBACK IconButtonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window);
    TIconButton *button = ButtonOf(window);
    if (!button)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        OnDestroy(window, button);
        return 0;
    case WM_PAINT:
        OnPaint(window, button);
        return 0;
    case WM_PRINTCLIENT:
        PaintButton(window, button, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETFOCUS:
        OnFocus(window, button, true);
        return 0;
    case WM_KILLFOCUS:
        OnFocus(window, button, false);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(window, button, PointOf(lParam));
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave(window, button);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftDown(window, button);
        return 0;
    case WM_LBUTTONUP:
        OnLeftUp(window, button, PointOf(lParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(window, button, wParam);
        return 0;
    case WM_KEYUP:
        OnKeyUp(window, button);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TWindowClass IconButtonWindowClass()
{
    return {kIconButtonClass, kResizeRedraw, kExtraBytes, IDC_HAND, false, nullptr, IconButtonWindowProc};
}
