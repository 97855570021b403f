#include <gtest/gtest.h>

#include "common/portable/text.h"
#include "service/portable/session_logic.h"

TEST(ServiceControl, EachCodeSetsStateReportsAndClaims)
{
    struct Case {
        uint32_t control, eventType, state;
        uint32_t newState;
        bool reset, report, start, handled;
    } cases[] = {
        {kControlStop, 0, kStateRunning, kStateStopped, true, true, false, true},
        {kControlShutdown, 0, kStatePaused, kStateStopped, true, true, false, true},
        {kControlPause, 0, kStateRunning, kStatePaused, true, true, false, true},
        {kControlContinue, 0, kStatePaused, kStateRunning, true, true, false, true},
        {kControlInterrogate, 0, kStatePaused, kStatePaused, false, true, false, true},
        // Logons start the programs in every state and are never reported.
        {kControlSessionChange, kSessionLogon, kStateRunning, kStateRunning, false, false, true, true},
        {kControlSessionChange, kSessionLogon, kStatePaused, kStatePaused, false, false, true, true},
        {0x40, 0, kStateRunning, kStateRunning, false, true, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "control " << c.control);
        TServiceControlAction a = DecideServiceControl(c.control, c.eventType, c.state);
        EXPECT_EQ(a.newState, c.newState);
        EXPECT_EQ(a.resetExitCode, c.reset);
        EXPECT_EQ(a.reportStatus, c.report);
        EXPECT_EQ(a.startUserPrograms, c.start);
        EXPECT_EQ(a.handled, c.handled);
    }
}

TEST(ServiceControl, OnlyLogonAmongSessionEventsStartsAnything)
{
    // Console connect/disconnect, remote connect/disconnect, logon, logoff, lock, unlock,
    // remote control, create, terminate.
    for (uint32_t event = 1; event <= 11; ++event) {
        TServiceControlAction a = DecideServiceControl(kControlSessionChange, event, kStateRunning);
        EXPECT_EQ(a.startUserPrograms, event == kSessionLogon) << "event " << event;
        EXPECT_FALSE(a.reportStatus) << "event " << event;
        EXPECT_EQ(a.newState, kStateRunning);
    }
}

TEST(UserProgramCommandLine, QuotesTheProgramPath)
{
    struct Case {
        std::u16string_view modulePath;
        std::u16string_view application, commandLine;
    } cases[] = {
        {u"C:\\Program Files\\Orvella\\TVRAService.exe", u"C:\\Program Files\\Orvella\\brisel.exe",
         u"\"C:\\Program Files\\Orvella\\brisel.exe\" auto"},
        // A service in a drive's root keeps one backslash after the drive.
        {u"D:\\TVRAService.exe", u"D:\\brisel.exe", u"\"D:\\brisel.exe\" auto"},
        {u"\\\\server\\share\\Orv ella\\TVRAService.exe", u"\\\\server\\share\\Orv ella\\brisel.exe",
         u"\"\\\\server\\share\\Orv ella\\brisel.exe\" auto"},
    };
    for (const Case &c : cases) {
        std::u16string_view folder = FolderOfPath(c.modulePath);
        EXPECT_EQ(UserProgramPath(folder, u"brisel.exe"), c.application);
        EXPECT_EQ(UserProgramCommandLine(folder, u"brisel.exe"), c.commandLine);
    }
}

TEST(UserProgramCommandLine, FolderOfAPathWithoutBackslashIsEmpty)
{
    EXPECT_EQ(FolderOfPath(u"TVRAService.exe"), u"");
    EXPECT_EQ(FolderOfPath(u""), u"");
}
