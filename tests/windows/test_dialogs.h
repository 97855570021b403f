// Finding the dialogs of a program a Windows test has started.
#pragma once
#include <windows.h>

#include <cwchar>

// A visible dialog of the process, with the given title (any title when null), or null.
// A dialog is visible only once its initialisation is over.
inline HWND VisibleDialogOf(DWORD processId, const wchar_t *title)
{
    struct Query {
        DWORD processId;
        const wchar_t *title;
        HWND found;
    } query = {processId, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto *query = reinterpret_cast<Query *>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t className[64] = {}, text[128] = {};
            GetClassNameW(window, className, 64);
            GetWindowTextW(window, text, 128);
            if (owner != query->processId || wcscmp(className, L"#32770") != 0 ||
                !IsWindowVisible(window) || (query->title && wcscmp(text, query->title) != 0))
                return TRUE;
            query->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// VisibleDialogOf, waited for up to `ms`; null at once when the process ends first.
inline HWND WaitForDialogOf(HANDLE process, DWORD processId, const wchar_t *title, DWORD ms)
{
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (HWND dialog = VisibleDialogOf(processId, title))
            return dialog;
        if (WaitForSingleObject(process, 50) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}
