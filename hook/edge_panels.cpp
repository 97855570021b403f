// The shell's edge panels open on mouse messages to their input window; while the user has
// turned the corners off (and does not hold Shift) those messages go nowhere.
//
// The checks run on every mouse message of the shell's threads, so the DisableCorners
// value is kept here, read when the first edge-panel message needs it and again only when
// the registry says it changed: the flags key
// and HKCU\Software (for the flags key being deleted or made anew) are watched with one
// auto-reset event each.  The per-message cost is one zero-timeout wait on those events;
// the registry is read only by the one thread whose wait takes a signal.
#include <windows.h>

#include <atomic>

#include "common/messages.h"
#include "common/registry_flags.h"
#include "hook/button_state.h"

namespace {

// Windows 8: the watch outlives the thread that armed it (the shell thread that loaded the
// library, or whichever thread took the last signal, may end at any time).
constexpr DWORD kThreadAgnostic = 0x10000000;  // REG_NOTIFY_THREAD_AGNOSTIC
constexpr wchar_t kSoftwareKeyPath[] = L"Software";

enum WatchedKey { kFlagsKeyChanged, kSoftwareKeyChanged, kWatchedKeyCount };

// Shared by every thread of the process that reads messages: the handles are set once at
// load (and the flags key by the refreshing thread alone), the rest are atomics.
struct TCornersWatch {
    HANDLE Changed[kWatchedKeyCount] = {};
    HKEY FlagsKey = nullptr;
    HKEY SoftwareKey = nullptr;
    std::atomic<bool> Disabled{true};
    std::atomic<bool> Refreshing{false};
    // 0 not started, 1 being started by one thread, 2 watching.
    std::atomic<int> Started{0};
};

TCornersWatch Watch;

bool ArmFlagsKey()
{
    return Watch.FlagsKey &&
           RegNotifyChangeKeyValue(Watch.FlagsKey, FALSE, REG_NOTIFY_CHANGE_LAST_SET | kThreadAgnostic,
                                   Watch.Changed[kFlagsKeyChanged], TRUE) == ERROR_SUCCESS;
}

bool ArmSoftwareKey()
{
    return Watch.SoftwareKey &&
           RegNotifyChangeKeyValue(Watch.SoftwareKey, FALSE, REG_NOTIFY_CHANGE_NAME | kThreadAgnostic,
                                   Watch.Changed[kSoftwareKeyChanged], TRUE) == ERROR_SUCCESS;
}

// Each watch is armed before its key is read, so a change made during the read signals
// again.  A watch that cannot be armed leaves its event signalled: the value is then read
// for every message, as if nothing were kept.
void Refresh(WatchedKey changed)
{
    if (Watch.Refreshing.exchange(true, std::memory_order_acquire)) {
        // Another thread is reading; hand the signal on to the next message.
        SetEvent(Watch.Changed[changed]);
        return;
    }
    bool softwareArmed = true;
    if (changed == kSoftwareKeyChanged)
        softwareArmed = ArmSoftwareKey();
    // A deleted flags key cannot be armed: open it anew (creating it, as every read does).
    bool flagsArmed = changed == kFlagsKeyChanged && ArmFlagsKey();
    if (!flagsArmed) {
        HKEY old = Watch.FlagsKey;
        Watch.FlagsKey = OpenFlagsKeyToKeep();
        flagsArmed = ArmFlagsKey();
        if (old)
            RegCloseKey(old);
    }
    Watch.Disabled.store(ReadFlagOfKey(Watch.FlagsKey, kDisableCornersValue),
                         std::memory_order_relaxed);
    Watch.Refreshing.store(false, std::memory_order_release);
    if (!softwareArmed)
        SetEvent(Watch.Changed[kSoftwareKeyChanged]);
    if (!flagsArmed)
        SetEvent(Watch.Changed[kFlagsKeyChanged]);
}

// Waiting with a zero timeout tests the events and takes a signal, nothing more.
// RegSetValueEx and RegDeleteValue signal before they return, so the next message after a
// change sees it.
void StartCornersWatch();

bool CornersDisabled()
{
    // The first edge-panel message starts the watch, not the loader: registry calls have no
    // place under the loader lock.  Until it runs, the value is read as it always was.
    if (Watch.Started.load(std::memory_order_acquire) != 2) {
        int expected = 0;
        if (!Watch.Started.compare_exchange_strong(expected, 1, std::memory_order_acq_rel))
            return ReadDisableCorners();
        StartCornersWatch();
        Watch.Started.store(2, std::memory_order_release);
    }
    if (!Watch.Changed[kFlagsKeyChanged] || !Watch.Changed[kSoftwareKeyChanged])
        return ReadDisableCorners();
    const DWORD signalled = WaitForMultipleObjects(kWatchedKeyCount, Watch.Changed, FALSE, 0);
    if (signalled < WAIT_OBJECT_0 + kWatchedKeyCount)
        Refresh(static_cast<WatchedKey>(signalled - WAIT_OBJECT_0));
    return Watch.Disabled.load(std::memory_order_relaxed);
}

void StartCornersWatch()
{
    for (HANDLE &event : Watch.Changed)
        event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    RegOpenKeyExW(HKEY_CURRENT_USER, kSoftwareKeyPath, 0, KEY_NOTIFY, &Watch.SoftwareKey);
    if (Watch.Changed[kFlagsKeyChanged] && Watch.Changed[kSoftwareKeyChanged])
        Refresh(kSoftwareKeyChanged);
}

}  // namespace

void StopCornersWatch()
{
    for (HANDLE &event : Watch.Changed) {
        if (event)
            CloseHandle(event);
        event = nullptr;
    }
    for (HKEY *key : {&Watch.FlagsKey, &Watch.SoftwareKey}) {
        if (*key)
            RegCloseKey(*key);
        *key = nullptr;
    }
}

bool IsEdgeMouseMessage(UINT message)
{
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN;
}

// Checked cheapest first: the window handle, then the flag, then the keyboard.
bool SwallowRememberedEdgeMouse(MSG *msg)
{
    if (!msg->hwnd || msg->hwnd != ButtonState.EdgeWindow.load(std::memory_order_relaxed))
        return false;
    if (!CornersDisabled() || ShiftIsDown())
        return false;
    msg->hwnd = nullptr;
    return true;
}

// The class name is read into a buffer on the stack; then the flag, then the keyboard.
bool SwallowEdgeMouseByClass(MSG *msg)
{
    if (!IsWindowOfClass(msg->hwnd, kEdgeWindowClass) || !CornersDisabled() || ShiftIsDown())
        return false;
    msg->message = WM_NULL;
    return true;
}

// The shell may recreate its edge window at any time, so the handle is looked up afresh.
void RememberEdgeWindow()
{
    ButtonState.EdgeWindow.store(FindWindowW(kEdgeWindowClass, nullptr), std::memory_order_relaxed);
}
