#include <windows.h>
#include <shellapi.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "app/app_start.h"
#include "app/app_state.h"
#include "app/hook_loader.h"
#include "app/power_dialogs.h"
#include "app/portable/start_rules.h"
#include "app/window_classes.h"
#include "common/messages.h"
#include "common/registry_flags.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "menu/launch_seam.h"
#include "menu/tmenu.h"
#include "settings/settings.h"

TAppState App;

HBITMAP CreateShieldBitmap()
{
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    SHSTOCKICONINFO stock = {};
    stock.cbSize = sizeof(stock);
    if (FAILED(SHGetStockIconInfo(SIID_SHIELD, SHGSI_ICON | SHGSI_SMALLICON, &stock)))
        stock.hIcon = nullptr;
    // Some shells answer without an icon; user32 has the same shield (shared, not destroyed).
    HICON icon = stock.hIcon ? stock.hIcon
                             : static_cast<HICON>(LoadImageW(nullptr, IDI_SHIELD, IMAGE_ICON,
                                                             width, height, LR_SHARED));
    if (!icon)
        return nullptr;
    HBITMAP bitmap = CreateTopDownDib(nullptr, width, height);
    if (bitmap) {
        TMemoryDC memory(CreateCompatibleDC(nullptr));
        TSelection selected(memory.Get(), bitmap);
        DrawIconEx(memory.Get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    }
    if (stock.hIcon)
        DestroyIcon(stock.hIcon);
    return bitmap;
}

static int ReadScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

static void PrepareProcess(HINSTANCE instance)
{
    OleInitialize(nullptr);
    RegisterWindowClasses(instance);
    LoadSettings();
    MenuState.DraggingFromMenu = false;
    MenuState.DragOver = false;
    App.TaskbarCreatedMessage = RegisterWindowMessageW(kTaskbarCreatedMessage);
    MenuState.ShieldBitmap = CreateShieldBitmap();
    LaunchSeam.LogOffDialog = RunLogOffDialog;
    LaunchSeam.ShutDownDialog = RunShutDownDialog;
    MenuState.ArrowWidth = MeasureArrowWidth();
    SetProcessDPIAware();
    App.ScreenDpi = ReadScreenDpi();
    // A drive without media answers the caller instead of showing a system error box.
    SetErrorMode(SEM_FAILCRITICALERRORS);
}

static int RunMessageLoop()
{
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

void LeaveSession()
{
    // The start button lives in the shell and runs code of the hook library: it must be
    // gone before the hooks that keep the library there are removed.
    WithdrawStartButton();
    RemoveHooks();
    if (MenuState.ShieldBitmap)
        DeleteObject(MenuState.ShieldBitmap);
    MenuState.ShieldBitmap = nullptr;
}

int RunMainProgram(HINSTANCE instance, const wchar_t *commandLine)
{
    if (commandLine && IsAutoStartArgument(U16View(commandLine)) && !ReadAutoStart())
        return 0;
    PrepareProcess(instance);
    // The main window lives until the process ends; everything finds it by its class.
    CreateWindowExW(0, kMainWindowClass, L"", 0, 0, 0, 200, 200, nullptr, nullptr, instance,
                    nullptr);
    const int exitCode = RunMessageLoop();
    LeaveSession();
    return exitCode;
}
