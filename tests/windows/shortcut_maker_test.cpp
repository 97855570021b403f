// Shortcuts made from dropped blocks into a folder of their own: the file each kind of data
// gives, its target as the shell link reads it back, a free name beside existing files,
// nothing written for data that names no target, and the Start Menu watchers stopped around
// a dropped file's shortcut.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/messages.h"
#include "render/options/shortcut_maker.h"
#include "test_files.h"

namespace {

// What the stand-in main window was told, with whether the awaited shortcut existed then.
struct TWatcherMessage {
    UINT message;
    bool shortcutExisted;
};
std::vector<TWatcherMessage> WatcherMessages;
std::wstring AwaitedShortcut;

LRESULT CALLBACK MainWindowStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == UM_STOP_WATCHERS || message == UM_START_WATCHERS) {
        WatcherMessages.push_back(
            {message, GetFileAttributesW(AwaitedShortcut.c_str()) != INVALID_FILE_ATTRIBUTES});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HGLOBAL Block(const void *bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    return block;
}
HGLOBAL TextBlock(const std::wstring &text, bool withZero = true)
{
    return Block(text.c_str(), (text.size() + (withZero ? 1 : 0)) * sizeof(wchar_t));
}
HGLOBAL ByteBlock(const std::string &bytes, bool withZero = true)
{
    return Block(bytes.c_str(), bytes.size() + (withZero ? 1 : 0));
}

// The target a saved shortcut holds, as the shell link reads it.
std::wstring ShortcutTarget(const std::wstring &path)
{
    std::wstring target = L"<unreadable>";
    IShellLinkW *link = nullptr;
    IPersistFile *file = nullptr;
    wchar_t read[MAX_PATH] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void **>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(read, MAX_PATH, nullptr, SLGP_RAWPATH)))
        target = read;
    if (file)
        file->Release();
    if (link)
        link->Release();
    return target;
}

// What the shell link makes of `target` (this Wine expands a web address to a path below the
// current folder), read back the same way.
std::wstring TargetAsTheShellKeepsIt(const std::wstring &target)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring reference = std::wstring(temp) + L"orvella-shortcut-reference.lnk";
    std::wstring kept = L"<not saved>";
    if (MakeShortcut(reference, target))
        kept = ShortcutTarget(reference);
    DeleteFileW(reference.c_str());
    return kept;
}

// The shortcut at `path` leads where a shortcut made by the shell for `target` leads.
void ExpectTarget(const std::wstring &path, const std::wstring &target, const char *what)
{
    const std::wstring read = ShortcutTarget(path);
    EXPECT_NE(read, L"<unreadable>") << what;
    EXPECT_EQ(read, TargetAsTheShellKeepsIt(target)) << what;
}

std::vector<std::wstring> FilesIn(const std::wstring &folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

class ShortcutMakerTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        WNDCLASSW standIn{};
        standIn.lpfnWndProc = MainWindowStandIn;
        standIn.hInstance = GetModuleHandleW(nullptr);
        standIn.lpszClassName = kMainWindowClass;
        RegisterClassW(&standIn);
        MainWindow = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                     nullptr, standIn.hInstance, nullptr);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(MainWindow);
        CoUninitialize();
    }
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"orvella-shortcut-test\\";
        RemoveTree(root_);
        folder_ = root_ + L"Start Menu\\";
        CreateDirectoryW(root_.c_str(), nullptr);
        CreateDirectoryW(folder_.c_str(), nullptr);
        WatcherMessages.clear();
    }
    void TearDown() override { RemoveTree(root_); }

    // The drop of `block` (freed here, as the drop handler frees it) into the folder.
    bool Drop(int kind, HGLOBAL block, std::wstring &written)
    {
        wchar_t result[MAX_PATH] = L"untouched";
        const bool saved = MakeShortcutFromDrop(kind, block, folder_.c_str(), result);
        GlobalFree(block);
        written = result;
        return saved;
    }

    static inline HWND MainWindow = nullptr;
    std::wstring root_, folder_;
};

} // namespace

TEST_F(ShortcutMakerTest, EachKindGivesItsNamedShortcutToItsTarget)
{
    const std::string cafe =
        "Version:0.9\r\nStartHTML:0000000105\r\n<html><body><!--StartFragment-->"
        "<a href=\"http://example.com/cafe\">Caf&eacute; &amp; bar</a><!--EndFragment-->"
        "</body></html>";
    struct Case {
        const char *what;
        int kind;
        HGLOBAL block;
        std::wstring name, target;
    } cases[] = {
        {"an address", kDropAddress, TextBlock(L"http://example.com/search?q=orvella"),
         L"search\u00BFq=orvella.lnk", L"http://example.com/search?q=orvella"},
        {"an address without a terminating zero", kDropAddress,
         TextBlock(L"http://example.com/unended", false), L"unended.lnk",
         L"http://example.com/unended"},
        {"plain text is taken as an address", kDropText, TextBlock(L"http://example.com/text"),
         L"text.lnk", L"http://example.com/text"},
        {"an address with no last part", kDropAddress, TextBlock(L"http://example.com/"),
         L"Shortcut.lnk", L"http://example.com/"},
        {"an HTML anchor", kDropHtml, ByteBlock(cafe), L"Caf\u00E9 & bar.lnk",
         L"http://example.com/cafe"},
        {"an HTML anchor without a terminating zero", kDropHtml,
         ByteBlock("<a href=\"http://example.com/n\">Espa\xC3\xB1" "a</a>", false),
         L"Espa\u00F1a.lnk", L"http://example.com/n"},
    };
    for (const Case &c : cases) {
        std::wstring written;
        ASSERT_TRUE(Drop(c.kind, c.block, written)) << c.what;
        EXPECT_EQ(written, folder_ + c.name) << c.what;
        ExpectTarget(folder_ + c.name, c.target, c.what);
        EXPECT_TRUE(WatcherMessages.empty()) << c.what;
        DeleteFileW(written.c_str());
    }
}

TEST_F(ShortcutMakerTest, ADroppedFileIsSavedWhileTheWatchersAreStopped)
{
    const std::wstring file = root_ + L"report.final.doc";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    AwaitedShortcut = folder_ + L"report.lnk";

    std::wstring written;
    ASSERT_TRUE(Drop(kDropFilePath, TextBlock(file), written));
    EXPECT_EQ(written, AwaitedShortcut);
    EXPECT_EQ(ShortcutTarget(written), file);
    ASSERT_EQ(WatcherMessages.size(), 2u);
    EXPECT_EQ(WatcherMessages[0].message, UINT(UM_STOP_WATCHERS));
    EXPECT_FALSE(WatcherMessages[0].shortcutExisted);
    EXPECT_EQ(WatcherMessages[1].message, UINT(UM_START_WATCHERS));
    EXPECT_TRUE(WatcherMessages[1].shortcutExisted);
}

TEST_F(ShortcutMakerTest, AFileTheShellCannotNameIsNamedByItsLastComponent)
{
    const std::wstring missing = root_ + L"Gone\\Deeper\\plan.v2.txt";
    std::wstring written;
    ASSERT_TRUE(Drop(kDropFilePath, TextBlock(missing, false), written));
    EXPECT_EQ(written, folder_ + L"plan.lnk");
}

TEST_F(ShortcutMakerTest, AnExistingFileIsNeverReplaced)
{
    const std::wstring existing = folder_ + L"page.lnk";
    HANDLE file = CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(file, "keep", 4, &wrote, nullptr);
    CloseHandle(file);

    std::wstring second, third;
    ASSERT_TRUE(Drop(kDropAddress, TextBlock(L"http://example.com/page"), second));
    ASSERT_TRUE(Drop(kDropHtml, ByteBlock("<A HREF=\"http://example.com/other\">page</A>"), third));
    EXPECT_EQ(second, folder_ + L"page (2).lnk");
    EXPECT_EQ(third, folder_ + L"page (3).lnk");
    EXPECT_EQ(FileBytes(existing), "keep");
    ExpectTarget(second, L"http://example.com/page", "the address");
    ExpectTarget(third, L"http://example.com/other", "the anchor");
}

TEST_F(ShortcutMakerTest, DataThatNamesNoTargetWritesNothing)
{
    struct Case {
        const char *what;
        int kind;
        HGLOBAL block;
    } cases[] = {
        {"a fragment without an anchor", kDropHtml, ByteBlock("<html><p>text</p></html>")},
        {"an unterminated quotation mark", kDropHtml, ByteBlock("<a href=\"http://example.com/")},
        {"no closing less-than", kDropHtml, ByteBlock("<a href=\"http://e.com/\">text", false)},
        {"an anchor with an empty target", kDropHtml, ByteBlock("<a href=\"\">none</a>")},
        {"an empty address", kDropAddress, TextBlock(L"")},
        {"an empty path", kDropFilePath, TextBlock(L"")},
        {"an unknown kind", 7, TextBlock(L"http://example.com/")},
        {"no block", kDropAddress, nullptr},
    };
    for (const Case &c : cases) {
        std::wstring written;
        EXPECT_FALSE(Drop(c.kind, c.block, written)) << c.what;
        EXPECT_EQ(written, L"") << c.what;
    }
    EXPECT_TRUE(FilesIn(folder_).empty());
    EXPECT_TRUE(WatcherMessages.empty());
}

TEST_F(ShortcutMakerTest, ALongNameIsCutToFitThePath)
{
    const std::wstring address = L"http://example.com/" + std::wstring(300, L'w');
    std::wstring written;
    ASSERT_TRUE(Drop(kDropAddress, TextBlock(address), written));
    EXPECT_EQ(written.size(), size_t(MAX_PATH - 1));
    EXPECT_EQ(written.substr(0, folder_.size()), folder_);
    EXPECT_EQ(written.substr(folder_.size()), std::wstring(MAX_PATH - 1 - folder_.size() - 4, L'w') + L".lnk");
}

TEST_F(ShortcutMakerTest, SavingIntoAMissingFolderFails)
{
    wchar_t result[MAX_PATH] = L"untouched";
    const std::wstring missing = root_ + L"no such folder\\";
    HGLOBAL block = TextBlock(L"http://example.com/x");
    EXPECT_FALSE(MakeShortcutFromDrop(kDropAddress, block, missing.c_str(), result));
    GlobalFree(block);
    EXPECT_STREQ(result, L"");
    EXPECT_FALSE(SaveShortcut(L"http://example.com/x", (missing + L"x.lnk").c_str()));
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
