// The real TVRAUninstaller.exe under Wine, run from a throw-away install folder beside a
// stand-in main program: Cancel's question, the uninstall itself, the clean-up script and
// what it leaves of the folder.  Both pages are saved as pictures next to this program.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cleanup_script.h"
#include "common/messages.h"
#include "common/registry_flags.h"
#include "test_dialogs.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

// ---- A copy of this program named tvra.exe stands in for the main program ----

LRESULT CALLBACK StandInMainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == UM_EXIT) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

const bool kRanAsMainProgram = [] {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (fs::path(path).filename() != L"tvra.exe")
        return false;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = StandInMainWindowProc;
    windowClass.lpszClassName = kMainWindowClass;
    RegisterClassW(&windowClass);
    CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                    nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    ExitProcess(0);
}();

// ---- Helpers ----

struct Program {
    HANDLE process = nullptr;
    DWORD id = 0;
};

Program Start(const fs::path &exe, const std::wstring &arguments = L"")
{
    std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, exe.parent_path().c_str(), &startup, &process))
        return {};
    CloseHandle(process.hThread);
    return {process.hProcess, process.dwProcessId};
}

bool Ended(const Program &program, DWORD ms)
{
    return WaitForSingleObject(program.process, ms) == WAIT_OBJECT_0;
}

HWND WaitForDialog(const Program &program, const wchar_t *title, DWORD ms = 10000)
{
    return WaitForDialogOf(program.process, program.id, title, ms);
}

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

bool ItemVisible(HWND dialog, int id)
{
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

bool IsDefaultButton(HWND dialog, int id)
{
    return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
}

std::wstring MessageBoxText(HWND box)
{
    std::wstring all;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        all += text;
        all += L"|";
    }
    return all;
}

// What is on the screen where the window is, as a 24-bit picture file.
void SaveScreenshot(HWND window, const fs::path &file)
{
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
    void *bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    DWORD imageSize = ((width * 3 + 3) & ~3) * height;
    BITMAPFILEHEADER header = {0x4D42, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageSize),
                               0, 0, DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char *>(&header), sizeof(header));
    out.write(reinterpret_cast<const char *>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
    out.write(static_cast<const char *>(bits), imageSize);
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

DWORD RunSc(const std::wstring &arguments)
{
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    Program sc = Start(fs::path(system) / L"sc.exe", arguments);
    if (!sc.process)
        return GetLastError();
    WaitForSingleObject(sc.process, 30000);
    DWORD code = 1;
    GetExitCodeProcess(sc.process, &code);
    CloseHandle(sc.process);
    return code;
}

bool ServiceExists(const wchar_t *name)
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceW(manager, name, SERVICE_QUERY_STATUS);
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

bool KeyExists(HKEY root, const wchar_t *path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void CreateKeyWithValue(HKEY root, const wchar_t *path)
{
    HKEY key;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        DWORD one = 1;
        RegSetValueExW(key, L"Marker", 0, REG_DWORD, reinterpret_cast<BYTE *>(&one), sizeof(one));
        RegCloseKey(key);
    }
}

fs::path SelfPath()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

fs::path LocalAppData()
{
    wchar_t folder[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return folder;
}

constexpr const wchar_t *kWizardTitle = L"Uninstall Orvella";
constexpr const wchar_t *kQuestionTitle = L"Orvella uninstallation wizard";
constexpr const wchar_t *kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvella";
constexpr int kUninstallButton = 101;

// An install folder with a space in its name holding the uninstaller, the service, a
// stand-in main program and files of every pattern the script deletes, plus a picture it
// must keep.
class UninstallWizard : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        install = fs::path(temp) / (L"Orvella Install " + std::to_wstring(GetCurrentProcessId()));
        fs::create_directories(install / L"images");
        fs::create_directories(install / L"help");
        fs::path bin = SelfPath().parent_path().parent_path() / L"bin";
        fs::copy_file(bin / L"TVRAUninstaller.exe", install / L"TVRAUninstaller.exe");
        fs::copy_file(bin / L"TVRAService.exe", install / L"TVRAService.exe");
        fs::copy_file(SelfPath(), install / L"tvra.exe");
        for (const wchar_t *name :
             {L"hallet.dll", L"settings_default.ini", L"lang.eng", L"lang.esp", L"LICENSE.txt",
              L"notes.txt", L"images\\side.bmp", L"images\\start-normal.png",
              L"images\\1101.jpg"})
            std::ofstream(install / name) << "x";
        mainProgram = Start(install / L"tvra.exe");
        for (int i = 0; i < 200 && !FindWindowW(kMainWindowClass, nullptr); ++i)
            Sleep(50);
        CreateKeyWithValue(HKEY_CURRENT_USER, L"Software\\TVRA\\Inner");
        CreateKeyWithValue(HKEY_LOCAL_MACHINE, kUninstallKey);
        CreateKeyWithValue(HKEY_CURRENT_USER, kFlagsKeyPath);
    }
    void TearDown() override
    {
        for (Program *program : {&wizard, &mainProgram}) {
            if (program->process && !Ended(*program, 0))
                TerminateProcess(program->process, 1);
            if (program->process)
                CloseHandle(program->process);
        }
        std::error_code ignored;
        fs::remove_all(install, ignored);
        fs::remove(LocalAppData() / L"uninstallorvella.bat", ignored);
    }
    fs::path install;
    Program mainProgram, wizard;
};

}  // namespace

TEST_F(UninstallWizard, CancelAsksFirstAndNoKeepsTheWizardOpen)
{
    ASSERT_NE(FindWindowW(kMainWindowClass, nullptr), nullptr);
    wizard = Start(install / L"TVRAUninstaller.exe");
    HWND dialog = WaitForDialog(wizard, kWizardTitle);
    ASSERT_NE(dialog, nullptr);

    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    HWND question = WaitForDialog(wizard, kQuestionTitle);
    ASSERT_NE(question, nullptr);
    EXPECT_NE(MessageBoxText(question).find(
                  L"This will exit the uninstallation wizard, are you sure?"),
              std::wstring::npos);
    PostMessageW(question, WM_COMMAND, IDNO, 0);
    EXPECT_FALSE(Ended(wizard, 1500));
    EXPECT_TRUE(IsWindowVisible(dialog));

    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    question = WaitForDialog(wizard, kQuestionTitle);
    ASSERT_NE(question, nullptr);
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(Ended(wizard, 5000));

    // Nothing was touched.
    EXPECT_FALSE(Ended(mainProgram, 0));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"Software\\TVRA"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_TRUE(fs::exists(install / L"tvra.exe"));
}

TEST_F(UninstallWizard, UninstallRemovesProgramServiceKeysAndListedFiles)
{
    RunSc(L"delete TVRAService");
    ASSERT_EQ(RunSc(L"create TVRAService binPath= \"\\\"" + (install / L"TVRAService.exe").wstring() +
                    L"\\\"\""),
              0u);
    RunSc(L"start TVRAService");

    wizard = Start(install / L"TVRAUninstaller.exe");
    HWND dialog = WaitForDialog(wizard, kWizardTitle);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, 202), L"Orvella\runinstallation wizard");
    EXPECT_TRUE(ItemVisible(dialog, 1001));
    EXPECT_FALSE(ItemVisible(dialog, 2001));
    EXPECT_TRUE(IsDefaultButton(dialog, kUninstallButton));
    EXPECT_EQ(ItemText(dialog, IDCANCEL), L"&Cancel");
    Sleep(300);
    SaveScreenshot(dialog, SelfPath().parent_path() / L"uninstaller-page0.bmp");

    PostMessageW(dialog, WM_COMMAND, kUninstallButton, 0);
    // The steps wait ten seconds in all; the last page follows them.
    for (int i = 0; i < 600 && GetDlgItem(dialog, kUninstallButton); ++i)
        Sleep(50);
    ASSERT_EQ(GetDlgItem(dialog, kUninstallButton), nullptr);

    EXPECT_TRUE(Ended(mainProgram, 0)) << "the main program got no 1127";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\TVRA"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kFlagsKeyPath)) << "the flags must survive";
    for (int i = 0; i < 100 && ServiceExists(L"TVRAService"); ++i)
        Sleep(100);
    EXPECT_FALSE(ServiceExists(L"TVRAService"));

    // The script spins in its loop until the wizard has gone, so it is still there.
    const std::string folder = install.string();
    const std::string script = (LocalAppData() / L"uninstallorvella.bat").string();
    EXPECT_EQ(FileBytes(fs::path(script).wstring()), ExpectedCleanupScript(folder, script));

    EXPECT_FALSE(ItemVisible(dialog, 1001));
    EXPECT_TRUE(ItemVisible(dialog, 2001));
    EXPECT_EQ(ItemText(dialog, IDCANCEL), L"&Finish");
    EXPECT_TRUE(IsDefaultButton(dialog, IDCANCEL));
    Sleep(300);
    SaveScreenshot(dialog, SelfPath().parent_path() / L"uninstaller-page1.bmp");

    // Finish asks nothing.
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Ended(wizard, 5000));
    for (int i = 0; i < 300 && fs::exists(script); ++i)
        Sleep(100);
    EXPECT_FALSE(fs::exists(script)) << "the script did not run to its end";

    for (const wchar_t *gone :
         {L"TVRAUninstaller.exe", L"TVRAService.exe", L"tvra.exe", L"hallet.dll",
          L"settings_default.ini", L"lang.eng", L"lang.esp", L"LICENSE.txt", L"images\\side.bmp",
          L"images\\start-normal.png", L"images\\1101.jpg", L"images", L"help"})
        EXPECT_FALSE(fs::exists(install / gone)) << fs::path(gone).string();
    // A file the setup program did not put there stays, and so does the folder that holds it.
    EXPECT_TRUE(fs::exists(install / L"notes.txt"));
    RunSc(L"delete TVRAService");
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
