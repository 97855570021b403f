// What the session service does with each control code, and the command lines of the
// programs it starts at logon; no Windows call, so both are tested natively.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Control codes, event types and states as the service control manager numbers them.
inline constexpr uint32_t kControlStop = 1;
inline constexpr uint32_t kControlPause = 2;
inline constexpr uint32_t kControlContinue = 3;
inline constexpr uint32_t kControlInterrogate = 4;
inline constexpr uint32_t kControlShutdown = 5;
inline constexpr uint32_t kControlSessionChange = 14;
inline constexpr uint32_t kSessionLogon = 5;

inline constexpr uint32_t kStateStopped = 1;
inline constexpr uint32_t kStateRunning = 4;
inline constexpr uint32_t kStatePaused = 7;

struct TServiceControlAction {
    uint32_t newState;        // the state to record (unchanged when nothing changes it)
    bool resetExitCode;       // stop, pause and continue clear the exit code again
    bool reportStatus;        // tell the service control manager
    bool startUserPrograms;   // a user has logged on
    bool handled;             // a code of ours: the handler answers NO_ERROR
};

TServiceControlAction DecideServiceControl(uint32_t control, uint32_t eventType,
                                           uint32_t currentState);

// `folder\program`: the application name given to the process start.
std::u16string UserProgramPath(std::u16string_view folder, std::u16string_view program);

// `"folder\program" auto`: quoted, because the service starts it with system rights from a
// folder that usually has a space in its name ("Program Files").
std::u16string UserProgramCommandLine(std::u16string_view folder, std::u16string_view program);
