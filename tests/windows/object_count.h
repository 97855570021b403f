// GDI and USER objects of this process, for tests and benchmarks that look for leaks.
#pragma once
#include <windows.h>

// This Wine does not answer GetGuiResources, so its handle tables are walked: a GDI handle
// or an icon given by its table index alone (upper word 0) is accepted for any generation;
// windows are those of this thread.
struct TObjectCount {
    int gdi = 0;
    int user = 0;
};

inline BOOL CALLBACK CountWindow(HWND window, LPARAM count)
{
    ++*reinterpret_cast<int *>(count);
    EnumChildWindows(window, CountWindow, count);
    return TRUE;
}

inline TObjectCount CountObjects()
{
    TObjectCount count;
    const HANDLE process = GetCurrentProcess();
    count.gdi = int(GetGuiResources(process, GR_GDIOBJECTS));
    count.user = int(GetGuiResources(process, GR_USEROBJECTS));
    if (count.gdi != 0 || count.user != 0)
        return count;
    for (UINT_PTR index = 0; index < 0x10000; ++index)
        count.gdi += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    // Counted before the icons: the icon probe makes bitmaps of its own, deleted again.
    for (UINT_PTR handle = 0x20; handle <= 0xFFEF; handle += 2) {
        ICONINFO info;
        if (GetIconInfo(reinterpret_cast<HICON>(handle), &info)) {
            ++count.user;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
    }
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count.user));
    return count;
}
