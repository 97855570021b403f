// The main window's own handling of its timers and of the session end, on a host window
// that hands those messages to the main window procedure over a real menu tree.
#include "tests/windows/menu_window_fixture.h"

#include "app/hook_loader.h"
#include "app/main_window.h"
#include "app/menu_tree.h"
#include "menu/execute.h"
#include "menu/menu_build.h"
#include "test_files.h"

namespace {

constexpr const wchar_t *kHostClass = L"OrvellaMainWindowHost";
int timerMessages = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        ++timerMessages;
        return MainWindowProc(window, message, wParam, lParam);
    case WM_ENDSESSION:
        return MainWindowProc(window, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void MakeFile(const std::wstring &path)
{
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
}

class MainWindowRequests : public testing::Test {
protected:
    void SetUp() override
    {
        ClearRecords();
        MenuState = {};
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"orvella-main-" + std::to_wstring(GetTickCount()) + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        MakeFile(folder_ + L"First.txt");
        savedFolders_ = MenuFolders;
        wcscpy(MenuFolders.UserStartMenu, folder_.c_str());
        MenuFolders.CommonStartMenu[0] = 0;
        MenuFolders.Programs[0] = 0;
        wcscpy(MenuFolders.OrderFile, (folder_ + L"sort.txt").c_str());
        wcscpy(Settings.ShowString, L"-");

        WNDCLASSW host{};
        host.lpfnWndProc = HostProc;
        host.hInstance = GetModuleHandleW(nullptr);
        host.lpszClassName = kHostClass;
        RegisterClassW(&host);
        host_ = CreateWindowExW(0, kHostClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                host.hInstance, nullptr);
        MainWindowState.RootLevel = new TMenu(nullptr, false);
        BuildAll(Root());
    }
    void TearDown() override
    {
        KillTimer(host_, TIMER_REBUILD);
        delete MainWindowState.RootLevel;
        MainWindowState.RootLevel = nullptr;
        DestroyWindow(host_);
        MenuFolders = savedFolders_;
        RemoveTree(folder_);
    }

public:
    TMenu *Root() { return MainWindowState.RootLevel; }
    bool ShowsLater() { return Root()->ItemWithPath((folder_ + L"Later.txt").c_str()) != nullptr; }

    // A Start Menu change whose rebuild timer falls due twice while `busy` holds.
    void ChangeAndLetTheTimerFire()
    {
        MakeFile(folder_ + L"Later.txt");
        timerMessages = 0;
        SetTimer(host_, TIMER_REBUILD, 1, nullptr);
        EXPECT_TRUE(PumpUntil([] { return timerMessages >= 2; }, 5000));
        rebuiltWhileBusy_ = rebuiltWhileBusy_ || ShowsLater();
    }

protected:
    std::wstring folder_;
    TMenuFolders savedFolders_{};
    HWND host_ = nullptr;
    bool rebuiltWhileBusy_ = false;
};

MainWindowRequests *current = nullptr;

void LaunchWhileTheMenuChanges(HWND, const wchar_t *, const wchar_t *, const wchar_t *, int)
{
    current->ChangeAndLetTheTimerFire();
}

} // namespace

// A dialog, a drag or a command in progress runs a message loop of its own while code on the
// stack still holds levels: the rebuild waits for it and comes right after.
TEST_F(MainWindowRequests, RebuildWaitsWhileTheMenuIsInUse)
{
    current = this;
    // A flag that marks the state, or none for an item's command.
    struct Case {
        const char *name;
        bool TMenuState::*flag;
    } cases[] = {
        {"dialog", &TMenuState::DialogOpen},
        {"drag from the menu", &TMenuState::DraggingFromMenu},
        {"drag over the menu", &TMenuState::DragOver},
        {"command", nullptr},
    };
    for (const Case &c : cases) {
        DeleteFileW((folder_ + L"Later.txt").c_str());
        Rebuild(Root());
        ASSERT_FALSE(ShowsLater()) << c.name;
        rebuiltWhileBusy_ = false;
        if (c.flag) {
            MenuState.*c.flag = true;
            ChangeAndLetTheTimerFire();
            MenuState.*c.flag = false;
        } else {
            LaunchSeam.ShellExecute = LaunchWhileTheMenuChanges;
            SetHot(Root(), 0);
            Execute(Root(), false);
            LaunchSeam.ShellExecute = RecordExecute;
        }
        EXPECT_FALSE(rebuiltWhileBusy_) << c.name;
        EXPECT_TRUE(PumpUntil([this] { return ShowsLater(); }, 5000)) << c.name;
    }
}

// WM_ENDSESSION with FALSE: the shut-down was cancelled and the session goes on.
TEST_F(MainWindowRequests, SessionEndCleansUpOnlyWhenTheSessionReallyEnds)
{
    // The stand-in button would be waited for; the taskbar stand-in records the request.
    DestroyWindow(MenuWindowEnvironment::StartButton);
    WNDCLASSW tray{};
    tray.lpfnWndProc = RecordingProc;
    tray.hInstance = GetModuleHandleW(nullptr);
    tray.lpszClassName = kTaskbarClass;
    RegisterClassW(&tray);
    HWND taskbar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTaskbarClass, L"",
                                   WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, tray.hInstance, nullptr);
    for (BOOL ending : {FALSE, TRUE}) {
        ClearRecords();
        MenuState.ShieldBitmap = CreateBitmap(1, 1, 1, 32, nullptr);
        HookLibrary.MessageHook = reinterpret_cast<HHOOK>(1);
        SendMessageW(host_, WM_ENDSESSION, ending, 0);
        Pump(0);  // delivers what the handler posted to this thread's taskbar
        EXPECT_EQ(CountReceived(kTaskbarClass, UM_TASKBAR_REMOVE_BUTTON), ending ? 1 : 0);
        EXPECT_EQ(MenuState.ShieldBitmap != nullptr, !ending) << ending;
        EXPECT_EQ(HookLibrary.MessageHook != nullptr, !ending) << ending;
        if (MenuState.ShieldBitmap)
            DeleteObject(MenuState.ShieldBitmap);
    }
    HookLibrary.MessageHook = nullptr;
    DestroyWindow(taskbar);
}

int wmain(int argc, wchar_t **argv)
{
    CoInitialize(nullptr);
    LoadSettings();
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new MenuWindowEnvironment);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
