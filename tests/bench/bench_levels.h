// Menu levels as the benchmarks that open them set them up.
#pragma once
#include <windows.h>

#include <string>

#include "common/messages.h"
#include "menu/menu_item.h"
#include "menu/tmenu.h"

// A taskbar along the bottom of the screen, found before Wine's own hidden one, for the
// levels to open above.
inline HWND CreateBenchTaskbar(HINSTANCE instance)
{
    WNDCLASSW trayClass{};
    trayClass.lpfnWndProc = DefWindowProcW;
    trayClass.hInstance = instance;
    trayClass.lpszClassName = kTaskbarClass;
    RegisterClassW(&trayClass);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTaskbarClass, L"",
                           WS_POPUP | WS_VISIBLE, 0, screenHeight - 40, screenWidth, 40, nullptr,
                           nullptr, instance, nullptr);
}

// `count` shortcut items named after `prefix`, the first with a sub-level, none looked up.
inline void FillBenchLevel(TMenu *level, const wchar_t *prefix, int count)
{
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    for (int i = 0; i < count; ++i) {
        std::wstring caption = std::wstring(prefix) + L" program " + std::to_wstring(i + 1);
        TMenuItem *item = level->Append((L"C:\\bench\\" + caption + L".lnk").c_str(), i == 0,
                                        false, true);
        lstrcpynW(item->Caption, caption.c_str(), MAX_PATH);
        item->Icon = CopyIcon(icon);
    }
}

inline void DrainMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}
