// The uninstall steps with a fake system: their order, their waits, what they remove, and
// the clean-up script they leave, without ending or removing anything real.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cleanup_script.h"
#include "common/messages.h"
#include "test_files.h"
#include "uninstaller/uninstall_wizard.h"

namespace fs = std::filesystem;

namespace {

struct FakeLog {
    std::vector<std::wstring> calls;
    bool mainWindowRuns = true;
    bool localDataKnown = true;
    std::wstring localData;
    std::wstring modulePath = L"C:\\Program Files\\Orvella\\TVRAUninstaller.exe";
    bool modulePathKnown = true;
};
FakeLog *g_log = nullptr;
HWND const kMainWindow = reinterpret_cast<HWND>(0x4242);

std::wstring KeyName(HKEY root, LPCWSTR path)
{
    return std::wstring(root == HKEY_CURRENT_USER    ? L"HKCU"
                        : root == HKEY_LOCAL_MACHINE ? L"HKLM"
                                                     : L"?") +
           (path ? std::wstring(L"\\") + path : L"");
}

HWND WINAPI FakeFindWindow(LPCWSTR className, LPCWSTR title)
{
    g_log->calls.push_back(std::wstring(L"find ") + className + (title ? L" titled" : L""));
    return g_log->mainWindowRuns ? kMainWindow : nullptr;
}
LRESULT WINAPI FakeSend(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT, UINT,
                        PDWORD_PTR)
{
    g_log->calls.push_back(L"send " + std::to_wstring(message) + L" to " +
                           (window == kMainWindow ? L"main" : L"?") + L" " +
                           std::to_wstring(wParam) + L" " + std::to_wstring(lParam));
    return 0;
}
void WINAPI FakeSleep(DWORD ms) { g_log->calls.push_back(L"sleep " + std::to_wstring(ms)); }
HINSTANCE WINAPI FakeShellExecute(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT show)
{
    g_log->calls.push_back(std::wstring(L"run ") + (verb ? verb : L"default") + L" [" + file +
                           L"] [" + (parameters ? parameters : L"") + L"]" +
                           (directory ? L" in a folder" : L"") +
                           (show == SW_HIDE ? L" hidden" : L" shown"));
    return reinterpret_cast<HINSTANCE>(33);
}
LSTATUS WINAPI FakeDeleteTree(HKEY root, LPCWSTR path)
{
    g_log->calls.push_back(L"delete " + KeyName(root, path));
    return ERROR_SUCCESS;
}
LSTATUS WINAPI FakeFlush(HKEY root)
{
    g_log->calls.push_back(L"flush " + KeyName(root, nullptr));
    return ERROR_SUCCESS;
}
HRESULT WINAPI FakeFolderPath(HWND, int csidl, HANDLE, DWORD, LPWSTR path)
{
    if (!g_log->localDataKnown || csidl != CSIDL_LOCAL_APPDATA)
        return E_FAIL;
    lstrcpynW(path, g_log->localData.c_str(), MAX_PATH);
    return S_OK;
}
DWORD WINAPI FakeModuleFileName(HMODULE, LPWSTR buffer, DWORD size)
{
    if (!g_log->modulePathKnown)
        return 0;
    lstrcpynW(buffer, g_log->modulePath.c_str(), size);
    return static_cast<DWORD>(g_log->modulePath.size());
}

BOOL WINAPI FakeMoveFileEx(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    g_log->calls.push_back(std::wstring(L"move [") + from + L"] to [" + (to ? to : L"nothing") +
                           L"]" + (flags == MOVEFILE_DELAY_UNTIL_REBOOT ? L" at restart" : L" now?"));
    return TRUE;
}

const TUninstallSystem kFakeSystem = {
    FakeFindWindow, FakeSend,  FakeSleep,      FakeShellExecute,
    FakeDeleteTree, FakeFlush, FakeFolderPath, FakeModuleFileName,
    FakeMoveFileEx,
};

const wchar_t *const kLibraryAtRestart =
    L"move [C:\\Program Files\\Orvella\\hallet.dll] to [nothing] at restart";
const wchar_t *const kFolderAtRestart = L"move [C:\\Program Files\\Orvella] to [nothing] at restart";

std::wstring SystemFolder()
{
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    return system;
}

class UninstallSteps : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        localData = fs::path(temp) / (L"uninst-steps " + std::to_wstring(GetCurrentProcessId()));
        fs::create_directories(localData);
        log.localData = localData.wstring();
        g_log = &log;
        g_Uninstaller.system = &kFakeSystem;
        g_Uninstaller.step = 0;
    }
    void TearDown() override
    {
        g_Uninstaller.system = &kRealUninstallSystem;
        g_log = nullptr;
        std::error_code ignored;
        fs::remove_all(localData, ignored);
    }
    fs::path ScriptPath() const { return localData / L"uninstallorvella.bat"; }
    FakeLog log;
    fs::path localData;
};

}  // namespace

TEST_F(UninstallSteps, RunInOrderWithTheirWaits)
{
    RunUninstallSteps();
    const std::wstring sc = L"[" + SystemFolder() + L"\\sc.exe]";
    std::vector<std::wstring> expected = {
        L"find TVRA_MainWindow",
        L"send 1127 to main 0 0",
        L"sleep 7000",
        L"run default " + sc + L" [stop TVRAService] hidden",
        L"sleep 3000",
        L"run default " + sc + L" [delete TVRAService] hidden",
        L"delete HKCU\\Software\\TVRA",
        L"flush HKCU",
        L"delete HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvella",
        L"run default [" + ScriptPath().wstring() + L"] [] hidden",
        kLibraryAtRestart,
        kFolderAtRestart,
    };
    EXPECT_EQ(log.calls, expected);
    EXPECT_EQ(g_Uninstaller.step, 1);
}

TEST_F(UninstallSteps, WithoutAMainProgramEveryOtherStepStillRuns)
{
    log.mainWindowRuns = false;
    RunUninstallSteps();
    ASSERT_EQ(log.calls.size(), 11u);
    EXPECT_EQ(log.calls[0], L"find TVRA_MainWindow");
    EXPECT_EQ(log.calls[1], L"sleep 7000");
    EXPECT_EQ(log.calls[8], L"run default [" + ScriptPath().wstring() + L"] [] hidden");
}

// The hook library stays mapped in the shell, so the script cannot delete it or the folder.
TEST_F(UninstallSteps, LibraryThenFolderAreScheduledForRestartEvenWithoutAScript)
{
    log.localDataKnown = false;
    RunUninstallSteps();
    ASSERT_GE(log.calls.size(), 2u);
    EXPECT_EQ(std::vector<std::wstring>(log.calls.end() - 2, log.calls.end()),
              (std::vector<std::wstring>{kLibraryAtRestart, kFolderAtRestart}));
}

TEST_F(UninstallSteps, NothingIsScheduledWithoutTheProgramsOwnPath)
{
    log.modulePathKnown = false;
    ScheduleRemovalAtRestart();
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(UninstallSteps, ScriptIsWrittenByteExactIntoLocalApplicationData)
{
    // Left over from an earlier, longer script: nothing of it may remain.
    std::ofstream(ScriptPath(), std::ios::binary) << std::string(4000, 'x');
    ASSERT_TRUE(WriteAndStartCleanupScript());
    const std::string folder = "C:\\Program Files\\Orvella";
    const std::string script = fs::path(ScriptPath()).string();
    EXPECT_EQ(FileBytes(ScriptPath().wstring()), ExpectedCleanupScript(folder, script));
}

TEST_F(UninstallSteps, NoScriptWithoutTheUsersOwnFolder)
{
    log.localDataKnown = false;
    EXPECT_FALSE(WriteAndStartCleanupScript());
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(UninstallSteps, NoScriptForAFolderTheScriptCannotSpell)
{
    // No exact form in the console code page: a best-fit spelling could name another folder.
    log.modulePath = L"C:\\Program Files\\\x041E\x0440\x0432\x0435\x043B\x043B\x0430\x2603\\TVRAUninstaller.exe";
    std::ofstream(ScriptPath(), std::ios::binary) << "old";
    EXPECT_FALSE(WriteAndStartCleanupScript());
    EXPECT_TRUE(log.calls.empty()) << "an old script was started";
    EXPECT_EQ(FileBytes(ScriptPath().wstring()), "old");
}

// The real wait between the steps: the wizard is repainted while it lasts, and it still
// lasts as long as asked.
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        SetWindowLongPtrW(window, GWLP_USERDATA, GetWindowLongPtrW(window, GWLP_USERDATA) + 1);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(UninstallWait, RepaintsWhileItWaits)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountPaints;
    windowClass.lpszClassName = L"OrvellaPaintCounter";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    WaitKeepingPainted(0);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);

    // Damage arrives from elsewhere in the middle of the wait, as when another window moves.
    std::thread damage([window] {
        Sleep(100);
        InvalidateRect(window, nullptr, FALSE);
    });
    const ULONGLONG start = GetTickCount64();
    WaitKeepingPainted(400);
    const ULONGLONG waited = GetTickCount64() - start;
    damage.join();

    EXPECT_GE(GetWindowLongPtrW(window, GWLP_USERDATA), 1);
    EXPECT_GE(waited, 400u);
    DestroyWindow(window);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
