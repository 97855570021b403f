// The program's own controls as black boxes: real windows in a parent that records what
// they report, driven by window messages, their paint read back through WM_PRINTCLIENT.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/messages.h"
#include "common/win_guards.h"
#include "render/options/color_control.h"
#include "render/options/icon_button.h"
#include "render/options/icon_control.h"
#include "settings/settings.h"
#include "test_files.h"

namespace {

constexpr const wchar_t *kParentClass = L"OrvellaControlParent";
constexpr int kControlId = 7;
constexpr int kSize = 40;

struct TReport {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<TReport> reports;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message >= WM_USER) {
        reports.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void DeliverPosted()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

int CountReports(UINT message)
{
    int n = 0;
    for (const TReport &r : reports)
        n += r.message == message;
    return n;
}

// The control's paint into a fresh surface of its size, and one pixel of it.
COLORREF PaintedPixel(HWND control, int x, int y, COLORREF background = RGB(1, 2, 3))
{
    uint32_t *bits = nullptr;
    TScreenDC screen;
    TMemoryDC memory(CreateCompatibleDC(screen.Get()));
    TGdiObject bitmap(CreateTopDownDib(screen.Get(), kSize, kSize, &bits));
    TSelection selected(memory.Get(), bitmap.Get());
    TGdiObject brush(CreateSolidBrush(background));
    RECT all = {0, 0, kSize, kSize};
    FillRect(memory.Get(), &all, static_cast<HBRUSH>(brush.Get()));
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    GdiFlush();
    return GetPixel(memory.Get(), x, y);
}

class ControlTest : public testing::Test {
protected:
    void SetUp() override
    {
        reports.clear();
        parent_ = CreateWindowExW(0, kParentClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(parent_);
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND Make(const wchar_t *className)
    {
        return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE, 10, 10, kSize, kSize,
                               parent_, reinterpret_cast<HMENU>(INT_PTR(kControlId)),
                               GetModuleHandleW(nullptr), nullptr);
    }

    HWND parent_ = nullptr;
};

// ---- The picture button ----

// Solid pictures for the button of id kControlId, written where the button looks for
// them; the test program's folder stands for the program folder.
constexpr COLORREF kHotColor = RGB(200, 30, 30);
constexpr COLORREF kPressedColor = RGB(30, 200, 30);
constexpr COLORREF kNormalColor = RGB(30, 30, 200);

void WriteSolidBitmap(const std::wstring &path, COLORREF color)
{
    constexpr int side = 4;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = side;
    info.biHeight = side;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD pixel = GetBValue(color) | GetGValue(color) << 8 | GetRValue(color) << 16 |
                        0xFF000000u;
    std::vector<DWORD> pixels(side * side, pixel);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = DWORD(file.bfOffBits + pixels.size() * 4);
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &info, sizeof info, &written, nullptr);
    WriteFile(out, pixels.data(), DWORD(pixels.size() * 4), &written, nullptr);
    CloseHandle(out);
}

class IconButtonTest : public ControlTest {
protected:
    static void SetUpTestSuite()
    {
        wchar_t folder[MAX_PATH];
        GetProgramFolder(folder);
        images_ = std::wstring(folder) + L"\\images\\";
        CreateDirectoryW(images_.c_str(), nullptr);
        const std::wstring id = std::to_wstring(kControlId);
        WriteSolidBitmap(images_ + id + L".jpg", kHotColor);
        WriteSolidBitmap(images_ + std::to_wstring(kControlId + 100) + L".jpg", kPressedColor);
        WriteSolidBitmap(images_ + std::to_wstring(kControlId + 200) + L".jpg", kNormalColor);
    }
    static void TearDownTestSuite() { RemoveTree(images_); }

    void SetUp() override
    {
        ControlTest::SetUp();
        button_ = Make(kIconButtonClass);
    }
    COLORREF Shown() { return PaintedPixel(button_, kSize / 2, kSize / 2); }
    int Clicks()
    {
        DeliverPosted();
        int n = 0;
        for (const TReport &r : reports)
            n += r.message == WM_COMMAND && LOWORD(r.wParam) == kControlId &&
                 reinterpret_cast<HWND>(r.lParam) == button_;
        return n;
    }
    void Mouse(UINT message, int x, int y) { SendMessageW(button_, message, 0, MAKELPARAM(x, y)); }

    static inline std::wstring images_;
    HWND button_ = nullptr;
};

TEST_F(IconButtonTest, PressLeaveAndComeBackShowsThePressedPictureAndClicksOnce)
{
    EXPECT_EQ(Shown(), kNormalColor);
    Mouse(WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(Shown(), kHotColor);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(Shown(), kPressedColor);
    EXPECT_EQ(GetFocus(), button_);
    Mouse(WM_MOUSEMOVE, kSize + 20, 5);
    EXPECT_EQ(Shown(), kHotColor);
    Mouse(WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(Shown(), kPressedColor);
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(Shown(), kHotColor);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(IconButtonTest, ReleaseOutsideOrOnTheEdgeIsNoClick)
{
    for (POINT release : {POINT{kSize + 20, 5}, POINT{kSize, 5}, POINT{0, 5}}) {
        Mouse(WM_LBUTTONDOWN, 5, 5);
        Mouse(WM_MOUSEMOVE, release.x, release.y);
        Mouse(WM_LBUTTONUP, release.x, release.y);
        EXPECT_EQ(Clicks(), 0) << release.x;
    }
}

TEST_F(IconButtonTest, SpaceShowsThePressedPictureAndClicksOnReleaseEnterAtOnce)
{
    SetFocus(button_);
    SendMessageW(button_, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(Shown(), kPressedColor);
    EXPECT_EQ(Clicks(), 0);
    SendMessageW(button_, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(Shown(), kHotColor);
    EXPECT_EQ(Clicks(), 1);
    SendMessageW(button_, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Shown(), kHotColor);
    EXPECT_EQ(Clicks(), 2);
    SendMessageW(button_, WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(Clicks(), 2);
}

TEST_F(IconButtonTest, KeysDoNothingWithoutTheFocus)
{
    SetFocus(parent_);
    SendMessageW(button_, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(button_, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(button_, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(Clicks(), 0);
    EXPECT_EQ(Shown(), kNormalColor);
}

// ---- The colour box ----

struct TChooseCall {
    HWND owner;
    COLORREF initial;
    DWORD flags;
};
std::vector<TChooseCall> chooseCalls;
COLORREF chooseAnswer = 0;
BOOL chooseResult = FALSE;

BOOL WINAPI AnswerChooseColor(CHOOSECOLORW *choose)
{
    chooseCalls.push_back({choose->hwndOwner, choose->rgbResult, choose->Flags});
    if (chooseResult)
        choose->rgbResult = chooseAnswer;
    return chooseResult;
}

class ColorControlTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        chooseCalls.clear();
        box_ = Make(kColorControlClass);
    }
    void TearDown() override
    {
        ColorControlSeam.ChooseColor = ChooseColorW;
        ControlTest::TearDown();
    }
    COLORREF Color() { return COLORREF(SendMessageW(box_, UM_COLOR_GET, 0, 0)); }

    HWND box_ = nullptr;
};

TEST_F(ColorControlTest, HoldsTheColourItIsGivenAndPaintsItInsideABlackFrame)
{
    EXPECT_EQ(Color(), RGB(0, 0, 0));
    SendMessageW(box_, UM_COLOR_SET, RGB(12, 200, 99), 0);
    EXPECT_EQ(Color(), RGB(12, 200, 99));
    EXPECT_EQ(PaintedPixel(box_, kSize / 2, kSize / 2), RGB(12, 200, 99));
    EXPECT_EQ(PaintedPixel(box_, 0, kSize / 2), RGB(0, 0, 0));
}

TEST_F(ColorControlTest, DisabledShowsSystemColourZero)
{
    SendMessageW(box_, UM_COLOR_SET, RGB(12, 200, 99), 0);
    EnableWindow(box_, FALSE);
    EXPECT_EQ(PaintedPixel(box_, kSize / 2, kSize / 2), GetSysColor(COLOR_SCROLLBAR));
    EXPECT_EQ(Color(), RGB(12, 200, 99));
    EnableWindow(box_, TRUE);
    EXPECT_EQ(PaintedPixel(box_, kSize / 2, kSize / 2), RGB(12, 200, 99));
}

TEST_F(ColorControlTest, RightClickOnlyTellsTheParent)
{
    SendMessageW(box_, UM_COLOR_SET, RGB(1, 2, 3), 0);
    ColorControlSeam.ChooseColor = AnswerChooseColor;
    SendMessageW(box_, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    DeliverPosted();
    ASSERT_EQ(CountReports(UM_COLOR_RIGHT_CLICK), 1);
    EXPECT_EQ(reports.back().lParam, kControlId);
    EXPECT_EQ(Color(), RGB(1, 2, 3));
    EXPECT_TRUE(chooseCalls.empty());
}

TEST_F(ColorControlTest, ClickAsksTheColourDialogAndReportsOnlyAnAcceptedColour)
{
    ColorControlSeam.ChooseColor = AnswerChooseColor;
    SendMessageW(box_, UM_COLOR_SET, RGB(1, 2, 3), 0);
    struct Case {
        BOOL accepted;
        COLORREF answer;
        COLORREF after;
        int reports;
    } cases[] = {
        {FALSE, RGB(9, 9, 9), RGB(1, 2, 3), 0},
        {TRUE, RGB(50, 60, 70), RGB(50, 60, 70), 1},
    };
    for (const Case &c : cases) {
        reports.clear();
        chooseCalls.clear();
        chooseResult = c.accepted;
        chooseAnswer = c.answer;
        const COLORREF before = Color();
        SendMessageW(box_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ASSERT_EQ(chooseCalls.size(), 1u);
        EXPECT_EQ(chooseCalls[0].owner, box_);
        EXPECT_EQ(chooseCalls[0].initial, before);
        EXPECT_EQ(chooseCalls[0].flags, DWORD(CC_RGBINIT | CC_FULLOPEN));
        EXPECT_EQ(Color(), c.after);
        EXPECT_EQ(CountReports(UM_COLOR_CHOSEN), c.reports);
        if (c.reports) {
            EXPECT_EQ(reports.back().wParam, c.answer);
            EXPECT_EQ(reports.back().lParam, kControlId);
        }
    }
}

// The system's own dialog, answered from another thread as a user would.
TEST_F(ColorControlTest, TheSystemDialogStartsFromTheBoxsColour)
{
    SendMessageW(box_, UM_COLOR_SET, RGB(40, 80, 120), 0);
    for (int button : {IDCANCEL, IDOK}) {
        reports.clear();
        std::atomic<bool> answered = false;
        std::thread user([&] {
            for (int tries = 0; tries < 500 && !answered; ++tries) {
                if (HWND dialog = FindWindowW(L"#32770", nullptr)) {
                    PostMessageW(dialog, WM_COMMAND, button, 0);
                    answered = true;
                }
                Sleep(10);
            }
        });
        SendMessageW(box_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        user.join();
        ASSERT_TRUE(answered) << button;
        EXPECT_EQ(CountReports(UM_COLOR_CHOSEN), button == IDOK ? 1 : 0) << button;
        EXPECT_EQ(Color(), RGB(40, 80, 120)) << button;
    }
}

// ---- The icon box ----

HICON MakeIcon(COLORREF color)
{
    const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    TScreenDC screen;
    uint32_t *bits = nullptr;
    HBITMAP colorBitmap = CreateTopDownDib(screen.Get(), w, h, &bits);
    const uint32_t pixel = 0xFF000000u | GetRValue(color) << 16 | GetGValue(color) << 8 |
                           GetBValue(color);
    std::fill(bits, bits + w * h, pixel);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    ICONINFO info = {TRUE, 0, 0, mask, colorBitmap};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colorBitmap);
    return icon;
}

bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

TEST_F(ControlTest, IconBoxShowsItsIconCentredAndDestroysOnlyTheLastOneOnClose)
{
    HWND box = CreateWindowExW(0, kIconControlClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 64, 64,
                               parent_, nullptr, GetModuleHandleW(nullptr), nullptr);
    HICON first = MakeIcon(RGB(250, 0, 0));
    HICON second = MakeIcon(RGB(0, 0, 250));
    EXPECT_EQ(PaintedPixel(box, 20, 20), RGB(1, 2, 3));
    SendMessageW(box, UM_ICON_SET, reinterpret_cast<WPARAM>(first), 0);
    SendMessageW(box, UM_ICON_SET, reinterpret_cast<WPARAM>(second), 0);
    // 64 x 64 with a 32 x 32 icon: the icon covers 16..47.
    EXPECT_EQ(PaintedPixel(box, 20, 20), RGB(0, 0, 250));
    EXPECT_EQ(PaintedPixel(box, 12, 12), RGB(1, 2, 3));
    EXPECT_TRUE(IconAlive(first));
    SendMessageW(box, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IconAlive(second));
    EXPECT_TRUE(IconAlive(first));
    EXPECT_TRUE(IsWindow(box));
    // A second close has nothing left to destroy.
    SendMessageW(box, WM_CLOSE, 0, 0);
    EXPECT_EQ(PaintedPixel(box, 20, 20), RGB(1, 2, 3));
    DestroyIcon(first);
    DestroyWindow(box);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (TWindowClass (*record)() :
         {IconButtonWindowClass, ColorControlWindowClass, IconControlWindowClass})
        RegisterWindowClass(record(), instance);
    WNDCLASSW parent{};
    parent.lpfnWndProc = ParentProc;
    parent.hInstance = instance;
    parent.lpszClassName = kParentClass;
    RegisterClassW(&parent);
    CoInitialize(nullptr);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
