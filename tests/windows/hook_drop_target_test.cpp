// The start button's drop target on a plain window that records what the target sends it.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "common/messages.h"
#include "hook/button_state.h"

namespace {

constexpr int kButtonX = 100, kButtonY = 200, kButtonSize = 48;

struct Sent {
    UINT message;
    LPARAM lParam;
};
std::vector<Sent> g_sent;

LRESULT CALLBACK RecordingButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == UM_BUTTON_DRAG_MOVE || message == UM_BUTTON_DRAG_ENTER ||
        message == UM_BUTTON_DRAG_LEAVE)
        g_sent.push_back({message, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

class ButtonDropTarget : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingButtonProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"HookDropTargetTestButton";
        RegisterClassW(&wc);
        button = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                                 kButtonX, kButtonY, kButtonSize, kButtonSize, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        target = CreateButtonDropTarget(button);
        ASSERT_NE(target, nullptr);
        SHCreateDataObject(nullptr, 0, nullptr, nullptr, IID_PPV_ARGS(&data));
        g_sent.clear();
    }
    void TearDown() override
    {
        if (data)
            data->Release();
        if (target) {
            EXPECT_EQ(target->Release(), 0u);
        }
        DestroyWindow(button);
        OleUninitialize();
    }

    HWND button = nullptr;
    IDropTarget *target = nullptr;
    IDataObject *data = nullptr;
};

TEST_F(ButtonDropTarget, CountsReferencesAndAnswersOnlyItsInterfaces)
{
    EXPECT_EQ(target->AddRef(), 2u);
    EXPECT_EQ(target->Release(), 1u);

    IUnknown *unknown = nullptr;
    ASSERT_EQ(target->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown *>(target));
    EXPECT_EQ(unknown->Release(), 1u);
    IDropTarget *again = nullptr;
    ASSERT_EQ(target->QueryInterface(IID_IDropTarget, reinterpret_cast<void **>(&again)), S_OK);
    EXPECT_EQ(again->Release(), 1u);

    void *other = reinterpret_cast<void *>(1);
    EXPECT_EQ(target->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
}

TEST_F(ButtonDropTarget, OffersCopyWhenAllowedAndTellsTheButton)
{
    struct Case {
        DWORD offered, shown;
    } cases[] = {
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {DROPEFFECT_COPY | DROPEFFECT_LINK, DROPEFFECT_COPY},
        {DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {DROPEFFECT_MOVE | DROPEFFECT_LINK, DROPEFFECT_MOVE | DROPEFFECT_LINK},
        {DROPEFFECT_NONE, DROPEFFECT_NONE},
    };
    for (const Case &c : cases) {
        g_sent.clear();
        DWORD effect = c.offered;
        EXPECT_EQ(target->DragEnter(data, MK_LBUTTON, {kButtonX + 5, kButtonY + 5}, &effect), S_OK);
        EXPECT_EQ(effect, c.shown) << "enter, offered " << c.offered;
        effect = c.offered;
        EXPECT_EQ(target->DragOver(MK_LBUTTON, {kButtonX + 10, kButtonY + 30}, &effect), S_OK);
        EXPECT_EQ(effect, c.shown) << "over, offered " << c.offered;
        EXPECT_EQ(target->DragLeave(), S_OK);

        ASSERT_EQ(g_sent.size(), 3u);
        EXPECT_EQ(g_sent[0].message, static_cast<UINT>(UM_BUTTON_DRAG_ENTER));
        EXPECT_EQ(g_sent[1].message, static_cast<UINT>(UM_BUTTON_DRAG_MOVE));
        EXPECT_EQ(g_sent[1].lParam, MAKELPARAM(10, 30)) << "client coordinates";
        EXPECT_EQ(g_sent[2].message, static_cast<UINT>(UM_BUTTON_DRAG_LEAVE));
    }
}

// Closes the refusal box from another thread and reports what it said.
struct RefusalWatcher {
    HWND owner;
    std::atomic<bool> seen{false};
    wchar_t text[128] = {};
    HWND boxOwner = nullptr;

    static DWORD WINAPI Run(void *param)
    {
        auto *self = static_cast<RefusalWatcher *>(param);
        for (int i = 0; i < 200; ++i) {
            if (HWND box = FindWindowW(L"#32770", L"Error")) {
                GetDlgItemTextW(box, 0xFFFF, self->text, 128);
                self->boxOwner = GetWindow(box, GW_OWNER);
                self->seen = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return 0;
            }
            Sleep(25);
        }
        return 0;
    }
};

TEST_F(ButtonDropTarget, DropIsRefusedWithAMessageAndStopsTheRestTimer)
{
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(data, MK_LBUTTON, {kButtonX + 5, kButtonY + 5}, &effect);
    g_sent.clear();

    RefusalWatcher watcher{button};
    HANDLE thread = CreateThread(nullptr, 0, RefusalWatcher::Run, &watcher, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(data, 0, {kButtonX + 5, kButtonY + 5}, &effect), S_OK);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);

    EXPECT_TRUE(watcher.seen);
    EXPECT_STREQ(watcher.text, L"You can't drop here");
    EXPECT_EQ(watcher.boxOwner, button);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "the source keeps its data";
    ASSERT_FALSE(g_sent.empty());
    EXPECT_EQ(g_sent.front().message, static_cast<UINT>(UM_BUTTON_DRAG_LEAVE));
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
