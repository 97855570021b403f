// What the test programs share: their command-line options and the log files the test
// scripts read.
#pragma once
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <initializer_list>

// The value after `name` on the command line, or null.
inline const wchar_t *CommandOption(int argc, wchar_t **argv, const wchar_t *name)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (wcscmp(argv[i], name) == 0)
            return argv[i + 1];
    return nullptr;
}

// Appends "WHAT MESSAGE WPARAM LPARAM" and CR LF to the log; the file is opened and closed
// each time so that a script can read it while the program runs.
inline void AppendLogLine(const wchar_t *logPath, const wchar_t *what, UINT message, WPARAM wParam,
                          LPARAM lParam)
{
    if (!logPath)
        return;
    char line[160];
    int n = std::snprintf(line, sizeof line, "%ls %u %llu %lld\r\n", what, message,
                          static_cast<unsigned long long>(wParam), static_cast<long long>(lParam));
    if (n <= 0)
        return;
    if (n >= static_cast<int>(sizeof line))
        n = sizeof line - 1;
    HANDLE file = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(file);
}

// Posted to the stand-in shell's taskbar: it opens its shut-down dialog (below).
inline constexpr UINT kStandinShowShutDownDialog = WM_APP + 0x51;
inline constexpr int kShutDownDialogCombo = 2001;
inline constexpr const wchar_t *kShutDownDialogTitle = L"Shut Down Windows";

// A dialog like the shell's shut-down dialog: class "#32770", a drop-down list 2001 of six
// entries with the first selected.  `proc` receives its messages.
inline HWND CreateShutDownDialogStandIn(DLGPROC proc, int x, int y)
{
    struct alignas(4) {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } dialogTemplate = {};
    dialogTemplate.header.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
    dialogTemplate.header.x = short(x);
    dialogTemplate.header.y = short(y);
    dialogTemplate.header.cx = 180;
    dialogTemplate.header.cy = 60;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND dialog = CreateDialogIndirectParamW(instance, &dialogTemplate.header, nullptr, proc, 0);
    if (!dialog)
        return nullptr;
    SetWindowTextW(dialog, kShutDownDialogTitle);
    HWND combo = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                                 10, 10, 200, 200, dialog,
                                 reinterpret_cast<HMENU>(INT_PTR(kShutDownDialogCombo)), instance,
                                 nullptr);
    for (const wchar_t *entry : {L"Switch user", L"Log off", L"Lock", L"Restart", L"Sleep",
                                 L"Shut down"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    return dialog;
}
