#include "app/hook_loader.h"

#include "common/messages.h"

THookLibrary HookLibrary;

namespace {

constexpr const wchar_t *kHookLibraryName = L"hallet.dll";
constexpr DWORD kButtonPollMs = 100;
constexpr DWORD kAfterButtonGoneMs = 2000;
// A shell that no longer handles messages never removes the button; do not wait forever.
constexpr DWORD kButtonWaitLimitMs = 10000;

// Posting to a missing window would post to this thread instead: the message is dropped.
void PostToTaskbar(UINT message)
{
    if (HWND taskbar = FindWindowW(kTaskbarClass, nullptr))
        PostMessageW(taskbar, message, 0, 0);
}

} // namespace

void LoadHookLibrary()
{
    if (GetModuleHandleW(kHookLibraryName))
        return;
    HookLibrary.Module = LoadLibraryW(kHookLibraryName);
    if (!HookLibrary.Module)
        return;
    HookLibrary.MessageProc =
        reinterpret_cast<HOOKPROC>(GetProcAddress(HookLibrary.Module, "MessageProc"));
    HookLibrary.EdgeMessageProc =
        reinterpret_cast<HOOKPROC>(GetProcAddress(HookLibrary.Module, "EdgeMessageProc"));
}

bool InstallHooks()
{
    if (!HookLibrary.Module || !HookLibrary.MessageProc)
        return false;
    HookLibrary.MessageHook =
        SetWindowsHookExW(WH_GETMESSAGE, HookLibrary.MessageProc, HookLibrary.Module, 0);
    if (!HookLibrary.MessageHook)
        return false;

    HWND edgeOwner = FindWindowW(kDesktopShellWindowClass, nullptr);
    if (edgeOwner && HookLibrary.EdgeMessageProc) {
        DWORD thread = GetWindowThreadProcessId(edgeOwner, nullptr);
        HookLibrary.EdgeHook = SetWindowsHookExW(WH_GETMESSAGE, HookLibrary.EdgeMessageProc,
                                                 HookLibrary.Module, thread);
    }
    return true;
}

void FailMessageHook()
{
    MessageBoxW(nullptr, L"ERROR in message hook", L"", MB_OK);
    ExitProcess(0);
}

void RemoveHooks()
{
    if (HookLibrary.EdgeHook)
        UnhookWindowsHookEx(HookLibrary.EdgeHook);
    if (HookLibrary.MessageHook)
        UnhookWindowsHookEx(HookLibrary.MessageHook);
    HookLibrary.EdgeHook = nullptr;
    HookLibrary.MessageHook = nullptr;
}

void RequestStartButton()
{
    PostToTaskbar(UM_TASKBAR_CREATE_BUTTON);
}

void RequestButtonRemoval()
{
    PostToTaskbar(UM_TASKBAR_REMOVE_BUTTON);
}

void WithdrawStartButton()
{
    RequestButtonRemoval();
    for (DWORD waited = 0; FindWindowW(kStartButtonClass, nullptr) && waited < kButtonWaitLimitMs;
         waited += kButtonPollMs)
        Sleep(kButtonPollMs);
    Sleep(kAfterButtonGoneMs);
}
