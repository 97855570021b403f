#include "app/power_dialogs.h"

#include <powrprof.h>
#include <shldisp.h>
#include <shlobj.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cwchar>

#include "app/app_state.h"
#include "app/portable/power_geometry.h"
#include "app/portable/screen_shade.h"
#include "common/messages.h"
#include "common/win_guards.h"
#include "menu/tmenu.h"
#include "render/drawing.h"
#include "resources/tvra_resources.h"
#include "settings/settings.h"

TPowerSeam PowerSeam = {
    EnableShutdownPrivilege, ExitWindowsEx, SetSuspendState, WTSDisconnectSession,
    ShowShellShutDownDialog,
};

namespace {

constexpr int kShellComboId = 2001;
constexpr int kShellLogOffEntry = 1;
constexpr int kShellShutDownEntry = 5;
// The shell shows its dialog a moment after the call returns: up to 10 s.
constexpr int kPreselectAttempts = 200;
constexpr DWORD kPreselectIntervalMs = 50;

constexpr UINT kBackgroundFadeMs = 100;
constexpr int kBackgroundFadeStep = 32;
constexpr UINT kEffectFadeMs = 10;
constexpr int kEffectFadeStep = 2;
constexpr UINT kEffectFadeOutMs = 1;
constexpr int kEffectFadeOutStep = 16;
constexpr int kOpaque = 255;
constexpr int kEffectTextPoints = 32;
constexpr int kPointsPerInch = 72;
constexpr COLORREF kDialogTextColour = RGB(255, 255, 255);
constexpr int kTwinOffset = -10;  // the keyboard twins sit outside the client area
constexpr int kTwinSize = 5;

// The effect dialogs' texts, kept scrambled (each unit XOR kTextKey).
constexpr wchar_t kTextKey = 0x2A;
constexpr wchar_t kEffectText1[] = {0x7D, 0x4F, 0x46, 0x46, 0x0A, 0x4E, 0x45, 0x44, 0x4F, 0x0B};
constexpr wchar_t kEffectText2[] = {0x65, 0x58, 0x5C, 0x4F, 0x46, 0x46, 0x4B, 0x10,
                                    0x0A, 0x47, 0x4B, 0x4E, 0x4F, 0x0A, 0x5D, 0x43,
                                    0x5E, 0x42, 0x0A, 0x49, 0x4B, 0x58, 0x4F, 0x04};
constexpr int kEffectTextMax = 32;

// A request while a dialog is up (a second WM_CLOSE, the taskbar's shut-down request) would
// stack a dialog on the first one.
bool PowerDialogRunning = false;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// ---- The full-screen layer: the grey background and the two effect dialogs ----

enum class TLayerKind { GreyBackground, Effect1, Effect2 };

struct TLayer {
    TLayerKind kind;
    HBITMAP picture;   // the shaded copy of the screen
    int alpha;
    bool textVisible;
    bool ending;
    HFONT font;
};

TLayer *LayerOf(HWND dialog)
{
    return reinterpret_cast<TLayer *>(GetWindowLongPtrW(dialog, DWLP_USER));
}

HBITMAP ShadedScreenCopy(void (*shade)(uint32_t *, size_t), SIZE &size)
{
    TScreenDC screen;
    size = {GetDeviceCaps(screen.Get(), HORZRES), GetDeviceCaps(screen.Get(), VERTRES)};
    uint32_t *bits = nullptr;
    HBITMAP copy = CreateTopDownDib(screen.Get(), size.cx, size.cy, &bits);
    if (!copy)
        return nullptr;
    {
        TMemoryDC memory(CreateCompatibleDC(screen.Get()));
        TSelection selected(memory.Get(), copy);
        BitBlt(memory.Get(), 0, 0, size.cx, size.cy, screen.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    shade(bits, size_t(size.cx) * size_t(size.cy));
    return copy;
}

void SetLayerAlpha(HWND dialog, int alpha)
{
    SetLayeredWindowAttributes(dialog, 0, BYTE(std::clamp(alpha, 0, kOpaque)), LWA_ALPHA);
}

HFONT CreateEffectFont(HWND dialog)
{
    HDC dc = GetDC(dialog);
    const int height = -MulDiv(kEffectTextPoints, GetDeviceCaps(dc, LOGPIXELSY), kPointsPerInch);
    ReleaseDC(dialog, dc);
    return CreateFontW(height, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
}

INT_PTR OnLayerInit(HWND dialog, TLayerKind kind)
{
    auto *layer = new TLayer{kind, nullptr, 0, false, false, nullptr};
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(layer));
    SIZE size{};
    layer->picture = ShadedScreenCopy(kind == TLayerKind::GreyBackground ? GreyPixels
                                                                         : BlackenPixels,
                                      size);
    if (kind != TLayerKind::GreyBackground)
        layer->font = CreateEffectFont(dialog);
    SetWindowLongW(dialog, GWL_EXSTYLE, GetWindowLongW(dialog, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayerAlpha(dialog, 0);
    if (HWND ok = GetDlgItem(dialog, IDOK))
        DestroyWindow(ok);
    // Over the screen it copied, the taskbar included; the dialog that follows is top-most
    // too and so comes in front of it.
    const bool background = kind == TLayerKind::GreyBackground;
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, size.cx, size.cy,
                 SWP_SHOWWINDOW | (background ? SWP_NOACTIVATE : 0));
    SetTimer(dialog, TIMER_POWER_FADE_IN, background ? kBackgroundFadeMs : kEffectFadeMs,
             nullptr);
    if (!background) {
        SetForegroundWindow(dialog);
        SetActiveWindow(dialog);
        SetFocus(dialog);
    }
    return FALSE;  // the focus is set
}

void ReleaseLayer(HWND dialog, TLayer *layer)
{
    if (layer->picture)
        DeleteObject(layer->picture);
    layer->picture = nullptr;
    if (layer->font)
        DeleteObject(layer->font);
    layer->font = nullptr;
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    delete layer;
}

// A modeless layer ends by going: a hidden one would stay until the program ends.
void EndLayer(HWND dialog, TLayer *layer)
{
    layer->ending = true;
    KillTimer(dialog, TIMER_POWER_FADE_IN);
    KillTimer(dialog, TIMER_POWER_FADE_OUT);
    DestroyWindow(dialog);
}

void OnLayerTimer(HWND dialog, TLayer *layer, UINT_PTR timer)
{
    if (timer == TIMER_POWER_FADE_IN) {
        const int step = layer->kind == TLayerKind::GreyBackground ? kBackgroundFadeStep
                                                                    : kEffectFadeStep;
        layer->alpha += step;
        if (layer->alpha > kOpaque) {
            layer->alpha = kOpaque;
            KillTimer(dialog, TIMER_POWER_FADE_IN);
            if (layer->kind != TLayerKind::GreyBackground) {
                layer->textVisible = true;
                InvalidateRect(dialog, nullptr, FALSE);
            }
        }
        SetLayerAlpha(dialog, layer->alpha);
    } else if (timer == TIMER_POWER_FADE_OUT) {
        layer->alpha -= kEffectFadeOutStep;
        if (layer->alpha < 0)
            EndLayer(dialog, layer);
        else
            SetLayerAlpha(dialog, layer->alpha);
    }
}

void PaintEffectText(HWND dialog, const TLayer *layer, HDC dc)
{
    const bool first = layer->kind == TLayerKind::Effect1;
    const wchar_t *scrambled = first ? kEffectText1 : kEffectText2;
    const int length = first ? int(std::size(kEffectText1)) : int(std::size(kEffectText2));
    wchar_t text[kEffectTextMax];
    for (int i = 0; i < length; ++i)
        text[i] = wchar_t(scrambled[i] ^ kTextKey);
    RECT client;
    GetClientRect(dialog, &client);
    TSelection font(dc, layer->font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kDialogTextColour);
    DrawTextW(dc, text, length, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void OnLayerPaint(HWND dialog, const TLayer *layer)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    DrawPicture(dc, layer->picture);
    if (layer->textVisible)
        PaintEffectText(dialog, layer, dc);
    EndPaint(dialog, &paint);
}

bool EndsEffect(UINT message)
{
    switch (message) {
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_COMMAND:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEWHEEL:
        return true;
    }
    return false;
}

// The input that dismisses an effect once its text shows; before that it is ignored.
void OnEffectInput(HWND dialog, TLayer *layer)
{
    if (!layer->textVisible || layer->ending)
        return;
    if (layer->kind == TLayerKind::Effect1) {
        layer->ending = true;
        layer->alpha = kOpaque + 1;
        SetTimer(dialog, TIMER_POWER_FADE_OUT, kEffectFadeOutMs, nullptr);
    } else {
        EndLayer(dialog, layer);
    }
}

INT_PTR CALLBACK LayerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnLayerInit(dialog, static_cast<TLayerKind>(lParam));
    TLayer *layer = LayerOf(dialog);
    if (!layer)
        return FALSE;
    if (layer->kind != TLayerKind::GreyBackground && EndsEffect(message)) {
        OnEffectInput(dialog, layer);
        return message == WM_ACTIVATE || message == WM_KILLFOCUS ? FALSE : TRUE;
    }
    switch (message) {
    case WM_TIMER:
        OnLayerTimer(dialog, layer, wParam);
        return TRUE;
    case WM_ERASEBKGND:
        return TRUE;  // the picture covers everything
    case WM_PAINT:
        OnLayerPaint(dialog, layer);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    case WM_DESTROY:
        ReleaseLayer(dialog, layer);
        return TRUE;
    }
    return FALSE;
}

// ---- The log-off and shut-down dialog ----

struct TChoiceDialog {
    TPowerDialog kind;
    bool closing;
    HBITMAP background;
    HFONT labelFont;
    HFONT titleFont;
};

TChoiceDialog *ChoiceDialogOf(HWND dialog)
{
    return reinterpret_cast<TChoiceDialog *>(GetWindowLongPtrW(dialog, DWLP_USER));
}

TPowerRect PowerRectOf(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

HBITMAP LoadDialogBackground(TPowerDialog kind)
{
    wchar_t folder[MAX_PATH];
    GetProgramFolder(folder);
    wchar_t path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%ls\\images\\%ls", folder,
             kind == TPowerDialog::LogOff ? L"logoffback.jpg" : L"shutdownback.jpg");
    return LoadPicture(path, false);
}

void PlaceOnNearestMonitor(HWND dialog)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const TPowerRect place = PlacePowerDialog(PowerRectOf(monitor.rcMonitor), App.ScreenDpi);
    // Top-most, as the grey background behind it is.
    SetWindowPos(dialog, HWND_TOPMOST, place.left, place.top, place.Width(), place.Height(),
                 SWP_NOACTIVATE);
}

HWND CreateChild(HWND dialog, const wchar_t *className, const wchar_t *text, DWORD style, int id,
                 const TPowerRect &r, HFONT font)
{
    HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                 r.Width(), r.Height(), dialog,
                                 reinterpret_cast<HMENU>(INT_PTR(id)), Instance(), nullptr);
    if (child && font)
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

void CreateFonts(TChoiceDialog *state, int titleHeight)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    state->labelFont = CreateFontIndirectW(&metrics.lfMessageFont);
    LOGFONTW title = metrics.lfMessageFont;
    title.lfHeight = titleHeight;
    title.lfWidth = 0;
    title.lfWeight = FW_BOLD;
    title.lfItalic = TRUE;
    state->titleFont = CreateFontIndirectW(&title);
}

void CreateChoiceControls(HWND dialog, TChoiceDialog *state)
{
    RECT client;
    GetClientRect(dialog, &client);
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    RECT cancelRect{};
    GetWindowRect(cancel, &cancelRect);
    HDC dc = GetDC(dialog);
    const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(dialog, dc);
    const TPowerLayout layout =
        LayoutPowerDialog(state->kind, PowerRectOf(client), cancelRect.right - cancelRect.left,
                          cancelRect.bottom - cancelRect.top, pixelsPerInch);
    CreateFonts(state, layout.titleFontHeight);

    CreateChild(dialog, L"Static", Settings.Local[PowerDialogTitle(state->kind)], SS_LEFT,
                IDC_POWER_TITLE, layout.title, state->titleFont);
    const auto choices = PowerChoices(state->kind);
    for (size_t i = 0; i < choices.size(); ++i) {
        const TPowerChoice &choice = choices[i];
        const wchar_t *label = Settings.Local[choice.label];
        CreateChild(dialog, kIconButtonClass, L"", WS_TABSTOP, choice.command, layout.buttons[i],
                    nullptr);
        // Off the client area: it only carries the label's mnemonic to the choice.
        CreateChild(dialog, L"Button", label, BS_PUSHBUTTON, choice.command,
                    {kTwinOffset, kTwinOffset, kTwinOffset + kTwinSize, kTwinOffset + kTwinSize},
                    state->labelFont);
        CreateChild(dialog, L"Static", label, SS_CENTER, choice.command + IDC_POWER_LABEL_OFFSET,
                    layout.labels[i], state->labelFont);
    }
    SetWindowPos(cancel, nullptr, layout.cancel.left, layout.cancel.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR OnChoiceInit(HWND dialog, TChoiceDialog *state)
{
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    state->closing = false;
    for (const TPowerChoice &choice : PowerChoices(state->kind))
        RegisterHotKey(dialog, choice.digit, 0, '0' + choice.digit);
    SetWindowTextW(dialog, Settings.Local[PowerDialogTitle(state->kind)]);
    if (Settings.Local[LocalDlg_Cancel][0])
        SetDlgItemTextW(dialog, IDCANCEL, Settings.Local[LocalDlg_Cancel]);
    state->background = LoadDialogBackground(state->kind);
    PlaceOnNearestMonitor(dialog);
    CreateChoiceControls(dialog, state);
    return TRUE;
}

void PaintChoiceBackground(HWND dialog, const TChoiceDialog *state, HDC dc)
{
    RECT client;
    GetClientRect(dialog, &client);
    StretchPicture(dc, 0, 0, client.right, client.bottom, state->background);
}

void OnChoicePaint(HWND dialog, TChoiceDialog *state)
{
    state->closing = false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    PaintChoiceBackground(dialog, state, dc);
    EndPaint(dialog, &paint);
}

INT_PTR OnChoiceColour(const TChoiceDialog *state, HDC dc, HWND control)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kDialogTextColour);
    SelectObject(dc, GetDlgCtrlID(control) == IDC_POWER_TITLE ? state->titleFont
                                                              : state->labelFont);
    return reinterpret_cast<INT_PTR>(GetStockObject(HOLLOW_BRUSH));
}

// Leaving the dialog any other way than by a command (a click elsewhere) cancels it.  The
// command's own end hides the dialog and so deactivates it too: then the closing flag is set
// and the command's result stays.
void OnChoiceDeactivated(HWND dialog, const TChoiceDialog *state)
{
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    if (!state->closing)
        EndDialog(dialog, IDCANCEL);
}

// Every way out passes here, so no digit stays captured system-wide.
void OnChoiceDestroy(HWND dialog, TChoiceDialog *state)
{
    for (const TPowerChoice &choice : PowerChoices(state->kind))
        UnregisterHotKey(dialog, choice.digit);
    for (HGDIOBJ object : {HGDIOBJ(state->background), HGDIOBJ(state->labelFont),
                           HGDIOBJ(state->titleFont)})
        if (object)
            DeleteObject(object);
    state->background = nullptr;
    state->labelFont = state->titleFont = nullptr;
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

INT_PTR CALLBACK ChoiceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnChoiceInit(dialog, reinterpret_cast<TChoiceDialog *>(lParam));
    TChoiceDialog *state = ChoiceDialogOf(dialog);
    if (!state)
        return FALSE;
    switch (message) {
    case WM_ERASEBKGND:
        return state->background != nullptr;
    case WM_PAINT:
        OnChoicePaint(dialog, state);
        return TRUE;
    case WM_PRINTCLIENT:  // themed buttons ask for the background behind their corners
        PaintChoiceBackground(dialog, state, reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return OnChoiceColour(state, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_HOTKEY:
        PostMessageW(dialog, WM_COMMAND, PowerCommandOfHotKey(int(wParam)), 0);
        return TRUE;
    case WM_COMMAND:
        state->closing = true;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            OnChoiceDeactivated(dialog, state);
        return FALSE;
    case WM_DESTROY:
        OnChoiceDestroy(dialog, state);
        return TRUE;
    }
    return FALSE;
}

UINT ExitFlags(TPowerAction action)
{
    switch (action) {
    case TPowerAction::ShutDown:
        return EWX_SHUTDOWN | EWX_FORCE;
    case TPowerAction::Restart:
        return EWX_REBOOT | EWX_FORCE;
    default:
        return EWX_LOGOFF | EWX_FORCE;
    }
}

void CarryOut(const TPowerChoice &choice)
{
    if (choice.action != TPowerAction::SwitchUser)
        PowerSeam.EnableShutdownPrivilege();
    switch (choice.action) {
    case TPowerAction::Hibernate:
        PowerSeam.SetSuspendState(TRUE, FALSE, FALSE);
        break;
    case TPowerAction::Sleep:
        PowerSeam.SetSuspendState(FALSE, FALSE, FALSE);
        break;
    case TPowerAction::SwitchUser:
        PowerSeam.DisconnectSession(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, FALSE);
        break;
    case TPowerAction::ShutDown:
    case TPowerAction::Restart:
    case TPowerAction::LogOff:
        PowerSeam.EndSession(ExitFlags(choice.action), kPowerShutdownReason);
        break;
    }
}

void RunClassicDialog(HWND owner, TPowerDialog kind)
{
    HWND background = CreateDialogParamW(Instance(), MAKEINTRESOURCEW(IDD_POWER_BACKGROUND), owner,
                                         LayerDialogProc, LPARAM(TLayerKind::GreyBackground));
    TChoiceDialog state{kind, false, nullptr, nullptr, nullptr};
    const INT_PTR result = DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_POWER_CHOICES), owner,
                                           ChoiceDialogProc, reinterpret_cast<LPARAM>(&state));
    if (background)
        DestroyWindow(background);
    if (const TPowerChoice *choice = PowerChoiceOfCommand(kind, int(result)))
        CarryOut(*choice);
}

void RunShellDialog(TPowerDialog kind)
{
    // Nothing was shown: there is nothing to preselect, and no reason to wait for it.
    if (FAILED(PowerSeam.ShowShellShutDownDialog()))
        return;
    PreselectShellDialog(kind == TPowerDialog::LogOff ? kShellLogOffEntry : kShellShutDownEntry,
                         kPreselectAttempts, kPreselectIntervalMs);
}

void RunPowerRequest(TPowerDialog kind)
{
    if (PowerDialogRunning)
        return;
    PowerDialogRunning = true;
    // Toggles wait, and the rebuild timers leave the levels alone, until the dialog is over.
    const bool dialogWasOpen = MenuState.DialogOpen;
    MenuState.DialogOpen = true;
    HWND mainWindow = FindWindowW(kMainWindowClass, nullptr);
    SendMessageW(mainWindow, UM_CLOSE_ALL, 0, 0);
    EnableStartButton(false);
    if (Settings.ClassicExit)
        RunClassicDialog(mainWindow, kind);
    else
        RunShellDialog(kind);
    EnableStartButton(true);
    MenuState.DialogOpen = dialogWasOpen;
    PowerDialogRunning = false;
}

bool IsComboBox(HWND window)
{
    wchar_t name[16] = {};
    return window && GetClassNameW(window, name, int(std::size(name))) &&
           lstrcmpiW(name, L"ComboBox") == 0;
}

// The shell's dialog, when one of its "#32770" windows has the combo box.
HWND FindShellDialog(DWORD shellProcess)
{
    for (HWND dialog = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); dialog;
         dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(dialog, &owner);
        if (owner == shellProcess && IsComboBox(GetDlgItem(dialog, kShellComboId)))
            return dialog;
    }
    return nullptr;
}

} // namespace

void EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TKernelHandle owned(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
}

HRESULT ShowShellShutDownDialog()
{
    const HRESULT init = CoInitialize(nullptr);
    IShellDispatch *shell = nullptr;
    HRESULT result = CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER,
                                      __uuidof(IShellDispatch), reinterpret_cast<void **>(&shell));
    if (SUCCEEDED(result)) {
        result = shell->ShutdownWindows();
        shell->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return result;
}

bool PreselectShellDialog(int entry, int attempts, DWORD intervalMs)
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0)
            Sleep(intervalMs);
        DWORD shellProcess = 0;
        HWND taskbar = FindWindowW(kTaskbarClass, nullptr);
        if (!taskbar || !GetWindowThreadProcessId(taskbar, &shellProcess))
            continue;
        HWND dialog = FindShellDialog(shellProcess);
        if (!dialog)
            continue;
        HWND combo = GetDlgItem(dialog, kShellComboId);
        SendMessageW(combo, CB_SETCURSEL, WPARAM(entry), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kShellComboId, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
        return true;
    }
    return false;
}

void RunLogOffDialog() { RunPowerRequest(TPowerDialog::LogOff); }
void RunShutDownDialog() { RunPowerRequest(TPowerDialog::ShutDown); }

HWND OpenEffectDialog(HWND owner, int which)
{
    const TLayerKind kind = which == 2 ? TLayerKind::Effect2 : TLayerKind::Effect1;
    return CreateDialogParamW(Instance(), MAKEINTRESOURCEW(IDD_POWER_BACKGROUND), owner,
                              LayerDialogProc, LPARAM(kind));
}
