// Rebuilds of a kept tree against full builds: random changes to a user and an all-users
// Start Menu in the prefix's temporary folder, each batch followed by a rebuild that must
// equal a full build made with no kept answers (every field, icon pixels included), with no
// icon of the old tree left alive outside the new one.  Then what a rebuild must leave
// working in the level windows it hands on, and the hidden-extensions setting.
//   ORVELLA_REBUILD_SEED=N  replays one run of the random batches
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/menu_tree.h"
#include "app/order_file.h"
#include "app/window_classes.h"
#include "common/messages.h"
#include "menu/menu_build.h"
#include "menu/menu_item.h"
#include "menu/tmenu.h"
#include "settings/settings.h"
#include "tests/support/accessible_object.h"
#include "tests/windows/menu_tree_compare.h"
#include "tests/windows/test_files.h"

namespace {

constexpr int kBatches = 14;
constexpr wchar_t kAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// Names drawn for new entries: few, so that both trees often hold the same one.
const wchar_t *const kNames[] = {L"Alpha", L"Beta", L"Gamma", L"Delta", L"Echo", L"Foxtrot"};
const wchar_t *const kTargets[] = {L"C:\\windows\\notepad.exe", L"C:\\windows\\regedit.exe",
                                   L"C:\\windows\\system32\\cmd.exe", L"C:\\windows\\explorer.exe"};

void WriteText(const std::wstring &path, const char *text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text, DWORD(strlen(text)), &written, nullptr);
    CloseHandle(file);
}

void CollectIcons(const TMenu *level, std::vector<HICON> &icons)
{
    for (const TMenuItem *item = level->Items; item; item = item->Next) {
        if (item->Icon)
            icons.push_back(item->Icon);
        if (item->Submenu)
            CollectIcons(item->Submenu, icons);
    }
}

bool IsIcon(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

// The live icons of `before` that the tree does not hold, and whether the tree holds one
// icon twice.
std::string IconOwnership(const std::vector<HICON> &before, const TMenu *tree)
{
    std::vector<HICON> now;
    CollectIcons(tree, now);
    const std::set<HICON> held(now.begin(), now.end());
    std::string problems;
    if (held.size() != now.size())
        problems += "an icon is held by two items; ";
    int leaked = 0;
    for (HICON icon : before)
        if (!held.count(icon) && IsIcon(icon))
            ++leaked;
    if (leaked)
        problems += std::to_string(leaked) + " icons of the old tree left alive";
    return problems;
}

std::string Narrow(const std::wstring &text) { return std::string(text.begin(), text.end()); }

class MenuRebuildTest : public testing::Test {
protected:
    void SetUp() override
    {
        MenuState = {};
        saved_ = Settings;
        wcscpy(Settings.ShowString, L"HS-R");
        Settings.ProgramsOnTop = false;
        Settings.ShowControlEx = false;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        base_ = std::wstring(temp) + L"menu_rebuild_test\\";
        RemoveTree(base_);
        user_ = base_ + L"user\\";
        common_ = base_ + L"common\\";
        for (const std::wstring &folder : {base_, user_, common_})
            CreateDirectoryW(folder.c_str(), nullptr);
        wcscpy(MenuFolders.UserStartMenu, user_.c_str());
        wcscpy(MenuFolders.CommonStartMenu, common_.c_str());
        wcscpy(MenuFolders.Programs, (user_ + L"Programs\\").c_str());
        wcscpy(MenuFolders.OrderFile, (base_ + L"sort.txt").c_str());
    }
    void TearDown() override
    {
        delete root_;
        Settings = saved_;
        RemoveTree(base_);
    }

    void Build()
    {
        root_ = new TMenu(nullptr, false);
        BuildAll(root_);
    }

    // Rebuilds the kept tree and compares it with a full build of a new root that reads the
    // order file the rebuild read; the order file the rebuild wrote must be the one the full
    // build writes.
    void RebuildAndCompare(const std::string &what)
    {
        std::vector<HICON> before;
        CollectIcons(root_, before);
        const std::wstring readOrder = base_ + L"sort-read.txt";
        CopyFileW(MenuFolders.OrderFile, readOrder.c_str(), FALSE);
        const bool hadOrder = GetFileAttributesW(MenuFolders.OrderFile) != INVALID_FILE_ATTRIBUTES;
        Rebuild(root_);
        const std::string rewritten = FileBytes(MenuFolders.OrderFile);

        wchar_t orderFile[MAX_PATH];
        wcscpy(orderFile, MenuFolders.OrderFile);
        wcscpy(MenuFolders.OrderFile, hadOrder ? readOrder.c_str() : L"");
        TMenu *fresh = new TMenu(nullptr, false);
        BuildAll(fresh);
        const std::wstring freshOrder = base_ + L"sort-fresh.txt";
        WriteOrderFile(fresh, freshOrder.c_str());
        wcscpy(MenuFolders.OrderFile, orderFile);

        EXPECT_EQ(Narrow(DescribeTree(root_, TTreeDetail::Everything)),
                  Narrow(DescribeTree(fresh, TTreeDetail::Everything)))
            << what;
        EXPECT_EQ(rewritten, FileBytes(freshOrder)) << what;
        EXPECT_EQ(IconOwnership(before, root_), "") << what;
        delete fresh;
    }

    // ---- Random changes; each returns what it did for the log of a failure ----

    std::wstring AnyOf(bool folders)
    {
        std::vector<std::wstring> found;
        for (const std::wstring &tree : {user_, common_})
            for (const std::wstring &name : ListTree(tree))
                if (name.ends_with(L'\\') == folders)
                    found.push_back(tree + name);
        if (folders) {
            found.push_back(user_);
            found.push_back(common_);
        }
        return found.empty() ? L"" : found[random_() % found.size()];
    }
    const wchar_t *AnyName() { return kNames[random_() % std::size(kNames)]; }
    const wchar_t *AnyTarget() { return kTargets[random_() % std::size(kTargets)]; }
    bool IsShortcut(const std::wstring &path) { return path.ends_with(L".lnk"); }

    // Most changes get times of the past, each its own: the rebuild then has to tell them by
    // their facts alone.  The rest keep the times of now, as an installer leaves them.
    void Backdate(const std::wstring &path)
    {
        if (random_() % 4 != 0)
            SetPastTimes(path);
    }
    void SetPastTimes(std::wstring path)
    {
        if (path.ends_with(L"\\"))
            path.pop_back();
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER time{};
        time.LowPart = now.dwLowDateTime;
        time.HighPart = now.dwHighDateTime;
        time.QuadPart -= 864'000'000'000ull - 10'000'000ull * ++backdated_;
        const FILETIME past{time.LowPart, time.HighPart};
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        SetFileTime(file, &past, &past, &past);
        CloseHandle(file);
    }
    void BackdateWithFolder(const std::wstring &path)
    {
        Backdate(path);
        std::wstring trimmed = path;
        if (trimmed.ends_with(L"\\"))
            trimmed.pop_back();
        Backdate(trimmed.substr(0, trimmed.rfind(L'\\') + 1));
    }

    std::string Change()
    {
        std::string done = ChangeOnDisk();
        for (const std::wstring &path : touched_)
            BackdateWithFolder(path);
        touched_.clear();
        return done;
    }

    std::string ChangeOnDisk()
    {
        switch (random_() % 10) {
        case 0: {
            const std::wstring path = AnyOf(true) + AnyName() + L".lnk";
            MakeShortcut(path, AnyTarget());
            touched_.push_back(path);
            return "add " + Narrow(path);
        }
        case 1: {
            const std::wstring path = AnyOf(true) + AnyName() + L".txt";
            WriteText(path, "text");
            touched_.push_back(path);
            return "add " + Narrow(path);
        }
        case 2: {
            const std::wstring path = AnyOf(false);
            DeleteFileW(path.c_str());
            touched_.push_back(path);
            return "delete " + Narrow(path);
        }
        case 3: {
            const std::wstring path = AnyOf(false);
            if (path.empty())
                return "nothing to rename";
            const std::wstring to = path.substr(0, path.rfind(L'\\') + 1) + AnyName() +
                                    (IsShortcut(path) ? L".lnk" : L".txt");
            MoveFileW(path.c_str(), to.c_str());
            touched_.push_back(to);
            return "rename " + Narrow(path) + " to " + Narrow(to);
        }
        case 4: {
            const std::wstring folder = AnyOf(true) + AnyName() + L" Folder";
            CreateDirectoryW(folder.c_str(), nullptr);
            if (random_() % 2) {
                const std::wstring inside = folder + L"\\" + AnyName() + L".lnk";
                MakeShortcut(inside, AnyTarget());
                touched_.push_back(inside);
            }
            touched_.push_back(folder);
            return "add folder " + Narrow(folder);
        }
        case 5: {
            const std::wstring folder = AnyOf(true);
            if (folder == user_ || folder == common_)
                return "no folder to delete";
            RemoveTree(folder);
            touched_.push_back(folder);
            return "delete folder " + Narrow(folder);
        }
        case 6: {
            std::wstring folder = AnyOf(true);
            if (folder == user_ || folder == common_)
                return "no folder to rename";
            folder.pop_back();
            const std::wstring to = folder.substr(0, folder.rfind(L'\\') + 1) + AnyName() +
                                    L" Folder";
            MoveFileW(folder.c_str(), to.c_str());
            touched_.push_back(to);
            return "rename folder " + Narrow(folder) + " to " + Narrow(to);
        }
        case 7: {
            const std::wstring path = AnyOf(false);
            if (!IsShortcut(path))
                return "no shortcut to describe";
            const std::wstring tip = L"About " + std::wstring(AnyName());
            MakeShortcut(path, AnyTarget(), tip.c_str());
            touched_.push_back(path);
            return "describe " + Narrow(path) + " as " + Narrow(tip);
        }
        case 8: {
            const std::wstring path = AnyOf(false);
            if (!IsShortcut(path))
                return "no shortcut for an icon";
            MakeShortcut(path, AnyTarget(), nullptr, L"C:\\windows\\system32\\shell32.dll",
                         int(random_() % 20));
            touched_.push_back(path);
            return "give " + Narrow(path) + " another icon";
        }
        default:
            return ChangeOrder();
        }
    }

    // The user's order: a random level of the kept tree reversed and written, or no order.
    std::string ChangeOrder()
    {
        if (random_() % 4 == 0) {
            DeleteFileW(MenuFolders.OrderFile);
            return "order file removed";
        }
        std::vector<TMenu *> levels;
        CollectLevels(root_, levels);
        TMenu *level = levels[random_() % levels.size()];
        for (int a = 0, b = level->Count() - 1; a < b; ++a, --b)
            level->ExchangeItems(a, b);
        WriteOrderFile(root_, MenuFolders.OrderFile);
        return "order of " + Narrow(level->ParentItem ? level->ParentItem->Path : L"the root") +
               " reversed";
    }

    TMenu *root_ = nullptr;
    std::wstring base_, user_, common_;
    std::mt19937 random_;
    std::vector<std::wstring> touched_;
    int backdated_ = 0;
    TSettings saved_;
};

TEST_F(MenuRebuildTest, RandomChangesRebuildAsAFullBuildDoes)
{
    unsigned seed = std::random_device{}();
    if (const char *text = std::getenv("ORVELLA_REBUILD_SEED"))
        seed = unsigned(std::strtoul(text, nullptr, 10));
    std::printf("ORVELLA_REBUILD_SEED=%u\n", seed);
    random_.seed(seed);

    CreateDirectoryW((user_ + L"Programs").c_str(), nullptr);
    MakeShortcut(user_ + L"Programs\\Tool.lnk", kTargets[0]);
    for (const std::wstring &tree : {user_, common_}) {
        CreateDirectoryW((tree + L"Shared Folder").c_str(), nullptr);
        MakeShortcut(tree + L"Shared Folder\\Alpha.lnk", kTargets[1]);
        MakeShortcut(tree + L"Beta.lnk", kTargets[2], L"The same name in both trees");
        WriteText(tree + L"Readme.txt", "text");
    }
    Build();
    std::string log;
    for (int batch = 0; batch < kBatches; ++batch) {
        const int changes = 1 + int(random_() % 4);
        for (int i = 0; i < changes; ++i)
            log += Change() + "\n";
        RebuildAndCompare("seed " + std::to_string(seed) + ", batch " + std::to_string(batch) +
                          ":\n" + log);
        if (HasFailure())
            return;
    }
}

TEST_F(MenuRebuildTest, HiddenExtensionsRenameAsAFullBuildDoes)
{
    WriteText(user_ + L"Notes.txt", "text");
    MakeShortcut(user_ + L"Pad.lnk", kTargets[0]);
    // Settled entries: the kept answers would be reused but for the setting.
    for (const std::wstring &path : {user_ + L"Notes.txt", user_ + L"Pad.lnk", user_, common_})
        SetPastTimes(path);
    Build();
    ASSERT_NE(DescribeTree(root_).find(L"Notes.txt | "), std::wstring::npos);

    DWORD saved = 0, size = sizeof(saved);
    const bool had = RegGetValueW(HKEY_CURRENT_USER, kAdvancedKey, L"HideFileExt",
                                  RRF_RT_REG_DWORD, nullptr, &saved, &size) == ERROR_SUCCESS;
    const DWORD hide = 1;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kAdvancedKey, L"HideFileExt", REG_DWORD, &hide,
                              sizeof(hide)),
              ERROR_SUCCESS);
    // Nothing on disk changed: only the setting tells the rebuild to ask again.
    RebuildAndCompare("extensions hidden");
    EXPECT_NE(DescribeTree(root_).find(L"Notes | "), std::wstring::npos)
        << Narrow(DescribeTree(root_));
    if (had)
        RegSetKeyValueW(HKEY_CURRENT_USER, kAdvancedKey, L"HideFileExt", REG_DWORD, &saved,
                        sizeof(saved));
    else
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kAdvancedKey, L"HideFileExt");
    RebuildAndCompare("extensions shown again");
    EXPECT_NE(DescribeTree(root_).find(L"Notes.txt | "), std::wstring::npos);
}

// A drop target that takes nothing, to ask whether a window already has one.
class TRefusingTarget : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        *out = iid == IID_IUnknown || iid == IID_IDropTarget ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject *, DWORD, POINTL, DWORD *effect) override
    {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD *effect) override
    {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject *, DWORD, POINTL, DWORD *effect) override
    {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
};

std::wstring NameOf(IAccessible *object, long child)
{
    return AccessibleText(&IAccessible::get_accName, object, child).value_or(L"<none>");
}

TEST_F(MenuRebuildTest, LevelsOnReusedWindowsWorkAsNewOnes)
{
    for (const wchar_t *folder : {L"Apps", L"Games", L"Tools"}) {
        CreateDirectoryW((user_ + folder).c_str(), nullptr);
        MakeShortcut(user_ + folder + L"\\Old.lnk", kTargets[0]);
    }
    Build();
    std::vector<TMenu *> levels;
    CollectLevels(root_, levels);
    std::set<HWND> oldWindows;
    std::map<HWND, HWND> oldTips;  // window -> its tooltip
    for (TMenu *level : levels)
        if (level != root_) {
            oldWindows.insert(level->Window);
            oldTips[level->Window] = level->Tooltip;
        }
    TMenu *apps = root_->ItemWithPath((user_ + L"Apps").c_str())->Submenu;
    HWND appsWindow = apps->Window;
    IAccessible *oldObject = ObjectOf(appsWindow);
    ASSERT_NE(oldObject, nullptr);
    SetTimer(appsWindow, TIMER_MENU_OPEN_SUB, 100000, nullptr);

    // Games goes, Apps gets another line: one level fewer than windows.
    MakeShortcut(user_ + L"Apps\\New.lnk", kTargets[1]);
    RemoveTree(user_ + L"Games\\");
    Rebuild(root_);

    levels.clear();
    CollectLevels(root_, levels);
    std::set<HWND> newWindows;
    for (TMenu *level : levels) {
        if (level == root_)
            continue;
        EXPECT_EQ(oldWindows.count(level->Window), 1u) << "a window was created, not reused";
        newWindows.insert(level->Window);
        EXPECT_EQ(level->Tooltip, oldTips[level->Window]) << "the tooltip came with it";
        EXPECT_EQ(SendMessageW(level->Tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
    }
    EXPECT_EQ(newWindows.size(), levels.size() - 1) << "each level has a window of its own";
    for (HWND window : oldWindows)
        EXPECT_EQ(IsWindow(window) != FALSE, newWindows.count(window) == 1)
            << "a window no level took is destroyed";

    long count = 0;
    EXPECT_EQ(oldObject->get_accChildCount(&count), RPC_E_DISCONNECTED)
        << "the old level's object went with its level";
    oldObject->Release();

    TMenu *newApps = root_->ItemWithPath((user_ + L"Apps").c_str())->Submenu;
    HWND window = newApps->Window;
    EXPECT_FALSE(KillTimer(window, TIMER_MENU_OPEN_SUB)) << "no timer of the old level runs on";
    ShowLevel(root_);
    ShowLevel(newApps);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_GE(newApps->Width, 1);
    IAccessible *object = ObjectOf(window);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, newApps->Count());
    EXPECT_EQ(NameOf(object, 1), std::wstring(newApps->ItemAt(0)->Caption));
    EXPECT_EQ(NameOf(object, 2), std::wstring(newApps->ItemAt(1)->Caption));
    object->Release();

    // Drops: the window is still registered, and what its target tells it reaches the new level.
    TRefusingTarget probe;
    EXPECT_EQ(RegisterDragDrop(window, &probe), DRAGDROP_E_ALREADYREGISTERED);
    newApps->DragTick = 0;
    SendMessageW(window, UM_MENU_DRAG_ENTER, 0, 0);
    EXPECT_NE(newApps->DragTick, 0u);
    SendMessageW(window, UM_MENU_DRAG_LEAVE, 0, 0);
    MenuState.DragOver = false;
    CloseAll(root_);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    OleInitialize(nullptr);  // the levels register their drop targets
    LoadSettings();
    RegisterWindowClasses(GetModuleHandleW(nullptr));
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
