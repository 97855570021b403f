// The shell's edge panels open on mouse messages to their input window; while the user has
// turned the corners off (and does not hold Shift) those messages go nowhere.
#include <windows.h>

#include "common/messages.h"
#include "common/registry_flags.h"
#include "hook/button_state.h"

// Checked cheapest first: the window handle, then the registry, then the keyboard.
bool SwallowRememberedEdgeMouse(MSG *msg)
{
    if (!msg->hwnd || msg->hwnd != ButtonState.EdgeWindow)
        return false;
    if (!ReadDisableCorners() || GetKeyState(VK_SHIFT) < 0)
        return false;
    msg->hwnd = nullptr;
    return true;
}

// The shell may recreate its edge window at any time, so the handle is looked up afresh.
void RememberEdgeWindow()
{
    ButtonState.EdgeWindow = FindWindowW(kEdgeWindowClass, nullptr);
}
