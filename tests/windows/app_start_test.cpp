#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/app_start.h"
#include "app/portable/start_rules.h"
#include "app/window_classes.h"
#include "common/messages.h"
#include "common/registry_flags.h"
#include "settings/settings.h"

#include "tests/windows/test_files.h"

namespace {

std::wstring SettingsFile()
{
    wchar_t path[MAX_PATH];
    FormSettingsFileName(path);
    return path;
}

struct Started {
    PROCESS_INFORMATION Process = {};
    bool Ok = false;
};

Started StartProgram(const std::wstring &arguments)
{
    const std::wstring program = WindowsPath(ORVELLA_IMAGE_DIR "/tvra.exe");
    std::wstring commandLine = L"\"" + program + L"\"" + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    Started started;
    started.Ok = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                DETACHED_PROCESS, nullptr, nullptr, &startup, &started.Process);
    return started;
}

// Waits for the program's main window; the program is ended by id afterwards since the
// main window does not take requests yet in every build.
bool RunsWithMainWindow(Started &started)
{
    bool found = false;
    for (int i = 0; i < 150 && !found; ++i) {
        if (WaitForSingleObject(started.Process.hProcess, 100) == WAIT_OBJECT_0)
            break;
        found = FindWindowW(kMainWindowClass, nullptr) != nullptr;
    }
    if (HWND window = FindWindowW(kMainWindowClass, nullptr))
        PostMessageW(window, UM_EXIT, 0, 0);
    if (WaitForSingleObject(started.Process.hProcess, 4000) != WAIT_OBJECT_0)
        TerminateProcess(started.Process.hProcess, 1);
    WaitForSingleObject(started.Process.hProcess, 5000);
    CloseHandle(started.Process.hThread);
    CloseHandle(started.Process.hProcess);
    return found;
}

}  // namespace

TEST(AutoArgument, OnlyTheExactWordCounts)
{
    struct Case {
        std::u16string_view arguments;
        bool isAuto;
    } cases[] = {
        {u"auto", true},   {u"AUTO", false}, {u"auto ", false}, {u"/auto", false},
        {u" auto", false}, {u"aut", false},  {u"", false},       {u"autostart", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsAutoStartArgument(c.arguments), c.isAuto);
}

TEST(ShieldBitmap, IsTheSmallShieldDrawnIntoA32BitDib)
{
    HBITMAP shield = CreateShieldBitmap();
    ASSERT_NE(shield, nullptr);
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectW(shield, sizeof(dib), &dib), int(sizeof(dib)));
    EXPECT_EQ(dib.dsBm.bmWidth, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(dib.dsBm.bmHeight, GetSystemMetrics(SM_CYSMICON));
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
    const uint32_t *pixels = static_cast<const uint32_t *>(dib.dsBm.bmBits);
    int drawn = 0;
    for (int i = 0; i < dib.dsBm.bmWidth * dib.dsBm.bmHeight; ++i)
        drawn += pixels[i] != 0;
    EXPECT_GT(drawn, 0) << "nothing drawn";
    DeleteObject(shield);
}

TEST(WindowClasses, AreRegisteredAsTheProgramNeedsThem)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClasses(instance);
    struct Case {
        const wchar_t *name;
        UINT style;
        int extra;
        bool cursor, background, icon;
    } cases[] = {
        {L"EditEx", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, 0, true, false, false},
        {L"ListEx", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, 0, true, false, false},
        {L"TVRA_IconControl", CS_HREDRAW | CS_VREDRAW, 8, false, true, false},
        {L"TVRA_ColorControl", CS_HREDRAW | CS_VREDRAW, 8, true, false, false},
        {L"TVRA_Sample", CS_HREDRAW | CS_VREDRAW | CS_DROPSHADOW, 8, false, true, false},
        {L"TVRA_IconButton", CS_HREDRAW | CS_VREDRAW, 32, true, false, false},
        {L"TVRA_MenuWindow", CS_HREDRAW | CS_VREDRAW | CS_DROPSHADOW, 8, true, false, false},
        {L"TVRA_MainWindow", CS_HREDRAW | CS_VREDRAW, 0, true, false, false},
    };
    for (const Case &c : cases) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        ASSERT_TRUE(GetClassInfoExW(instance, c.name, &wc)) << c.name;
        EXPECT_EQ(wc.style, c.style) << c.name;
        EXPECT_EQ(wc.cbWndExtra, c.extra) << c.name;
        EXPECT_EQ(wc.cbClsExtra, 0) << c.name;
        EXPECT_EQ(wc.hCursor != nullptr, c.cursor) << c.name;
        EXPECT_EQ(wc.hbrBackground != nullptr, c.background) << c.name;
        EXPECT_EQ(wc.lpszMenuName, nullptr) << c.name;
    }
}

TEST(ProgramStart, AutoWithAutoStartOffEndsAtOnceWithoutTouchingAnything)
{
    ClearAutoStart();
    DeleteFileW(SettingsFile().c_str());
    Started started = StartProgram(L" auto");
    ASSERT_TRUE(started.Ok);
    EXPECT_EQ(WaitForSingleObject(started.Process.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(started.Process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(started.Process.hThread);
    CloseHandle(started.Process.hProcess);
    // It stopped before reading its settings, so none were created.
    EXPECT_EQ(GetFileAttributesW(SettingsFile().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
    SetAutoStart();
}

TEST(ProgramStart, OtherArgumentsStartRegardlessOfAutoStart)
{
    for (const wchar_t *arguments : {L" AUTO", L" auto ", L" /auto"}) {
        ClearAutoStart();
        Started started = StartProgram(arguments);
        ASSERT_TRUE(started.Ok);
        EXPECT_TRUE(RunsWithMainWindow(started)) << arguments;
    }
    SetAutoStart();
    Started automatic = StartProgram(L" auto");
    ASSERT_TRUE(automatic.Ok);
    EXPECT_TRUE(RunsWithMainWindow(automatic)) << "auto with AutoStart on";
}

TEST(ProgramStart, FirstStartCopiesTheDefaultsByteForByte)
{
    DeleteFileW(SettingsFile().c_str());
    Started started = StartProgram(L"");
    ASSERT_TRUE(started.Ok);
    EXPECT_TRUE(RunsWithMainWindow(started));
    const std::string defaults = FileBytes(WindowsPath(ORVELLA_IMAGE_DIR "/settings_default.ini"));
    ASSERT_FALSE(defaults.empty());
    EXPECT_EQ(FileBytes(SettingsFile()), defaults);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
