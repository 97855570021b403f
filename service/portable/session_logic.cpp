#include "service/portable/session_logic.h"

TServiceControlAction DecideServiceControl(uint32_t control, uint32_t eventType,
                                           uint32_t currentState)
{
    switch (control) {
    case kControlStop:
    case kControlShutdown:
        return {kStateStopped, true, true, false, true};
    case kControlPause:
        return {kStatePaused, true, true, false, true};
    case kControlContinue:
        return {kStateRunning, true, true, false, true};
    case kControlSessionChange:
        // Logons are acted on in every state, paused included, and never reported.
        return {currentState, false, false, eventType == kSessionLogon, true};
    case kControlInterrogate:
        return {currentState, false, true, false, true};
    default:
        // Codes we never asked for still get the current status, but are not claimed.
        return {currentState, false, true, false, false};
    }
}

std::u16string UserProgramPath(std::u16string_view folder, std::u16string_view program)
{
    std::u16string path(folder);
    path += u'\\';
    path += program;
    return path;
}

std::u16string UserProgramCommandLine(std::u16string_view folder, std::u16string_view program)
{
    std::u16string line = u"\"";
    line += UserProgramPath(folder, program);
    line += u"\" auto";
    return line;
}
