// What the test programs share: their command-line options and the log files the test
// scripts read.
#pragma once
#include <windows.h>

#include <cstdio>
#include <cwchar>

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
