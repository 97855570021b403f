// The options preview as a black box: a real TVRA_Sample window beside a stand-in for the
// options sheet, its paint read back through WM_PRINTCLIENT.
#include <windows.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <vector>

#include "common/messages.h"
#include "common/win_guards.h"
#include "render/drawing.h"
#include "render/options/preview.h"
#include "settings/settings.h"
#include "golden_pictures.h"
#include "object_count.h"

namespace {

constexpr const wchar_t *kSheetClass = L"OrvellaTestSheet";
constexpr RECT kSheet = {120, 60, 520, 480};  // 400 x 420

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

HWND MakePopup(const RECT &r)
{
    return CreateWindowExW(WS_EX_TOOLWINDOW, kSheetClass, L"", WS_POPUP | WS_VISIBLE, r.left,
                           r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                           Instance(), nullptr);
}

// The preview as the options sheet opens it: owned by the sheet, the sheet as parameter.
HWND OpenPreview(HWND sheet)
{
    return CreateWindowExW(WS_EX_TOOLWINDOW, kSampleClass, L"", WS_POPUP, 5, 5, 50, 50, sheet,
                           nullptr, Instance(), sheet);
}

// The preview's paint of its whole client area into a surface prefilled with `background`.
golden::Image PaintOf(HWND preview, uint32_t background = 0x12345678)
{
    RECT client;
    GetClientRect(preview, &client);
    TScreenDC screen;
    uint32_t *bits = nullptr;
    TGdiObject bitmap(CreateTopDownDib(screen.Get(), client.right, client.bottom, &bits));
    TMemoryDC memory(CreateCompatibleDC(screen.Get()));
    TSelection selected(memory.Get(), bitmap.Get());
    golden::Image image;
    if (!bits)
        return image;
    const size_t count = size_t(client.right) * client.bottom;
    std::fill(bits, bits + count, background);
    SendMessageW(preview, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
    GdiFlush();
    image.width = client.right;
    image.height = client.bottom;
    image.pixels.assign(bits, bits + count);
    return image;
}


// The golden look with glow in both forms, the framed style the preview must override, and
// icons and a log-off caption that do not depend on the prefix.
void SetFixedSettings(bool classic)
{
    golden::SetGoldenLook(classic, true, L"Orvella Preview");
    Settings.MenuStyle = kMenuStyleFramed;
    Settings.DrawBlur = true;
    Settings.Hilight = true;
    Settings.Days = 3;
    for (int slot = 0; slot < kSpecialIconCount; ++slot) {
        lstrcpyW(Settings.SpecialIconFile[slot], L"shell32.dll");
        Settings.SpecialIconIndex[slot] = slot + 4;
    }
    lstrcpyW(Settings.Local[LocalLogout], L"Log off...");
}

class Preview : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW sheet{};
        sheet.lpfnWndProc = DefWindowProcW;
        sheet.hInstance = Instance();
        sheet.lpszClassName = kSheetClass;
        RegisterClassW(&sheet);
        RegisterWindowClass(SampleWindowClass(), Instance());
    }
    void SetUp() override
    {
        SetFixedSettings(false);
        Settings.SelectionBitmap = golden::MakePicture(8, 8, RGB(60, 120, 230), 90, 160);
        Settings.HilightBitmap = golden::MakePicture(8, 8, RGB(250, 200, 60), 120, 120);
        sheet_ = MakePopup(kSheet);
        ASSERT_NE(sheet_, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(sheet_);
        DeleteObject(Settings.SelectionBitmap);
        DeleteObject(Settings.HilightBitmap);
        Settings.SelectionBitmap = Settings.HilightBitmap = nullptr;
    }
    HWND sheet_ = nullptr;
};

// The pixel of a paint at (x, y) without its alpha byte, as a colour reference.
COLORREF ColorAt(const golden::Image &image, int x, int y)
{
    const uint32_t p = image.pixels[size_t(y) * image.width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

} // namespace

TEST_F(Preview, StandsRightOfTheSheetAsTallAsItWithoutReordering)
{
    HWND other = MakePopup({600, 100, 700, 200});  // above the sheet
    SetForegroundWindow(sheet_);
    const HWND active = GetActiveWindow();
    ASSERT_EQ(GetWindow(other, GW_HWNDNEXT), sheet_);

    HWND preview = OpenPreview(sheet_);
    ASSERT_NE(preview, nullptr);
    RECT placed;
    GetWindowRect(preview, &placed);
    const int gap = 3 * (GetSystemMetrics(SM_CXDLGFRAME) + GetSystemMetrics(SM_CXBORDER));
    ASSERT_GT(gap, 0);
    EXPECT_EQ(placed.left, kSheet.right + gap);
    EXPECT_EQ(placed.top, kSheet.top);
    EXPECT_EQ(placed.right - placed.left, 300);
    EXPECT_EQ(placed.bottom - placed.top, kSheet.bottom - kSheet.top);
    EXPECT_EQ(GetWindow(other, GW_HWNDNEXT), sheet_) << "the windows keep their order";
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_FALSE(IsWindowVisible(preview)) << "showing it is the sheet's business";
    SendMessageW(preview, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(preview));

    // Without a sheet it keeps the place it was made at, and still paints.
    HWND alone = OpenPreview(nullptr);
    GetWindowRect(alone, &placed);
    EXPECT_EQ(placed.left, 5);
    EXPECT_EQ(placed.right, 55);
    EXPECT_EQ(PaintOf(alone).width, 50);
    DestroyWindow(alone);
    DestroyWindow(other);
}

TEST_F(Preview, PaintsWithoutFrameOrOutlineAndPutsTheMenuStyleBack)
{
    HWND preview = OpenPreview(sheet_);
    Settings.MenuStyle = kMenuStylePlain;
    const golden::Image plain = PaintOf(preview);
    ASSERT_FALSE(plain.pixels.empty());
    for (int style : {int(kMenuStyleFramed), int(kMenuStyleOutlined), 7}) {
        Settings.MenuStyle = style;
        EXPECT_TRUE(PaintOf(preview).pixels == plain.pixels) << "style " << style;
        EXPECT_EQ(Settings.MenuStyle, style);
    }
    // The window's own paint as well.
    Settings.MenuStyle = kMenuStyleOutlined;
    ShowWindow(preview, SW_SHOWNOACTIVATE);
    RedrawWindow(preview, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Settings.MenuStyle, kMenuStyleOutlined);
    DestroyWindow(preview);
}

TEST_F(Preview, ClassicMenusStandOnTheWindowColourOthersOnTheBackground)
{
    const int index = COLOR_WINDOW;
    const COLORREF saved = GetSysColor(index), window = RGB(10, 200, 30);
    SetSysColors(1, &index, &window);
    HWND preview = OpenPreview(sheet_);
    for (bool classic : {true, false}) {
        Settings.ClassicAppearance = classic;
        const golden::Image image = PaintOf(preview);
        // The bottom-right corner lies beside and below both levels.
        const int x = image.width - 1, y = image.height - 1;
        if (classic)
            EXPECT_EQ(ColorAt(image, x, y), window);
        else
            EXPECT_EQ(image.pixels[size_t(y) * image.width + x], 0u)
                << "see-through, for the blur behind";
    }
    DestroyWindow(preview);
    SetSysColors(1, &index, &saved);
}

TEST_F(Preview, OpenedAndClosedFiftyTimesLeavesNoObjectsBehind)
{
    // The count sees what is made: a brush, an icon, a window.
    const TObjectCount empty = CountObjects();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const BYTE andMask[2] = {0xFF, 0xFF}, xorMask[2] = {0, 0};  // one pixel, word-aligned rows
    HICON icon = CreateIcon(Instance(), 1, 1, 1, 1, andMask, xorMask);
    HWND window = MakePopup({0, 0, 10, 10});
    const TObjectCount probe = CountObjects();
    EXPECT_GT(probe.gdi, empty.gdi);
    EXPECT_GE(probe.user, empty.user + 2);
    DestroyWindow(window);
    DestroyIcon(icon);
    DeleteObject(brush);

    // Theme data, fonts and the shell's icon cache are made at the first use and kept.
    for (bool classic : {false, true}) {
        Settings.ClassicAppearance = classic;
        HWND first = OpenPreview(sheet_);
        PaintOf(first);
        SendMessageW(first, WM_CLOSE, 0, 0);
    }
    const TObjectCount before = CountObjects();

    for (int cycle = 0; cycle < 50; ++cycle) {
        Settings.ClassicAppearance = cycle % 3 == 0;
        HWND preview = OpenPreview(sheet_);
        ASSERT_NE(preview, nullptr);
        PaintOf(preview);
        if (cycle % 2 == 0)
            SendMessageW(preview, WM_CLOSE, 0, 0);
        else
            DestroyWindow(preview);  // with the options sheet, say
        ASSERT_FALSE(IsWindow(preview));
    }
    const TObjectCount after = CountObjects();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

TEST_F(Preview, ThemedAndClassicPaintsMatchTheirReferences)
{
    TThemeData theme(OpenThemeData(nullptr, L"MENU"));
    ASSERT_NE(theme.Get(), nullptr) << "the test prefix has a visual style";
    struct Case {
        bool classic;
        const wchar_t *name;
    } cases[] = {{false, L"preview_themed"}, {true, L"preview_classic"}};
    for (const Case &c : cases) {
        SetFixedSettings(c.classic);
        HWND preview = OpenPreview(sheet_);
        golden::ExpectMatchesGolden(PaintOf(preview), L"preview", c.name);
        DestroyWindow(preview);
    }
}

int wmain(int argc, wchar_t **argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the pictures are read through WIC
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
