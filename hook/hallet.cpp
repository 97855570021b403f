#include <windows.h>

// The two hook procedures the main program installs; both pass every message on.
extern "C" LRESULT CALLBACK MessageProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" LRESULT CALLBACK EdgeMessageProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
