// The recent items level from the shell's recent record and the expanded control panel from
// its registrations: the test writes its own record (in the shell's layout, with shortcuts in
// the Recent folder) and its own control panel entries, and puts back what was there.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/window_classes.h"
#include "common/portable/sort_rules.h"
#include "common/win_text.h"
#include "menu/menu_build.h"
#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "settings/control_panel_items.h"
#include "settings/recent_items.h"
#include "settings/settings.h"
#include "test_files.h"

namespace {

using Names = std::vector<std::wstring>;

std::wstring TempFolder(const wchar_t *name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void WriteFile(const std::wstring &path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes,
                            nullptr));
}

bool Exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

Names Paths(const TMenu *level)
{
    Names paths;
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        paths.push_back(item->IsEmptyMarker ? L"<empty>" : item->Path);
    return paths;
}

Names Captions(const TMenu *level)
{
    Names captions;
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        captions.push_back(item->Caption);
    return captions;
}

// ---- The recent record ----

// A numbered value as the shell writes it: the document's name, the shortcut's item data,
// then the shortcut's long name with its zero unit, an offset and the list's end.
std::vector<uint8_t> ShellValue(const std::wstring &shortcutName)
{
    std::vector<uint8_t> bytes;
    auto append = [&bytes](const std::wstring &text) {
        for (wchar_t c : text) {
            bytes.push_back(uint8_t(c & 0xFF));
            bytes.push_back(uint8_t(c >> 8));
        }
    };
    append(L"document");
    bytes.insert(bytes.end(), {0, 0, 0x32, 0x11, 0x04, 0xEF, 0xBE, 0x2A, 0x00, 0x00, 0x00});
    append(shortcutName);
    bytes.insert(bytes.end(), {0, 0, 0x14, 0x00, 0, 0});
    return bytes;
}

struct TSavedValue {
    std::wstring Name;
    DWORD Type;
    std::vector<uint8_t> Data;
};

// The prefix's own recent record and Recent folder are set aside for each test and put back
// afterwards; the test's shortcuts point into a folder of its own.
class RecentItemsTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = Settings;
        wchar_t folder[MAX_PATH];
        ResolveFolder(FOLDERID_Recent, folder);
        recent_ = folder;
        SHCreateDirectoryExW(nullptr, recent_.c_str(), nullptr);
        aside_ = TempFolder(L"orvella-recent-aside-");
        targets_ = TempFolder(L"orvella-recent-targets-");
        MoveFolderContent(recent_, aside_);
        SaveRecord();
        Settings.RecentCount = 5;
        Settings.RecentSort = 1;
    }
    void TearDown() override
    {
        delete level_;
        RemoveTree(recent_ + L"AutomaticDestinations\\");
        RemoveTree(recent_ + L"Sub\\");
        WIN32_FIND_DATAW entry;
        for (const std::wstring &name : Entries(recent_, entry))
            DeleteFileW((recent_ + name).c_str());
        MoveFolderContent(aside_, recent_);
        RemoveTree(aside_);
        RemoveTree(targets_);
        RestoreRecord();
        Settings = saved_;
    }

    static Names Entries(const std::wstring &folder, WIN32_FIND_DATAW &entry)
    {
        Names names;
        HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &entry))
            if (wcscmp(entry.cFileName, L".") && wcscmp(entry.cFileName, L".."))
                names.push_back(entry.cFileName);
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        return names;
    }
    static void MoveFolderContent(const std::wstring &from, const std::wstring &to)
    {
        WIN32_FIND_DATAW entry;
        for (const std::wstring &name : Entries(from, entry))
            MoveFileW((from + name).c_str(), (to + name).c_str());
    }

    void SaveRecord()
    {
        HKEY key = nullptr;
        hadKey_ = RegOpenKeyExW(HKEY_CURRENT_USER, kRecentDocsKey, 0, KEY_ALL_ACCESS, &key) ==
                  ERROR_SUCCESS;
        if (!hadKey_)
            return;
        for (DWORD index = 0;; ++index) {
            wchar_t name[512];
            DWORD nameLength = 512, type = 0, size = 0;
            if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS)
                break;
            TSavedValue value{name, type, std::vector<uint8_t>(size)};
            nameLength = 512;
            RegEnumValueW(key, index, name, &nameLength, nullptr, &type, value.Data.data(), &size);
            record_.push_back(value);
        }
        RegCloseKey(key);
        RegDeleteTreeW(HKEY_CURRENT_USER, kRecentDocsKey);
    }
    void RestoreRecord()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kRecentDocsKey);
        if (!hadKey_)
            return;
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kRecentDocsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        for (const TSavedValue &value : record_)
            RegSetValueExW(key, value.Name.c_str(), 0, value.Type, value.Data.data(),
                           DWORD(value.Data.size()));
        RegCloseKey(key);
    }

    // Records the targets named, most recent first: a name ending with a backslash is a
    // folder.  Each gets a shortcut "<name>.lnk" in the Recent folder and a numbered value;
    // the values are numbered in reverse so that the order list is not simply 0, 1, 2.
    void Record(const Names &names)
    {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kRecentDocsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        std::vector<uint32_t> order;
        for (size_t i = 0; i < names.size(); ++i) {
            std::wstring name = names[i];
            const bool folder = name.back() == L'\\';
            if (folder) {
                name.pop_back();
                CreateDirectoryW((targets_ + name).c_str(), nullptr);
            } else {
                WriteFile(targets_ + name);
            }
            MakeShortcut(recent_ + name + L".lnk", targets_ + name);
            const uint32_t number = uint32_t(names.size() - 1 - i) + 10;
            const std::vector<uint8_t> value = ShellValue(name + L".lnk");
            RegSetValueExW(key, std::to_wstring(number).c_str(), 0, REG_BINARY, value.data(),
                           DWORD(value.size()));
            order.push_back(number);
        }
        order.push_back(0xFFFFFFFF);
        RegSetValueExW(key, kRecentOrderValue, 0, REG_BINARY,
                       reinterpret_cast<const BYTE *>(order.data()), DWORD(order.size() * 4));
        RegCloseKey(key);
    }

    TMenu *Fill()
    {
        if (!level_)
            level_ = new TMenu(nullptr, false);
        FillRecentLevel(level_);
        return level_;
    }
    Names DocumentCaptions() { return Captions(level_->ItemAt(8)->Submenu); }
    Names FolderCaptions() { return Captions(level_->ItemAt(9)->Submenu); }

    TSettings saved_;
    std::wstring recent_, aside_, targets_;
    bool hadKey_ = false;
    std::vector<TSavedValue> record_;
    TMenu *level_ = nullptr;
};

Names Numbered(const wchar_t *stem, int count, int from = 0)
{
    Names names;
    for (int i = from; i < from + count; ++i)
        names.push_back(stem + std::to_wstring(100 + i) + L".txt");
    return names;
}

TEST_F(RecentItemsTest, TheLevelHoldsTheFixedLinesAndTheMostRecentOfEachKind)
{
    // 20 documents and 3 folders, the folders among the oldest documents.
    Names names = Numbered(L"doc", 20);
    names.insert(names.begin() + 7, L"Projects\\");
    names.insert(names.begin() + 15, L"Music stash\\");
    names.push_back(L"Archive\\");
    Record(names);
    const TMenu *level = Fill();

    EXPECT_EQ(Paths(level), (Names{L"*misdocumentos", L"*mimusica", L"*misimagenes",
                                   L"*misvideos", L"*separator", L"*borrarrecientes",
                                   L"*borrarjumplist", L"*separator", L"*recientes-archivos",
                                   L"*recientes-carpetas"}));
    EXPECT_STREQ(level->ItemAt(0)->Caption, Settings.Local[LocalRecentDocs]);
    EXPECT_STREQ(level->ItemAt(6)->Caption, Settings.Local[LocalRecentDeleteJumpList]);
    EXPECT_STREQ(level->ItemAt(8)->Caption, Settings.Local[LocalRecentDocuments]);
    EXPECT_STREQ(level->ItemAt(9)->Caption, Settings.Local[LocalRecentLocations]);
    EXPECT_NE(level->ItemAt(8)->Icon, nullptr);
    EXPECT_NE(level->ItemAt(9)->Icon, nullptr);

    EXPECT_EQ(DocumentCaptions(), (Names{L"doc100.txt", L"doc101.txt", L"doc102.txt",
                                         L"doc103.txt", L"doc104.txt"}));
    EXPECT_EQ(FolderCaptions(), (Names{L"Projects", L"Music stash", L"Archive"}));
    const TMenuItem *first = level->ItemAt(8)->Submenu->Items;
    EXPECT_EQ(std::wstring(first->Path), recent_ + L"doc100.txt.lnk");
    EXPECT_FALSE(first->IsMovable);
    EXPECT_NE(first->Icon, nullptr);
}

TEST_F(RecentItemsTest, UnusableEntriesAreSkippedAndDoNotCount)
{
    Names names = Numbered(L"doc", 8);
    names.insert(names.begin() + 1, L"\u03a9mega.txt");  // read back wrong: no such shortcut
    Record(names);
    DeleteFileW((recent_ + L"doc101.txt.lnk").c_str());
    // An entry whose value is gone and one too short to hold a name.
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kRecentDocsKey, 0, KEY_ALL_ACCESS, &key);
    std::vector<uint8_t> list = {90, 0, 0, 0, 91, 0, 0, 0};
    const uint8_t tiny[] = {0, 0, 0, 0x41, 0, 0};
    RegSetValueExW(key, L"91", 0, REG_BINARY, tiny, sizeof tiny);
    // The recorded order (doc100 is numbered 18) after the two broken entries, without its
    // end mark and cut short.
    for (uint32_t n = 18; n >= 10; --n)
        for (int shift = 0; shift < 32; shift += 8)
            list.push_back(uint8_t(n >> shift));
    list.push_back(0x7F);
    RegSetValueExW(key, kRecentOrderValue, 0, REG_BINARY, list.data(), DWORD(list.size()));
    RegCloseKey(key);

    Fill();
    EXPECT_EQ(DocumentCaptions(), (Names{L"doc100.txt", L"doc102.txt", L"doc103.txt",
                                         L"doc104.txt", L"doc105.txt"}));
    EXPECT_EQ(Paths(level_->ItemAt(9)->Submenu), Names{L"<empty>"});
}

TEST_F(RecentItemsTest, SortsByOrderOfUseOrByNameIgnoringCase)
{
    Record({L"banana.txt", L"Apple.txt", L"cherry.txt", L"Zeta\\", L"alpha\\"});
    Settings.RecentSort = 1;
    Fill();
    EXPECT_EQ(DocumentCaptions(), (Names{L"banana.txt", L"Apple.txt", L"cherry.txt"}));
    EXPECT_EQ(FolderCaptions(), (Names{L"Zeta", L"alpha"}));
    Settings.RecentSort = 0;
    Fill();
    EXPECT_EQ(DocumentCaptions(), (Names{L"Apple.txt", L"banana.txt", L"cherry.txt"}));
    EXPECT_EQ(FolderCaptions(), (Names{L"alpha", L"Zeta"}));
}

TEST_F(RecentItemsTest, ClearingRemovesTheRecordAndTheShortcutsOnly)
{
    Record({L"one.txt", L"Two\\"});
    CreateDirectoryW((recent_ + L"Sub\\").c_str(), nullptr);
    WriteFile(recent_ + L"Sub\\inside.lnk");
    WriteFile(recent_ + L"hidden.lnk", FILE_ATTRIBUTE_HIDDEN);
    const std::wstring jumps = recent_ + L"AutomaticDestinations\\";
    CreateDirectoryW(jumps.c_str(), nullptr);
    WriteFile(jumps + L"1b4dd67f29cb1962.automaticDestinations-ms");
    WriteFile(jumps + L"kept.automaticDestinations-ms", FILE_ATTRIBUTE_HIDDEN);
    Fill();
    ASSERT_EQ(DocumentCaptions(), Names{L"one.txt"});

    ClearRecentItems();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRecentDocsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_NE(RegQueryValueExW(key, kRecentOrderValue, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(key, L"11", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_FALSE(Exists(recent_ + L"one.txt.lnk"));
    EXPECT_FALSE(Exists(recent_ + L"Two.lnk"));
    EXPECT_TRUE(Exists(recent_ + L"Sub\\inside.lnk"));
    EXPECT_TRUE(Exists(recent_ + L"hidden.lnk"));
    EXPECT_TRUE(Exists(jumps + L"1b4dd67f29cb1962.automaticDestinations-ms"));
    // The level changes only at its next build.
    EXPECT_EQ(DocumentCaptions(), Names{L"one.txt"});
    Fill();
    EXPECT_EQ(Paths(level_->ItemAt(8)->Submenu), Names{L"<empty>"});
    EXPECT_EQ(Paths(level_->ItemAt(9)->Submenu), Names{L"<empty>"});
    EXPECT_STREQ(level_->ItemAt(8)->Submenu->Items->Caption, Settings.Local[LocalEmpty]);

    ClearJumpLists();
    EXPECT_FALSE(Exists(jumps + L"1b4dd67f29cb1962.automaticDestinations-ms"));
    EXPECT_TRUE(Exists(jumps + L"kept.automaticDestinations-ms"));
}

TEST_F(RecentItemsTest, ShortcutTargetsAreTold)
{
    CreateDirectoryW((targets_ + L"folder").c_str(), nullptr);
    WriteFile(targets_ + L"file.txt");
    MakeShortcut(targets_ + L"folder.lnk", targets_ + L"folder");
    MakeShortcut(targets_ + L"file.lnk", targets_ + L"file.txt");
    WriteFile(targets_ + L"broken.lnk");
    EXPECT_EQ(ResolveRecentShortcut((targets_ + L"folder.lnk").c_str()), kRecentTargetFolder);
    EXPECT_EQ(ResolveRecentShortcut((targets_ + L"file.lnk").c_str()), kRecentTargetFile);
    EXPECT_EQ(ResolveRecentShortcut((targets_ + L"broken.lnk").c_str()), kRecentTargetNone);
    EXPECT_EQ(ResolveRecentShortcut((targets_ + L"missing.lnk").c_str()), kRecentTargetNone);
}

// ---- Control panel registrations ----

constexpr wchar_t kClassPrefix64[] = L"CLSID\\";
constexpr wchar_t kClassPrefix32[] = L"Wow6432Node\\CLSID\\";

struct TRegistration {
    const wchar_t *ClassId;
    const wchar_t *Name;             // default value, null for none
    const wchar_t *LocalizedString;  // null for none
    const wchar_t *InfoTip;
    const wchar_t *Command;          // null: no Shell\Open\Command key
    const wchar_t *Icon;             // null: no DefaultIcon key
};

void SetText(HKEY root, const std::wstring &path, const wchar_t *name, const wchar_t *text)
{
    HKEY key = nullptr;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (text)
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                       DWORD((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::vector<uint32_t> IconPixels(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return {};
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    std::vector<uint32_t> pixels(size_t(bitmap.bmWidth) * bitmap.bmHeight + 1);
    pixels.back() = uint32_t(bitmap.bmWidth);
    BITMAPINFO header = {};
    header.bmiHeader = {sizeof(BITMAPINFOHEADER), bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB};
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

class ControlPanelTest : public testing::Test {
protected:
    void TearDown() override
    {
        delete level_;
        for (const auto &[root, path] : written_)
            RegDeleteTreeW(root, path.c_str());
    }
    void Register(const TRegistration &entry, bool pass32)
    {
        const std::wstring space = std::wstring(pass32 ? kControlPanelNamespace32 : kControlPanelNamespace64) +
                                   L"\\" + entry.ClassId;
        SetText(HKEY_LOCAL_MACHINE, space, nullptr, nullptr);
        const std::wstring key = std::wstring(pass32 ? kClassPrefix32 : kClassPrefix64) + entry.ClassId;
        SetText(HKEY_CLASSES_ROOT, key, nullptr, entry.Name);
        SetText(HKEY_CLASSES_ROOT, key, L"LocalizedString", entry.LocalizedString);
        SetText(HKEY_CLASSES_ROOT, key, L"InfoTip", entry.InfoTip);
        if (entry.Command)
            SetText(HKEY_CLASSES_ROOT, key + L"\\Shell\\Open\\Command", nullptr, entry.Command);
        if (entry.Icon)
            SetText(HKEY_CLASSES_ROOT, key + L"\\DefaultIcon", nullptr, entry.Icon);
        written_.push_back({HKEY_LOCAL_MACHINE, space});
        written_.push_back({HKEY_CLASSES_ROOT, key});
    }
    TMenu *Fill()
    {
        level_ = new TMenu(nullptr, false);
        FillControlPanelLevel(level_);
        return level_;
    }
    // The items of this test's registrations (their names begin with "Orvella" in any case).
    std::vector<const TMenuItem *> Ours() const
    {
        std::vector<const TMenuItem *> items;
        for (const TMenuItem *item = level_->Items; item; item = item->Next)
            if (_wcsnicmp(item->Caption, L"Orvella", 7) == 0)
                items.push_back(item);
        return items;
    }
    Names OurCaptions() const
    {
        Names names;
        for (const TMenuItem *item : Ours())
            names.push_back(item->Caption);
        return names;
    }
    const TMenuItem *OurItem(const wchar_t *caption) const
    {
        for (const TMenuItem *item : Ours())
            if (wcscmp(item->Caption, caption) == 0)
                return item;
        return nullptr;
    }

    std::vector<std::pair<HKEY, std::wstring>> written_;
    TMenu *level_ = nullptr;
};

constexpr wchar_t kShell32Icon[] = L"%SystemRoot%\\system32\\shell32.dll,5";

TEST_F(ControlPanelTest, EntriesOfBothNamespacesSortedByNameWithTheirFields)
{
    // Registered against the alphabet, and one applet in both namespaces.
    const TRegistration entries[] = {
        {L"{0E5E1A00-0000-4000-8000-000000000001}", L"orvella zulu", nullptr, L"Tips, with a comma",
         L"C:\\windows\\system32\\zulu.exe /open", kShell32Icon},
        {L"{0E5E1A00-0000-4000-8000-000000000002}", L"Orvella Mike", nullptr, nullptr, nullptr, kShell32Icon},
        {L"{0E5E1A00-0000-4000-8000-000000000003}", L"Orvella alpha", nullptr, nullptr, nullptr, kShell32Icon},
        {L"{0E5E1A00-0000-4000-8000-000000000004}", L"Orvella No Icon", nullptr, nullptr, nullptr, nullptr},
        {L"{0E5E1A00-0000-4000-8000-000000000005}", nullptr, nullptr, nullptr, nullptr, kShell32Icon},
        {L"{0E5E1A00-0000-4000-8000-000000000006}", L"", nullptr, nullptr, nullptr, kShell32Icon},
    };
    for (const TRegistration &entry : entries)
        Register(entry, false);
    Register(entries[1], true);
    const TMenu *level = Fill();

    EXPECT_EQ(OurCaptions(), (Names{L"Orvella alpha", L"Orvella Mike", L"Orvella Mike", L"orvella zulu"}));
    Names all = Captions(level);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const std::wstring &a, const std::wstring &b) {
        return CompareCaptions(U16View(a.c_str()), U16View(b.c_str())) < 0;
    }));
    const TMenuItem *zulu = OurItem(L"orvella zulu");
    ASSERT_NE(zulu, nullptr);
    EXPECT_STREQ(zulu->Path, L"C:\\windows\\system32\\zulu.exe /open");
    EXPECT_STREQ(zulu->Tip, L"Tips, with a comma");
    EXPECT_FALSE(zulu->IsMovable);
    EXPECT_NE(zulu->Icon, nullptr);
    EXPECT_STREQ(OurItem(L"Orvella alpha")->Path, L"{0E5E1A00-0000-4000-8000-000000000003}");
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        EXPECT_FALSE(item->IsEmptyMarker);
}

TEST_F(ControlPanelTest, IndirectTextsAndIconsComeFromTheirModules)
{
    HMODULE shell32 = GetModuleHandleW(L"shell32.dll");
    ASSERT_NE(shell32, nullptr);
    wchar_t string22[520] = {};
    ASSERT_GT(LoadStringW(shell32, 22, string22, 520), 0);
    // cmd.exe is not loaded here: read with the pass's flags and freed again.
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
    ASSERT_EQ(GetModuleHandleW(cmd.c_str()), nullptr);
    HMODULE cmdData = LoadLibraryExW(cmd.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t cmdString[520] = {};
    UINT cmdId = 0;
    for (UINT id = 1; id < 2000 && cmdString[0] == 0; ++id)
        if (LoadStringW(cmdData, id, cmdString, 520) > 0)
            cmdId = id;
    FreeLibrary(cmdData);
    ASSERT_NE(cmdId, 0u);
    const std::wstring cmdTip = L"@%SystemRoot%\\system32\\cmd.exe,-" + std::to_wstring(cmdId);
    const std::wstring longTip = L"@" + std::wstring(1500, L'x') + L",-22";
    const std::wstring longName = L"Orvella Long " + std::wstring(1500, L'n');
    const std::wstring longIcon = std::wstring(300, L'%') + L"SystemRoot%" + std::wstring(1200, L'i');

    const TRegistration entries[] = {
        {L"{0E5E1A00-0000-4000-8000-000000000011}", L"Orvella Default", L"@%SystemRoot%\\system32\\shell32.dll,-22",
         cmdTip.c_str(), nullptr, kShell32Icon},
        {L"{0E5E1A00-0000-4000-8000-000000000012}", L"Orvella Without At", L"%SystemRoot%\\system32\\shell32.dll,-22",
         L"@%SystemRoot%\\system32\\shell32.dll,-22", nullptr, L"%SystemRoot%\\system32\\shell32.dll"},
        {L"{0E5E1A00-0000-4000-8000-000000000013}", longName.c_str(), nullptr, longTip.c_str(), nullptr,
         longIcon.c_str()},
    };
    for (const TRegistration &entry : entries)
        Register(entry, false);
    Register(entries[0], true);
    Fill();

    // The localized name replaces the default value only when indirect.
    const TMenuItem *withoutAt = OurItem(L"Orvella Without At");
    ASSERT_NE(withoutAt, nullptr);
    EXPECT_STREQ(withoutAt->Tip, string22);
    int resolved = 0;
    for (const TMenuItem *item = level_->Items; item; item = item->Next) {
        if (wcscmp(item->Path, entries[0].ClassId) != 0)
            continue;
        ++resolved;
        EXPECT_STREQ(item->Caption, string22);
        EXPECT_STREQ(item->Tip, cmdString);
        // ",5" is the icon resource 5, not the sixth icon of the file.
        HICON resource5 = static_cast<HICON>(
            LoadImageW(shell32, MAKEINTRESOURCEW(5), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        HICON sixth = ExtractIconW(GetModuleHandleW(nullptr), L"shell32.dll", 5);
        EXPECT_EQ(IconPixels(item->Icon), IconPixels(resource5));
        EXPECT_NE(IconPixels(item->Icon), IconPixels(sixth));
        DestroyIcon(resource5);
        DestroyIcon(sixth);
    }
    EXPECT_EQ(resolved, 2);  // once per pass
    EXPECT_EQ(GetModuleHandleW(cmd.c_str()), nullptr);
    // A location without a number gives the module's first icon.
    HICON first = ExtractIconW(GetModuleHandleW(nullptr), L"shell32.dll", 0);
    EXPECT_EQ(IconPixels(withoutAt->Icon), IconPixels(first));
    DestroyIcon(first);

    // Values longer than their buffers are cut, never written past.
    const TMenuItem *cut = nullptr;
    for (const TMenuItem *item : Ours())
        if (wcsncmp(item->Caption, L"Orvella Long ", 13) == 0)
            cut = item;
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(wcslen(cut->Caption), size_t(MAX_PATH - 1));
    EXPECT_STREQ(cut->Tip, L"");
}

TEST_F(ControlPanelTest, NoEntriesGivesThePlaceholder)
{
    // Only registrations without icons or names: whatever the prefix holds, none of ours.
    Register({L"{0E5E1A00-0000-4000-8000-000000000021}", L"Orvella Hidden", nullptr, nullptr, nullptr, nullptr}, false);
    Fill();
    EXPECT_TRUE(Ours().empty());
    if (!level_->Items->Next) {
        EXPECT_TRUE(level_->Items->IsEmptyMarker);
    }
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    CoInitialize(nullptr);
    LoadSettings();
    RegisterWindowClasses(GetModuleHandleW(nullptr));
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
