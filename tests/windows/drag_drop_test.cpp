// Drag and drop on real levels: the drop target's translation of the drag protocol (with a
// data object of the test's own), the right-drag menu, the insertion markers, the resting
// drag that opens a folder, the drag image, and what a drop does to a real Start Menu tree
// of user and all-users folders (moves, reorders, refusals, failed moves).
#include "tests/windows/menu_window_fixture.h"

#include <ole2.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "common/win_text.h"
#include "menu/drag_drop.h"
#include "menu/menu_build.h"
#include "render/options/shortcut_maker.h"
#include "resources/tvra_resources.h"
#include "tests/windows/test_files.h"

namespace {

// ---- A data object of the test's own ----

struct TOffered {
    CLIPFORMAT format;
    std::string bytes;
    DWORD tymed = TYMED_HGLOBAL;
};

class TTestDataObject final : public IDataObject {
public:
    explicit TTestDataObject(std::vector<TOffered> offered) : offered_(std::move(offered)) {}
    std::vector<CLIPFORMAT> asked;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *out = static_cast<IDataObject *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC *format, STGMEDIUM *medium) override
    {
        asked.push_back(format->cfFormat);
        for (const TOffered &offer : offered_) {
            if (offer.format != format->cfFormat)
                continue;
            if (offer.tymed != TYMED_HGLOBAL) {
                // Offered in another medium only: a stream the receiver must release.
                medium->tymed = TYMED_ISTREAM;
                medium->pstm = SHCreateMemStream(reinterpret_cast<const BYTE *>(offer.bytes.data()),
                                                 UINT(offer.bytes.size()));
                medium->pUnkForRelease = nullptr;
                return S_OK;
            }
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, offer.bytes.size());
            CopyMemory(GlobalLock(block), offer.bytes.data(), offer.bytes.size());
            GlobalUnlock(block);
            medium->tymed = TYMED_HGLOBAL;
            medium->hGlobal = block;
            medium->pUnkForRelease = nullptr;
            return S_OK;
        }
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC *, STGMEDIUM *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC *format) override
    {
        for (const TOffered &offer : offered_)
            if (offer.format == format->cfFormat)
                return S_OK;
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC *, FORMATETC *out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC *, STGMEDIUM *, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC **out) override
    {
        *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC *, DWORD, IAdviseSink *, DWORD *) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA **) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<TOffered> offered_;
    ULONG refs_ = 1;
};

CLIPFORMAT HtmlFormat() { return CLIPFORMAT(RegisterClipboardFormatW(L"HTML Format")); }
CLIPFORMAT AddressFormat() { return CLIPFORMAT(RegisterClipboardFormatW(L"UniformResourceLocatorW")); }

std::string Utf16(const std::wstring &text, bool terminated = true)
{
    std::string bytes(reinterpret_cast<const char *>(text.data()), text.size() * 2);
    if (terminated)
        bytes.append(2, '\0');
    return bytes;
}

// A DROPFILES block with wide names; `offset` may point anywhere.
std::string FileList(const std::vector<std::wstring> &names, DWORD offset = sizeof(DROPFILES))
{
    DROPFILES header{};
    header.pFiles = offset;
    header.fWide = TRUE;
    std::string bytes(reinterpret_cast<const char *>(&header), sizeof header);
    for (const std::wstring &name : names)
        bytes += Utf16(name);
    bytes.append(2, '\0');
    return bytes;
}

// ---- A window that records what a drop target sends it ----

struct TDropMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string block;  // the bytes of a dropped block
    SIZE_T blockSize;
};
std::vector<TDropMessage> Sent;

LRESULT CALLBACK DropRecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case UM_MENU_DRAG_ENTER:
    case UM_MENU_DRAG_OVER:
    case UM_MENU_DRAG_LEAVE:
        Sent.push_back({message, wParam, lParam, {}, 0});
        return 0;
    case UM_MENU_DROP: {
        auto block = reinterpret_cast<HGLOBAL>(lParam);
        const SIZE_T size = GlobalSize(block);
        const char *bytes = static_cast<const char *>(GlobalLock(block));
        Sent.push_back({message, wParam, 0, bytes ? std::string(bytes, size) : "", size});
        GlobalUnlock(block);
        GlobalFree(block);  // the receiver owns it
        return 0;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<UINT> SentMessages()
{
    std::vector<UINT> messages;
    for (const TDropMessage &m : Sent)
        messages.push_back(m.message);
    return messages;
}

// ---- The right-drag menu, answered by the test ----

std::vector<std::wstring> DropMenus;  // the entries of each menu shown, "|" between them
UINT DropMenuAnswer = 0;

UINT AnswerDropMenu(HMENU menu, POINT, HWND)
{
    std::wstring entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
        entries += (i ? L"|" : L"") + std::wstring(text[0] ? text : L"-");
    }
    DropMenus.push_back(entries);
    return DropMenuAnswer;
}

// ---- The file operation, failed on request ----

enum class TMoveOutcome { Real, Fails, Aborted };
TMoveOutcome MoveOutcome = TMoveOutcome::Real;
int FileOperations = 0;

int FileOperationAsAsked(SHFILEOPSTRUCTW *operation)
{
    ++FileOperations;
    switch (MoveOutcome) {
    case TMoveOutcome::Fails:
        return ERROR_ACCESS_DENIED;
    case TMoveOutcome::Aborted:
        operation->fAnyOperationsAborted = TRUE;
        return 0;
    case TMoveOutcome::Real:
        break;
    }
    return RunFileOperation(operation);
}

// ---- Files ----

bool Exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteBytes(const std::wstring &path, const std::string &bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::wstring Joined(const std::vector<std::wstring> &names)
{
    std::wstring text;
    for (const std::wstring &name : names)
        text += (text.empty() ? L"" : L" ") + name;
    return text;
}

std::wstring Captions(const TMenu *level)
{
    std::wstring text;
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        text += (text.empty() ? L"" : L" ") + std::wstring(item->Caption);
    return text;
}

TMenuItem *ItemCaptioned(const TMenu *level, const wchar_t *caption)
{
    for (TMenuItem *item = level->Items; item; item = item->Next)
        if (wcscmp(item->Caption, caption) == 0)
            return item;
    return nullptr;
}

int IndexOf(const TMenu *level, const TMenuItem *item)
{
    int index = 0;
    for (const TMenuItem *at = level->Items; at; at = at->Next, ++index)
        if (at == item)
            return index;
    return -1;
}

// Every path of a level and below it, one per line, indented by depth.
std::wstring PathTree(const TMenu *level, int depth = 0)
{
    std::wstring text;
    for (const TMenuItem *item = level->Items; item; item = item->Next) {
        text += std::wstring(depth * 2, L' ') + item->Path + L"\n";
        if (item->Submenu)
            text += PathTree(item->Submenu, depth + 1);
    }
    return text;
}

// ---- The fixture: a user and an all-users Start Menu in the prefix's temporary folder ----

class DragDropTest : public testing::Test {
protected:
    void SetUp() override
    {
        MenuState = {};
        Sent.clear();
        DropMenus.clear();
        DropMenuAnswer = 0;
        MoveOutcome = TMoveOutcome::Real;
        FileOperations = 0;
        ClearRecords();
        savedSeam_ = DragDropSeam;
        DragDropSeam = {AnswerDropMenu, FileOperationAsAsked};

        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        base_ = std::wstring(temp) + L"drag_drop_test\\";
        RemoveTree(base_);
        user_ = base_ + L"user\\";
        common_ = base_ + L"common\\";
        for (const std::wstring &folder :
             {base_, user_, common_, user_ + L"Games\\", user_ + L"Tools\\", user_ + L"Tools\\Sub\\",
              common_ + L"Programs\\", common_ + L"Programs\\Admin\\", common_ + L"Programs\\Office\\"})
            CreateDirectoryW(folder.c_str(), nullptr);
        for (const std::wstring &link :
             {user_ + L"Alpha.lnk", user_ + L"Beta.lnk", user_ + L"Gamma.lnk", user_ + L"Games\\Mines.lnk",
              user_ + L"Tools\\Clock.lnk", user_ + L"Tools\\Sub\\Deep.lnk",
              common_ + L"Programs\\Admin\\Config.lnk", common_ + L"Programs\\Office\\Write.lnk"})
            ASSERT_TRUE(MakeShortcut(link, L"C:\\windows\\notepad.exe"));
        lstrcpynW(MenuFolders.UserStartMenu, user_.c_str(), MAX_PATH);
        lstrcpynW(MenuFolders.CommonStartMenu, common_.c_str(), MAX_PATH);
    }
    void TearDown() override
    {
        delete root_;
        root_ = nullptr;
        DragDropSeam = savedSeam_;
        RemoveTree(base_);
    }

    // The real build of both trees: root Alpha Beta Games Gamma Tools Programs.
    TMenu *Build()
    {
        root_ = new TMenu(nullptr, false);
        ScanFolder(root_, MenuFolders.UserStartMenu);
        ScanFolder(root_, MenuFolders.CommonStartMenu);
        return root_;
    }
    TMenu *Level(const wchar_t *caption, TMenu *in = nullptr)
    {
        TMenuItem *item = ItemCaptioned(in ? in : root_, caption);
        return item ? item->Submenu : nullptr;
    }
    std::wstring Files() { return Joined(ListTree(base_)); }

    // A drag of `source`'s item at `index` that started in the menu, dropped on `target`
    // with the markers around the gap before `gap`.
    void DropFromMenu(TMenu *source, int index, TMenu *target, int gap)
    {
        MenuState.DraggingFromMenu = true;
        MenuState.DragSourceLevel = source;
        MenuState.PressedIndex = index;
        MenuState.CurrentItem = source->ItemAt(index);
        MarkGap(target, gap);
        OnDropData(target, 0, GlobalAlloc(GMEM_MOVEABLE, 520));
    }
    static void MarkGap(TMenu *level, int gap)
    {
        if (TMenuItem *below = level->ItemAt(gap))
            below->DropBefore = true;
        if (TMenuItem *above = level->ItemAt(gap - 1))
            above->DropAfter = true;
        MenuState.DragOver = true;
    }
    // The main window's messages about files and the order, in the order they came.
    static std::vector<UINT> FileMessages()
    {
        std::vector<UINT> messages;
        for (const TRecordedMessage &m : Received)
            if (m.to == kMainWindowClass &&
                (m.message == UM_STOP_WATCHERS || m.message == UM_START_WATCHERS ||
                 m.message == UM_WRITE_ORDER_FILE))
                messages.push_back(m.message);
        return messages;
    }
    static bool MarkersCleared(const TMenu *level)
    {
        for (const TMenuItem *item = level->Items; item; item = item->Next)
            if (item->DropBefore || item->DropAfter)
                return false;
        return !MenuState.DragOver;
    }

    TDragDropSeam savedSeam_;
    TMenu *root_ = nullptr;
    std::wstring base_, user_, common_;
};

const std::vector<UINT> kMoved = {UM_STOP_WATCHERS, UM_START_WATCHERS, UM_WRITE_ORDER_FILE};
const std::vector<UINT> kTriedToMove = {UM_STOP_WATCHERS, UM_START_WATCHERS};

} // namespace

// ---- The drop target ----

TEST_F(DragDropTest, DropTargetAsksTheFormatsInOrderAndHandsOverTheFirstDelivered)
{
    HWND window = CreateWindowExW(0, L"DragDropTestRecorder", L"", WS_POPUP, 100, 100, 200, 200,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    const std::wstring path = L"C:\\Temp\\report.final.doc";
    const std::string html = "Version:0.9\r\n<a href=\"http://a.example/\">A</a>";
    const std::wstring address = L"http://orvella.example/page";
    const CLIPFORMAT H = HtmlFormat(), U = AddressFormat();
    struct Case {
        const char *what;
        std::vector<TOffered> offered;
        std::vector<CLIPFORMAT> asked;
        int kind;             // -1: nothing handed over
        std::string block;    // what the level gets
    } cases[] = {
        {"all four", {{CF_UNICODETEXT, Utf16(L"text")}, {U, Utf16(address)}, {H, html}, {CF_HDROP, FileList({path, L"C:\\b"})}},
         {CF_HDROP}, kDropFilePath, Utf16(path, false) + std::string(520 - 2 * path.size(), '\0')},
        {"HTML before the address", {{U, Utf16(address)}, {H, html}, {CF_UNICODETEXT, Utf16(L"t")}},
         {CF_HDROP, H}, kDropHtml, html + std::string(2, '\0')},
        {"an address and text", {{CF_UNICODETEXT, Utf16(L"t")}, {U, Utf16(address)}},
         {CF_HDROP, H, U}, kDropAddress, Utf16(address) + std::string(2, '\0')},
        {"text alone, not terminated", {{CF_UNICODETEXT, Utf16(L"plain", false)}},
         {CF_HDROP, H, U, CF_UNICODETEXT}, kDropText, Utf16(L"plain")},
        {"a file list only as a stream", {{CF_HDROP, FileList({path}), TYMED_ISTREAM}, {U, Utf16(address)}},
         {CF_HDROP, H, U}, kDropAddress, Utf16(address) + std::string(2, '\0')},
        {"none of the four", {{CF_TEXT, "ansi"}}, {CF_HDROP, H, U, CF_UNICODETEXT}, -1, ""},
        {"a file list pointing outside itself", {{CF_HDROP, FileList({path}, 4000)}, {U, Utf16(address)}},
         {CF_HDROP}, -1, ""},
        {"a file list whose name does not end", {{CF_HDROP, FileList({path}).substr(0, 30)}}, {CF_HDROP}, -1, ""},
    };
    for (const Case &c : cases) {
        IDropTarget *target = CreateWindowDropTarget(window);
        TTestDataObject data(c.offered);
        Sent.clear();
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target->DragEnter(&data, MK_LBUTTON, {150, 160}, &effect), S_OK) << c.what;
        EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY)) << c.what;
        effect = DROPEFFECT_MOVE;  // no copy allowed: stays as offered
        EXPECT_EQ(target->DragOver(MK_LBUTTON, {130, 145}, &effect), S_OK) << c.what;
        EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE)) << c.what;
        data.asked.clear();
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target->Drop(&data, 0, {130, 145}, &effect), S_OK) << c.what;
        EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE)) << c.what;
        EXPECT_EQ(data.asked, c.asked) << c.what;
        ASSERT_EQ(Sent.size(), 3u) << c.what;
        EXPECT_EQ(Sent[0].message, UINT(UM_MENU_DRAG_ENTER)) << c.what;
        EXPECT_EQ(Sent[1].message, UINT(UM_MENU_DRAG_OVER)) << c.what;
        EXPECT_EQ(Sent[1].lParam, MAKELPARAM(30, 45)) << c.what;  // client coordinates
        if (c.kind < 0) {
            EXPECT_EQ(Sent[2].message, UINT(UM_MENU_DRAG_LEAVE)) << c.what;
        } else {
            EXPECT_EQ(Sent[2].message, UINT(UM_MENU_DROP)) << c.what;
            EXPECT_EQ(int(Sent[2].wParam), c.kind) << c.what;
            EXPECT_EQ(Sent[2].block, c.block) << c.what;
        }
        EXPECT_EQ(target->Release(), 0u) << c.what;
    }
    // Leaving is passed on as it is.
    IDropTarget *target = CreateWindowDropTarget(window);
    TTestDataObject data({});
    Sent.clear();
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(&data, MK_LBUTTON, {120, 120}, &effect);
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(SentMessages(), (std::vector<UINT>{UM_MENU_DRAG_ENTER, UM_MENU_DRAG_LEAVE}));
    IUnknown *unknown = nullptr;
    EXPECT_EQ(target->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&unknown)), S_OK);
    EXPECT_EQ(unknown->Release(), 1u);
    void *other = &data;
    EXPECT_EQ(target->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(target->Release(), 0u);
    DestroyWindow(window);
}

TEST_F(DragDropTest, RightDragAsksOurOwnMenuAndOnlyAChoiceButCancelDrops)
{
    HWND window = CreateWindowExW(0, L"DragDropTestRecorder", L"", WS_POPUP, 100, 100, 200, 200,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const std::wstring address = L"http://orvella.example/";
    struct Case {
        UINT answer;
        HRESULT result;
        UINT last;  // the last message the window got
    } cases[] = {
        {0, DRAGDROP_S_CANCEL, UM_MENU_DRAG_LEAVE},
        {IDM_DROP_CANCEL, DRAGDROP_S_CANCEL, UM_MENU_DRAG_LEAVE},
        {IDM_DROP_COPY, S_OK, UM_MENU_DROP},
        {IDM_DROP_MOVE, S_OK, UM_MENU_DROP},
        {IDM_DROP_LINK, S_OK, UM_MENU_DROP},
    };
    for (const Case &c : cases) {
        IDropTarget *target = CreateWindowDropTarget(window);
        TTestDataObject data({{AddressFormat(), Utf16(address)}});
        Sent.clear();
        DropMenus.clear();
        DropMenuAnswer = c.answer;
        DWORD effect = DROPEFFECT_COPY;
        target->DragEnter(&data, MK_RBUTTON, {120, 120}, &effect);
        effect = DROPEFFECT_COPY;
        EXPECT_EQ(target->Drop(&data, 0, {120, 120}, &effect), c.result) << c.answer;
        EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE)) << c.answer;
        ASSERT_EQ(DropMenus.size(), 1u) << c.answer;
        EXPECT_EQ(DropMenus[0], L"&Copy Here|&Move Here|Create &Shortcuts Here|-|Cancel");
        ASSERT_FALSE(Sent.empty());
        EXPECT_EQ(Sent.back().message, c.last) << c.answer;
        const std::vector<UINT> messages = SentMessages();
        EXPECT_EQ(std::count(messages.begin(), messages.end(), UINT(UM_MENU_DROP)),
                  c.last == UM_MENU_DROP ? 1 : 0) << c.answer;
        target->Release();
    }
    // A left drag asks nothing.
    IDropTarget *target = CreateWindowDropTarget(window);
    TTestDataObject data({{AddressFormat(), Utf16(address)}});
    DropMenus.clear();
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(&data, MK_LBUTTON, {120, 120}, &effect);
    EXPECT_EQ(target->Drop(&data, 0, {120, 120}, &effect), S_OK);
    EXPECT_TRUE(DropMenus.empty());
    target->Release();
    DestroyWindow(window);
}

// ---- Over a level ----

TEST_F(DragDropTest, UpperHalfMarksTheGapAboveLowerHalfTheGapBelow)
{
    TMenu *level = MakeLevel({L"A|" + user_ + L"Alpha.lnk", L"B|" + user_ + L"Beta.lnk",
                              L"|*separator", L"C|" + user_ + L"Gamma.lnk"});
    root_ = level;
    level->Layout();
    SendMessageW(level->Window, UM_MENU_DRAG_ENTER, 0, 0);
    EXPECT_TRUE(MenuState.DragOver);
    const RECT b = level->ItemAt(1)->Rect;
    const int x = (b.left + b.right) / 2;
    auto over = [&](int y) {
        SendMessageW(level->Window, UM_MENU_DRAG_OVER, 0, MAKELPARAM(x, y));
        std::wstring marks;
        for (const TMenuItem *item = level->Items; item; item = item->Next)
            marks += item->DropBefore ? (item->DropAfter ? L'B' : L'b') : (item->DropAfter ? L'a' : L'-');
        return marks;
    };
    EXPECT_EQ(over(b.top + 1), L"ab--");     // upper half of B: between A and B
    EXPECT_EQ(over(b.bottom - 2), L"-ab-");  // lower half: below B (the separator takes none)
    const RECT a = level->ItemAt(0)->Rect;
    EXPECT_EQ(over(a.top + 1), L"b---");     // above the first line
    const RECT c = level->ItemAt(3)->Rect;
    EXPECT_EQ(over(c.bottom - 2), L"---a");  // below the last line
    EXPECT_EQ(level->LastHoverIndex, 3);
    SendMessageW(level->Window, UM_MENU_DRAG_LEAVE, 0, 0);
    EXPECT_TRUE(MarkersCleared(level));
}

TEST_F(DragDropTest, ADragRestingOnAFolderOpensItsLevel)
{
    Build();
    ShowLevel(root_);
    TMenuItem *games = ItemCaptioned(root_, L"Games");
    ASSERT_NE(games, nullptr);
    POINT on{(games->Rect.left + games->Rect.right) / 2, (games->Rect.top + games->Rect.bottom) / 2};
    POINT screen = on;
    ClientToScreen(root_->Window, &screen);
    ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
    SendMessageW(root_->Window, UM_MENU_DRAG_ENTER, 0, 0);
    // The system keeps calling the target while the pointer rests; each call is one more tick.
    const bool opened = PumpUntil([&] {
        SendMessageW(root_->Window, UM_MENU_DRAG_OVER, 0, MAKELPARAM(on.x, on.y));
        return IsWindowVisible(games->Submenu->Window) != FALSE;
    }, 5000);
    EXPECT_TRUE(opened);
    SendMessageW(root_->Window, UM_MENU_DRAG_LEAVE, 0, 0);
    CloseAll(root_);
}

TEST_F(DragDropTest, DragImageIsThePressedLineOnRed)
{
    Build();
    root_->Layout();
    MenuState.PressedIndex = 1;
    const RECT rect = root_->ItemAt(1)->Rect;
    SHDRAGIMAGE image{};
    EXPECT_EQ(SendMessageW(root_->Window, ShellGetDragImageMessage(), 0, reinterpret_cast<LPARAM>(&image)), 1);
    EXPECT_EQ(image.sizeDragImage.cx, rect.right - rect.left);
    EXPECT_EQ(image.sizeDragImage.cy, rect.bottom - rect.top);
    EXPECT_EQ(image.ptOffset.x, (rect.right - rect.left) / 2);
    EXPECT_EQ(image.ptOffset.y, (rect.bottom - rect.top) / 2);
    EXPECT_EQ(image.crColorKey, RGB(255, 0, 0));
    BITMAP bitmap{};
    ASSERT_EQ(GetObjectW(image.hbmpDragImage, sizeof bitmap, &bitmap), int(sizeof bitmap));
    EXPECT_EQ(bitmap.bmWidth, rect.right - rect.left);
    EXPECT_EQ(bitmap.bmBitsPixel, 32);
    // Something was painted: not every pixel is still zero.
    const auto *bits = static_cast<const uint32_t *>(bitmap.bmBits);
    EXPECT_TRUE(std::any_of(bits, bits + bitmap.bmWidth * bitmap.bmHeight, [](uint32_t p) { return p != 0; }));
    DeleteObject(image.hbmpDragImage);
    // No pressed line: no image.
    MenuState.PressedIndex = 99;
    SHDRAGIMAGE none{};
    EXPECT_EQ(SendMessageW(root_->Window, ShellGetDragImageMessage(), 0, reinterpret_cast<LPARAM>(&none)), 1);
    EXPECT_EQ(none.hbmpDragImage, nullptr);
}

// ---- Drops ----

TEST_F(DragDropTest, WithinALevelOnlyTheOrderChanges)
{
    Build();
    ASSERT_EQ(Captions(root_), L"Alpha Beta Games Gamma Tools Programs");
    const std::wstring files = Files();
    // Down into the gap between Games and Gamma, then back up above the first line, then onto
    // its own place.
    DropFromMenu(root_, 0, root_, 3);
    EXPECT_EQ(Captions(root_), L"Beta Games Alpha Gamma Tools Programs");
    DropFromMenu(root_, 2, root_, 0);
    EXPECT_EQ(Captions(root_), L"Alpha Beta Games Gamma Tools Programs");
    DropFromMenu(root_, 4, root_, 5);
    EXPECT_EQ(Captions(root_), L"Alpha Beta Games Gamma Tools Programs");
    DropFromMenu(root_, 1, root_, 6);
    EXPECT_EQ(Captions(root_), L"Alpha Games Gamma Tools Programs Beta");
    // No marked place (dropped over no movable line, or before the first drag movement):
    // the line stays, and the level stays on screen.
    ShowLevel(root_);
    MenuState.DraggingFromMenu = true;
    MenuState.DragSourceLevel = root_;
    MenuState.PressedIndex = 3;
    OnDropData(root_, 0, GlobalAlloc(GMEM_MOVEABLE, 520));
    EXPECT_EQ(Captions(root_), L"Alpha Games Gamma Tools Programs Beta");
    EXPECT_TRUE(IsWindowVisible(root_->Window));
    CloseAll(root_);
    EXPECT_TRUE(MarkersCleared(root_));
    EXPECT_EQ(Files(), files);
    EXPECT_EQ(FileMessages(), (std::vector<UINT>(5, UM_WRITE_ORDER_FILE)));
    EXPECT_EQ(FileOperations, 0);
}

TEST_F(DragDropTest, AShortcutMovesToAnotherLevelAtTheDropPlace)
{
    Build();
    TMenu *games = Level(L"Games");
    TMenuItem *beta = root_->ItemAt(1);
    DropFromMenu(root_, 1, games, 0);
    EXPECT_EQ(Captions(root_), L"Alpha Games Gamma Tools Programs");
    EXPECT_EQ(Captions(games), L"Beta Mines");
    EXPECT_EQ(games->ItemAt(0), beta);  // the same item, moved
    EXPECT_EQ(beta->Owner, games);
    EXPECT_EQ(std::wstring(beta->Path), user_ + L"Games\\Beta.lnk");
    EXPECT_FALSE(Exists(user_ + L"Beta.lnk"));
    EXPECT_TRUE(Exists(user_ + L"Games\\Beta.lnk"));
    EXPECT_EQ(FileMessages(), kMoved);
    EXPECT_TRUE(MarkersCleared(games));

    // The last line of a level leaves the placeholder behind; a drop on a placeholder level
    // replaces it.
    TMenu *sub = Level(L"Sub", Level(L"Tools"));
    DropFromMenu(sub, 0, games, 2);
    EXPECT_EQ(Captions(games), L"Beta Mines Deep");
    ASSERT_EQ(sub->Count(), 1);
    EXPECT_TRUE(sub->ItemAt(0)->IsEmptyMarker);
    DropFromMenu(games, 2, sub, 1);
    EXPECT_EQ(Captions(sub), L"Deep");
    EXPECT_EQ(std::wstring(sub->ItemAt(0)->Path), user_ + L"Tools\\Sub\\Deep.lnk");
}

TEST_F(DragDropTest, AMovedFolderTakesThePathsBelowItAlong)
{
    Build();
    TMenu *games = Level(L"Games");
    TMenuItem *tools = ItemCaptioned(root_, L"Tools");
    DropFromMenu(root_, IndexOf(root_, tools), games, 1);
    EXPECT_EQ(Captions(games), L"Mines Tools");
    EXPECT_EQ(PathTree(games), user_ + L"Games\\Mines.lnk\n" + user_ + L"Games\\Tools\n  " + user_ +
                                   L"Games\\Tools\\Clock.lnk\n  " + user_ + L"Games\\Tools\\Sub\n    " +
                                   user_ + L"Games\\Tools\\Sub\\Deep.lnk\n");
    EXPECT_EQ(Joined(ListTree(user_ + L"Games\\")), L"Mines.lnk Tools\\ Tools\\Clock.lnk Tools\\Sub\\ Tools\\Sub\\Deep.lnk");
    EXPECT_FALSE(Exists(user_ + L"Tools"));
    EXPECT_EQ(FileMessages(), kMoved);
    // And back to the top level, which is the user's Start Menu folder.
    DropFromMenu(games, 1, root_, 0);
    EXPECT_EQ(Captions(root_), L"Tools Alpha Beta Games Gamma Programs");
    EXPECT_EQ(std::wstring(ItemCaptioned(Level(L"Sub", Level(L"Tools")), L"Deep")->Path),
              user_ + L"Tools\\Sub\\Deep.lnk");
}

TEST_F(DragDropTest, AnAllUsersShortcutLandsInTheSameFolderOfTheUsersTree)
{
    Build();
    TMenu *programs = Level(L"Programs");
    TMenu *admin = Level(L"Admin", programs);
    TMenu *office = Level(L"Office", programs);
    ASSERT_NE(admin, nullptr);
    DropFromMenu(admin, 0, office, 1);
    EXPECT_EQ(Captions(office), L"Write Config");
    EXPECT_TRUE(admin->ItemAt(0)->IsEmptyMarker);
    EXPECT_TRUE(Exists(user_ + L"Programs\\Office\\Config.lnk"));
    EXPECT_FALSE(Exists(common_ + L"Programs\\Admin\\Config.lnk"));
    EXPECT_TRUE(Exists(common_ + L"Programs\\Office\\Write.lnk"));
    EXPECT_EQ(std::wstring(office->ItemAt(1)->Path), user_ + L"Programs\\Office\\Config.lnk");
    // The folders that now exist in both trees are the user's to the menu, as a fresh build
    // would have them; the untouched one stays the all-users folder.
    EXPECT_EQ(std::wstring(office->ParentItem->Path), user_ + L"Programs\\Office");
    EXPECT_EQ(std::wstring(programs->ParentItem->Path), user_ + L"Programs");
    EXPECT_EQ(std::wstring(admin->ParentItem->Path), common_ + L"Programs\\Admin");
    EXPECT_EQ(FileMessages(), kMoved);
}

TEST_F(DragDropTest, AFailedOrAbortedMoveChangesNothing)
{
    Build();
    TMenu *programs = Level(L"Programs");
    TMenu *office = Level(L"Office", programs);
    const std::wstring files = Files();
    const std::wstring tree = PathTree(root_);
    for (TMoveOutcome outcome : {TMoveOutcome::Fails, TMoveOutcome::Aborted}) {
        MoveOutcome = outcome;
        ClearRecords();
        // Into an all-users folder: the folders made for it in the user's tree go again.
        DropFromMenu(root_, 0, office, 0);
        EXPECT_EQ(Files(), files);
        EXPECT_EQ(PathTree(root_), tree);
        EXPECT_EQ(FileMessages(), kTriedToMove);
        EXPECT_TRUE(MarkersCleared(office));
    }
    // A shortcut held open without sharing cannot be moved by the real operation either.
    MoveOutcome = TMoveOutcome::Real;
    ClearRecords();
    HANDLE held = CreateFileW((user_ + L"Alpha.lnk").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DropFromMenu(root_, 0, Level(L"Games"), 0);
    CloseHandle(held);
    EXPECT_EQ(Files(), files);
    EXPECT_EQ(PathTree(root_), tree);
    EXPECT_EQ(FileOperations, 3);
}

TEST_F(DragDropTest, RefusedMovesTouchNoFile)
{
    // A file of Beta's name already in Games, hidden from the menu; a folder captioned like
    // Gamma there; an empty folder, whose level holds the placeholder.
    WriteBytes(user_ + L"Games\\Beta.lnk", "hidden");
    SetFileAttributesW((user_ + L"Games\\Beta.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW((user_ + L"Games\\Gamma").c_str(), nullptr);
    CreateDirectoryW((user_ + L"Empty").c_str(), nullptr);
    // Games also in the all-users tree, empty there: one line for both folders.
    CreateDirectoryW((common_ + L"Games").c_str(), nullptr);
    Build();
    TMenu *tools = Level(L"Tools");
    TMenu *sub = Level(L"Sub", tools);
    TMenu *games = Level(L"Games");
    // A level that shows the folder Tools\Sub without being below the Tools item: only its
    // path tells that it lies inside.
    TMenu *elsewhere = MakeLevel({L"Sub|" + user_ + L"Tools\\Sub/"});
    TMenu *shown = elsewhere->ItemAt(0)->Submenu;
    AddItem(shown, L"Deep|" + user_ + L"Tools\\Sub\\Deep.lnk");
    const std::wstring files = Files();
    const std::wstring tree = PathTree(root_);
    const int toolsIndex = IndexOf(root_, tools->ParentItem);
    struct Case {
        const char *what;
        TMenu *source;
        int index;
        TMenu *target;
    } cases[] = {
        {"a folder into itself", root_, toolsIndex, tools},
        {"a folder into its own sub-folder", root_, toolsIndex, sub},
        {"a folder into its sub-folder shown elsewhere", root_, toolsIndex, shown},
        {"onto a hidden file of its name", root_, IndexOf(root_, ItemCaptioned(root_, L"Beta")), games},
        {"beside a line of its caption", root_, IndexOf(root_, ItemCaptioned(root_, L"Gamma")), games},
        {"a folder of both trees, the other one empty", root_, IndexOf(root_, games->ParentItem), tools},
        {"the placeholder", Level(L"Empty"), 0, games},
        {"no line at all", root_, 40, games},
    };
    for (const Case &c : cases) {
        ClearRecords();
        DropFromMenu(c.source, c.index, c.target, 0);
        EXPECT_EQ(Files(), files) << c.what;
        EXPECT_EQ(PathTree(root_), tree) << c.what;
        EXPECT_TRUE(FileMessages().empty()) << c.what;
        EXPECT_TRUE(MarkersCleared(c.target)) << c.what;
    }
    EXPECT_EQ(FileOperations, 0);
    delete elsewhere;
}

TEST_F(DragDropTest, ADropFromElsewhereThatMakesNoShortcutChangesNothing)
{
    Build();
    TMenu *office = Level(L"Office", Level(L"Programs"));
    const std::wstring files = Files();
    const std::wstring tree = PathTree(root_);
    // An empty address makes no shortcut; neither do the folders made for it stay.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 2);
    MarkGap(office, 0);
    OnDropData(office, kDropAddress, block);
    EXPECT_EQ(Files(), files);
    EXPECT_EQ(PathTree(root_), tree);
    EXPECT_TRUE(MarkersCleared(office));
}

HGLOBAL BlockOf(const std::string &bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size() + 2);
    CopyMemory(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

TEST_F(DragDropTest, ADropFromElsewhereBecomesAShortcutAtTheDropPlace)
{
    Build();
    TMenu *programs = Level(L"Programs");
    TMenu *office = Level(L"Office", programs);
    // An address on an all-users folder: the shortcut goes into the user's twin of it.
    MarkGap(office, 1);
    OnDropData(office, kDropAddress, BlockOf(Utf16(L"http://orvella.example/news")));
    const std::wstring news = user_ + L"Programs\\Office\\news.lnk";
    EXPECT_TRUE(Exists(news));
    ASSERT_EQ(office->Count(), 2);
    EXPECT_EQ(std::wstring(office->ItemAt(1)->Path), news);
    EXPECT_STREQ(office->ItemAt(1)->Caption, L"news");  // looked up
    EXPECT_EQ(std::wstring(office->ParentItem->Path), user_ + L"Programs\\Office");
    EXPECT_TRUE(MarkersCleared(office));
    EXPECT_EQ(FileMessages(), std::vector<UINT>{UM_WRITE_ORDER_FILE});

    // The same address again: the first shortcut stays as it was, the second gets a name of
    // its own.
    const std::string first = FileBytes(news);
    MarkGap(office, 0);
    OnDropData(office, kDropAddress, BlockOf(Utf16(L"http://orvella.example/news")));
    EXPECT_EQ(FileBytes(news), first);
    EXPECT_EQ(Captions(office), L"news (2) Write news");

    // A link out of a browser, above the first line of the top level.
    MarkGap(root_, 0);
    const int before = root_->Count();
    OnDropData(root_, kDropHtml, BlockOf("Version:0.9\r\n<a href=\"http://orvella.example/\">Home page</a>"));
    ASSERT_EQ(root_->Count(), before + 1);
    EXPECT_EQ(std::wstring(root_->ItemAt(0)->Path), user_ + L"Home page.lnk");
    EXPECT_TRUE(Exists(user_ + L"Home page.lnk"));
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    OleInitialize(nullptr);
    WNDCLASSW recorder{};
    recorder.lpfnWndProc = DropRecorderProc;
    recorder.hInstance = GetModuleHandleW(nullptr);
    recorder.lpszClassName = L"DragDropTestRecorder";
    RegisterClassW(&recorder);
    testing::AddGlobalTestEnvironment(new MenuWindowEnvironment);
    return RUN_ALL_TESTS();
}
