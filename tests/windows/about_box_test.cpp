// The about box as a user meets it (a "user" thread reads it, clicks its links, presses its
// keys), the start button hidden around it, and the one version number in every program.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/start_button_menu.h"
#include "common/messages.h"
#include "orvella_version.h"
#include "render/options/about_box.h"
#include "settings/settings.h"
#include "dialog_user.h"
#include "test_files.h"
#include "tvra_resources.h"

namespace {

constexpr const wchar_t *kVersion = L"" ORV_VERSION_TEXT;

struct TOpened {
    HWND owner;
    std::wstring target;
};
std::vector<TOpened> opened;

void RecordOpen(HWND owner, const wchar_t *target)
{
    opened.push_back({owner, target});
}

class AboutBoxTest : public testing::Test {
protected:
    void SetUp() override
    {
        wcscpy(Settings.Local[LocalDlg_104], L"About this program");
        wcscpy(Settings.Local[LocalDlg_Ok], L"Fine");
        opened.clear();
        AboutBoxSeam.Open = RecordOpen;
    }
    void TearDown() override { AboutBoxSeam.Open = OpenWithShell; }
};

std::wstring LicensePath()
{
    wchar_t folder[MAX_PATH];
    GetProgramFolder(folder);
    return std::wstring(folder) + L"\\LICENSE.txt";
}

TEST_F(AboutBoxTest, ShowsItsCaptionTheVersionAndTheFocusOnOk)
{
    std::wstring caption, title, ok;
    bool okFocused = false;
    INT_PTR result = 0;
    ASSERT_TRUE(RunWithUser([&] { result = RunAboutBox(nullptr); },
                            [&](HWND dialog) {
                                caption = TextOf(dialog);
                                title = TextOf(GetDlgItem(dialog, IDC_ABOUT_TITLE));
                                ok = TextOf(GetDlgItem(dialog, IDOK));
                                okFocused = FocusOfTestThread() == GetDlgItem(dialog, IDOK);
                                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                            }));
    EXPECT_EQ(caption, L"About this program");
    EXPECT_EQ(title, L"Orvella " ORV_VERSION_TEXT);
    EXPECT_EQ(ok, L"Fine");
    EXPECT_TRUE(okFocused);
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(opened.empty());
}

// Each link opens its target once, by a click and by Enter alike, and the box stays open.
TEST_F(AboutBoxTest, EachLinkOpensItsTargetByClickAndByEnter)
{
    const struct {
        int link;
        std::wstring target;
    } links[] = {
        {IDC_ABOUT_LICENSE, LicensePath()},
        {IDC_ABOUT_UPDATES, L"https://orvella.example/"},
        {IDC_ABOUT_CONTACT, L"mailto:developers@orvella.example"},
    };
    for (const auto &l : links) {
        for (bool byEnter : {false, true}) {
            opened.clear();
            HWND shown = nullptr;
            bool openAfter = false;
            INT_PTR result = 0;
            ASSERT_TRUE(RunWithUser(
                [&] { result = RunAboutBox(nullptr); },
                [&](HWND dialog) {
                    shown = dialog;
                    HWND link = GetDlgItem(dialog, l.link);
                    if (byEnter) {
                        PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);
                        Settle(dialog);
                        PostMessageW(link, WM_KEYDOWN, VK_RETURN, 0);
                        PostMessageW(link, WM_KEYUP, VK_RETURN, 0);
                    } else {
                        PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
                        PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
                    }
                    Settle(dialog);
                    openAfter = IsWindowVisible(dialog);
                    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                }))
                << l.link;
            const char *how = byEnter ? "Enter" : "click";
            EXPECT_TRUE(openAfter) << l.link << " " << how;
            EXPECT_EQ(result, IDOK) << l.link << " " << how;
            ASSERT_EQ(opened.size(), 1u) << l.link << " " << how;
            EXPECT_EQ(opened[0].target, l.target) << l.link << " " << how;
            EXPECT_EQ(opened[0].owner, shown) << l.link << " " << how;
        }
    }
}

// Escape, the close box and a plain IDCANCEL leave the box open; only OK ends it.
TEST_F(AboutBoxTest, OnlyOkEndsTheBox)
{
    bool openAfter = false;
    INT_PTR result = 0;
    ASSERT_TRUE(RunWithUser([&] { result = RunAboutBox(nullptr); },
                            [&](HWND dialog) {
                                PostMessageW(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
                                PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                                PostMessageW(dialog, WM_CLOSE, 0, 0);
                                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                                Settle(dialog);
                                openAfter = IsWindowVisible(dialog);
                                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                            }));
    EXPECT_TRUE(openAfter);
    EXPECT_EQ(result, IDOK);
}

// ---- The start button's about command ----

struct TEnable {
    WPARAM shown;
    bool aboutBoxUp;
};
std::vector<TEnable> enables;

LRESULT CALLBACK FakeButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == UM_BUTTON_ENABLE) {
        enables.push_back({wParam, DialogOfTestThread(false) != nullptr});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(AboutBoxTest, TheStartButtonsAboutCommandHidesTheButtonWhileTheBoxIsOpen)
{
    WNDCLASSW record = {};
    record.lpfnWndProc = FakeButtonProc;
    record.hInstance = GetModuleHandleW(nullptr);
    record.lpszClassName = kStartButtonClass;
    RegisterClassW(&record);
    HWND button = CreateWindowExW(0, kStartButtonClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    enables.clear();
    bool hiddenWhileOpen = false;
    ASSERT_TRUE(RunWithUser([&] { RunStartButtonCommand(owner, CMD_BUTTON_ABOUT); },
                            [&](HWND dialog) {
                                Settle(dialog);
                                hiddenWhileOpen = enables.size() == 1 && enables[0].shown == 0;
                                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                            }));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_TRUE(hiddenWhileOpen);
    ASSERT_EQ(enables.size(), 2u);
    EXPECT_EQ(enables[0].shown, 0u);
    EXPECT_FALSE(enables[0].aboutBoxUp) << "the button is gone before the box shows";
    EXPECT_EQ(enables[1].shown, 1u);
    EXPECT_FALSE(enables[1].aboutBoxUp);
    DestroyWindow(owner);
    DestroyWindow(button);
}

// ---- The version ----

// "4.08.5" -> {4, 8, 5}: the numbers a version resource must hold for the text.
std::vector<int> VersionNumbers(const wchar_t *text)
{
    std::vector<int> numbers;
    for (const wchar_t *p = text; *p;) {
        wchar_t *end = nullptr;
        numbers.push_back(int(wcstol(p, &end, 10)));
        p = *end == L'.' ? end + 1 : end;
    }
    return numbers;
}

std::wstring VersionString(const std::vector<BYTE> &info, const wchar_t *name)
{
    struct {
        WORD language, codePage;
    } *translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void **>(&translation), &size) || size < 4)
        return L"<no translation>";
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
             translation->codePage, name);
    wchar_t *value = nullptr;
    if (!VerQueryValueW(info.data(), path, reinterpret_cast<void **>(&value), &size))
        return L"<missing>";
    return value;
}

// Every program and the setup carry the one version: the text as written, the numbers
// without leading zeros.
TEST(Version, EveryProgramAndTheSetupCarryTheOneVersion)
{
    const std::vector<int> numbers = VersionNumbers(kVersion);
    ASSERT_EQ(numbers.size(), 3u) << "a version of three parts";
    const std::wstring image = WindowsPath(ORVELLA_IMAGE_DIR);
    const std::wstring files[] = {
        image + L"\\tvra.exe",
        image + L"\\hallet.dll",
        image + L"\\TVRAService.exe",
        image + L"\\brisel.exe",
        image + L"\\TVRAUninstaller.exe",
        image + L"\\..\\Orvella-" + kVersion + L"-setup.exe",
    };
    for (const std::wstring &file : files) {
        const std::string name(file.begin(), file.end());
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        ASSERT_NE(size, 0u) << name;
        std::vector<BYTE> info(size);
        ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, info.data())) << name;
        VS_FIXEDFILEINFO *fixed = nullptr;
        UINT fixedSize = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void **>(&fixed),
                                   &fixedSize))
            << name;
        EXPECT_EQ(fixed->dwFileVersionMS, DWORD(numbers[0] << 16 | numbers[1])) << name;
        EXPECT_EQ(fixed->dwFileVersionLS, DWORD(numbers[2] << 16)) << name;
        EXPECT_EQ(fixed->dwProductVersionMS, DWORD(numbers[0] << 16 | numbers[1])) << name;
        EXPECT_EQ(VersionString(info, L"ProductVersion"), kVersion) << name;
        EXPECT_EQ(VersionString(info, L"FileVersion"), kVersion) << name;
    }
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    StartDialogUser();
    CoInitialize(nullptr);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
