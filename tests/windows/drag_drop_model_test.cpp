// Drag and drop against a model: random reorders, moves of files and folders between levels
// of a user and an all-users tree, drops from elsewhere and new folders, each checked after
// the step: the files on disk are exactly those of the model (nothing lost, nothing
// doubled), and the menu equals a fresh build of the files with the order it wrote.
//   ORVELLA_DRAG_MODEL_SEED=N   replays one run
//   ORVELLA_DRAG_MODEL_EVERY=N  compares with a fresh build every N steps (default 10; 1 for
//                               every step, by hand)
#include "tests/windows/menu_window_fixture.h"

#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/order_file.h"
#include "common/win_text.h"
#include "menu/drag_drop.h"
#include "menu/menu_build.h"
#include "menu/portable/drop_rules.h"
#include "menu/portable/folder_names.h"
#include "render/options/shortcut_maker.h"
#include "tests/windows/menu_tree_compare.h"
#include "tests/windows/test_files.h"

namespace {

constexpr int kSteps = 200;

std::wstring Upper(std::wstring text)
{
    for (wchar_t &c : text)
        if (c >= L'a' && c <= L'z')
            c = wchar_t(c - L'a' + L'A');
    return text;
}

int IndexOf(const TMenu *level, const TMenuItem *item)
{
    int index = 0;
    for (const TMenuItem *at = level->Items; at; at = at->Next, ++index)
        if (at == item)
            return index;
    return -1;
}

std::vector<const TMenuItem *> Order(const TMenu *level)
{
    std::vector<const TMenuItem *> items;
    for (const TMenuItem *item = level->Items; item; item = item->Next)
        items.push_back(item);
    return items;
}

bool IsAncestor(const TMenuItem *item, const TMenu *level)
{
    for (const TMenuItem *parent = level->ParentItem; parent; parent = parent->Owner ? parent->Owner->ParentItem : nullptr)
        if (parent == item)
            return true;
    return false;
}

bool EverythingInside(const TMenu *level, const std::wstring &folder)
{
    for (const TMenuItem *item = level->Items; item; item = item->Next) {
        if (item->Path[0] && !IsSameOrInside(U16View(item->Path), U16View(folder.c_str())))
            return false;
        if (item->Submenu && !EverythingInside(item->Submenu, folder))
            return false;
    }
    return true;
}

size_t LongestPathBelow(const TMenuItem *item)
{
    size_t longest = wcslen(item->Path);
    if (item->Submenu)
        for (const TMenuItem *below = item->Submenu->Items; below; below = below->Next)
            longest = std::max(longest, LongestPathBelow(below));
    return longest;
}

class DragDropModelTest : public testing::Test {
protected:
    void SetUp() override
    {
        MenuState = {};
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        base_ = std::wstring(temp) + L"drag_drop_model_test\\";
        RemoveTree(base_);
        user_ = base_ + L"user\\";
        common_ = base_ + L"common\\";
        for (const std::wstring &folder : {base_, user_, common_})
            CreateDirectoryW(folder.c_str(), nullptr);
        lstrcpynW(MenuFolders.UserStartMenu, user_.c_str(), MAX_PATH);
        lstrcpynW(MenuFolders.CommonStartMenu, common_.c_str(), MAX_PATH);
        orderFile_ = base_ + L"sort.txt";
    }
    void TearDown() override
    {
        delete root_;
        RemoveTree(base_);
    }

    void Folder(const std::wstring &path)
    {
        CreateDirectoryW(path.c_str(), nullptr);
        Note(path + L"\\");
    }
    void Link(const std::wstring &path)
    {
        ASSERT_TRUE(MakeShortcut(path, L"C:\\windows\\notepad.exe"));
        Note(path);
    }
    void Note(const std::wstring &path) { model_.insert(Upper(path.substr(base_.size()))); }

    TMenu *FreshBuild()
    {
        TMenu *root = new TMenu(nullptr, false);
        ScanFolder(root, MenuFolders.UserStartMenu);
        ScanFolder(root, MenuFolders.CommonStartMenu);
        ApplyOrderFile(root, orderFile_.c_str());
        return root;
    }
    // What the program does after its own change: sort.txt written from the menu (1042).
    void StoreOrder() { WriteOrderFile(root_, orderFile_.c_str()); }

    std::set<std::wstring> Disk()
    {
        std::set<std::wstring> entries;
        for (const std::wstring &name : ListTree(base_))
            entries.insert(Upper(name));
        entries.erase(L"SORT.TXT");
        entries.erase(L"USER\\");
        entries.erase(L"COMMON\\");
        return entries;
    }
    // The model after a move of `from` (a file, or a folder and all below it) to `to`, and the
    // folders made for it.
    void MoveInModel(const std::wstring &from, const std::wstring &to, bool folder,
                     const std::vector<std::u16string> &chain)
    {
        for (const std::u16string &made : chain)
            Note(std::wstring(made.begin(), made.end()) + L"\\");
        const std::wstring oldKey = Upper(from.substr(base_.size())) + (folder ? L"\\" : L"");
        const std::wstring newKey = Upper(to.substr(base_.size())) + (folder ? L"\\" : L"");
        std::set<std::wstring> moved;
        for (auto it = model_.begin(); it != model_.end();) {
            if (it->compare(0, oldKey.size(), oldKey) == 0) {
                moved.insert(newKey + it->substr(oldKey.size()));
                it = model_.erase(it);
            } else {
                ++it;
            }
        }
        model_.insert(moved.begin(), moved.end());
    }

    // The same folder in the other tree, by the model.
    bool TwinOnDisk(const std::wstring &folder)
    {
        const std::wstring key = Upper(folder.substr(base_.size()));
        const std::wstring user = L"USER\\", common = L"COMMON\\";
        if (key.rfind(user, 0) == 0)
            return model_.count(common + key.substr(user.size()) + L"\\") > 0;
        return model_.count(user + key.substr(common.size()) + L"\\") > 0;
    }

    TMenu *RandomLevel()
    {
        std::vector<TMenu *> levels;
        CollectLevels(root_, levels);
        return levels[random_() % levels.size()];
    }
    int RandomGap(const TMenu *level) { return int(random_() % (level->Count() + 1)); }
    static void Mark(TMenu *level, int gap)
    {
        if (TMenuItem *below = level->ItemAt(gap))
            below->DropBefore = true;
        if (TMenuItem *above = level->ItemAt(gap - 1))
            above->DropAfter = true;
        MenuState.DragOver = true;
    }
    void DropFromMenu(TMenu *source, int index, TMenu *target, int gap)
    {
        MenuState.DraggingFromMenu = true;
        MenuState.DragSourceLevel = source;
        MenuState.PressedIndex = index;
        Mark(target, gap);
        OnDropData(target, kDropFilePath, GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 520));
        MenuState.DraggingFromMenu = false;
        MenuState.DragSourceLevel = nullptr;
    }

    // ---- The operations; each returns what it did, for the log of a failure ----

    std::string Reorder()
    {
        TMenu *level = RandomLevel();
        const int from = int(random_() % level->Count());
        const int gap = RandomGap(level);
        std::vector<const TMenuItem *> expected = Order(level);
        const TMenuItem *item = expected[from];
        expected.erase(expected.begin() + from);
        expected.insert(expected.begin() + ReorderedIndex(from, gap), item);
        DropFromMenu(level, from, level, gap);
        EXPECT_EQ(Order(level), expected);
        StoreOrder();
        return "reorder " + std::to_string(from) + " to gap " + std::to_string(gap);
    }

    std::string Move()
    {
        TMenu *source = RandomLevel();
        TMenu *target = RandomLevel();
        const int index = int(random_() % source->Count());
        TMenuItem *item = source->ItemAt(index);
        if (source == target || item->IsEmptyMarker)
            return "no move";
        const int gap = RandomGap(target);
        const std::wstring from = item->Path;
        const TTargetFolder folder = TargetFolderOf(target->ParentItem ? U16View(target->ParentItem->Path) : u"",
                                                    U16View(MenuFolders.UserStartMenu),
                                                    U16View(MenuFolders.CommonStartMenu));
        const std::wstring targetFolder(folder.Folder.begin(), folder.Folder.end());
        const std::u16string_view name = LastComponent(U16View(item->Path));
        const std::wstring to = targetFolder + std::wstring(name.begin(), name.end());
        const bool isFolder = item->Submenu != nullptr;
        bool allowed = model_.count(Upper(to.substr(base_.size()))) == 0 &&
                       model_.count(Upper(to.substr(base_.size())) + L"\\") == 0 &&
                       !target->FindByCaption(item->Path) && to.size() < MAX_PATH &&
                       LongestPathBelow(item) - from.size() + to.size() < MAX_PATH;
        if (isFolder)
            allowed = allowed && !IsAncestor(item, target) &&
                      !IsSameOrInside(folder.Folder, U16View(item->Path)) &&
                      EverythingInside(item->Submenu, from) && !TwinOnDisk(from);
        DropFromMenu(source, index, target, gap);
        const bool moved = item->Owner == target;
        EXPECT_EQ(moved, allowed) << "move of " << std::string(from.begin(), from.end()) << " to "
                                  << std::string(to.begin(), to.end());
        if (moved) {
            EXPECT_EQ(std::wstring(item->Path), to);
            EXPECT_EQ(IndexOf(target, item), std::min(gap, target->Count() - 1));
            std::vector<std::u16string> made;
            for (const std::u16string &chain : folder.Chain)
                if (!model_.count(Upper(std::wstring(chain.begin(), chain.end()).substr(base_.size())) + L"\\"))
                    made.push_back(chain);
            MoveInModel(from, to, isFolder, made);
            StoreOrder();
        }
        return std::string(moved ? "moved " : "kept ") + std::string(from.begin(), from.end()) + " -> " +
               std::string(to.begin(), to.end());
    }

    std::string DropFromElsewhere()
    {
        TMenu *level = RandomLevel();
        const int gap = RandomGap(level);
        const int kind = int(random_() % 3);
        const int n = ++dropped_;
        HGLOBAL block = nullptr;
        auto put = [&](const void *bytes, size_t size) {
            block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + 2);
            CopyMemory(GlobalLock(block), bytes, size);
            GlobalUnlock(block);
        };
        std::string what;
        if (kind == kDropFilePath) {
            const std::wstring path = L"C:\\windows\\notepad.exe";
            put(path.c_str(), (path.size() + 1) * 2);
            what = "a file";
        } else if (kind == kDropAddress) {
            const std::wstring address = L"http://orvella.example/page" + std::to_wstring(n);
            put(address.c_str(), (address.size() + 1) * 2);
            what = "an address";
        } else {
            const std::string html = "Version:0.9\r\n<html><body><a href=\"http://orvella.example/" +
                                     std::to_string(n) + "\">Link " + std::to_string(n) +
                                     "</a></body></html>";
            put(html.c_str(), html.size() + 1);
            what = "a link";
        }
        const int before = level->Count();
        const bool placeholder = level->Items && level->Items->IsEmptyMarker;
        std::vector<std::wstring> paths;
        for (const TMenuItem *item = level->Items; item; item = item->Next)
            paths.push_back(item->Path);
        const std::set<std::wstring> diskBefore = Disk();
        MenuState.DraggingFromMenu = false;
        Mark(level, gap);
        OnDropData(level, kind, block);
        // Whatever the shortcut maker wrote is what the model gets: one new file at most,
        // and its line at the drop place when it is new to the level.
        const std::set<std::wstring> diskAfter = Disk();
        std::vector<std::wstring> added;
        std::set_difference(diskAfter.begin(), diskAfter.end(), diskBefore.begin(), diskBefore.end(),
                            std::back_inserter(added));
        for (const std::wstring &entry : added)
            model_.insert(entry);
        const int files = int(std::count_if(added.begin(), added.end(), [](const std::wstring &e) { return e.back() != L'\\'; }));
        EXPECT_LE(files, 1) << what;
        if (level->Count() != before || (placeholder && !level->Items->IsEmptyMarker)) {
            EXPECT_EQ(files, 1) << what;
            StoreOrder();
        }
        return "drop of " + what + (files ? " made a shortcut" : " made nothing");
    }

    std::string NewFolder()
    {
        // As the context menu's command does; the folder watcher then has the menu rebuilt.
        const std::wstring in = random_() % 2 ? user_ : common_;
        const std::wstring path = in + L"New " + std::to_wstring(++folders_);
        Folder(path);
        if (random_() % 2)
            Link(path + L"\\Inside.lnk");
        StoreOrder();
        delete root_;
        root_ = FreshBuild();
        return "new folder " + std::string(path.begin(), path.end());
    }

    std::wstring base_, user_, common_, orderFile_;
    std::set<std::wstring> model_;
    TMenu *root_ = nullptr;
    std::mt19937 random_;
    int dropped_ = 0;
    int folders_ = 0;
};

} // namespace

TEST_F(DragDropModelTest, RandomDragsKeepFilesAndMenuInStep)
{
    // Both trees, a folder in both (whose line shows the entries of both), nested folders.
    Link(user_ + L"Alpha.lnk");
    Link(user_ + L"Beta.lnk");
    Folder(user_ + L"Games");
    Link(user_ + L"Games\\Mines.lnk");
    Folder(user_ + L"Games\\Cards");
    Link(user_ + L"Games\\Cards\\Solitaire.lnk");
    Folder(user_ + L"Empty");
    Folder(user_ + L"Both");
    Link(user_ + L"Both\\Mine.lnk");
    Folder(common_ + L"Both");
    Link(common_ + L"Both\\Theirs.lnk");
    Folder(common_ + L"Office");
    Link(common_ + L"Office\\Write.lnk");
    Folder(common_ + L"Office\\Tools");
    Link(common_ + L"Office\\Tools\\Clock.lnk");
    Link(common_ + L"Setup.lnk");
    root_ = FreshBuild();
    StoreOrder();

    const char *seedText = std::getenv("ORVELLA_DRAG_MODEL_SEED");
    const unsigned seed = seedText ? unsigned(std::strtoul(seedText, nullptr, 10)) : unsigned(GetTickCount());
    const char *everyText = std::getenv("ORVELLA_DRAG_MODEL_EVERY");
    const int every = everyText ? std::max(1, std::atoi(everyText)) : 10;
    std::printf("seed %u (ORVELLA_DRAG_MODEL_SEED=%u replays it), fresh build every %d steps\n", seed,
                seed, every);
    random_.seed(seed);

    std::vector<std::string> log;
    for (int step = 1; step <= kSteps; ++step) {
        const unsigned choice = random_() % 10;
        if (choice < 3)
            log.push_back(Reorder());
        else if (choice < 7)
            log.push_back(Move());
        else if (choice < 9)
            log.push_back(DropFromElsewhere());
        else
            log.push_back(NewFolder());
        EXPECT_EQ(Disk(), model_) << "step " << step << ": " << log.back() << " (seed " << seed << ")";
        if (step % every == 0 || step == kSteps) {
            TMenu *fresh = FreshBuild();
            const std::wstring built = DescribeTree(fresh), shown = DescribeTree(root_);
            delete fresh;
            EXPECT_EQ(shown, built) << "step " << step << ": " << log.back() << " (seed " << seed << ")";
        }
        if (HasFailure()) {
            for (const std::string &line : log)
                std::printf("  %s\n", line.c_str());
            return;
        }
    }
    int moves = 0, shortcuts = 0;
    for (const std::string &line : log) {
        moves += line.rfind("moved ", 0) == 0;
        shortcuts += line.find("made a shortcut") != std::string::npos;
    }
    std::printf("%d of %d steps moved an entry, %d made a shortcut\n", moves, kSteps, shortcuts);
    EXPECT_GT(moves, 0);
    EXPECT_GT(shortcuts, 0);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    OleInitialize(nullptr);
    testing::AddGlobalTestEnvironment(new MenuWindowEnvironment);
    return RUN_ALL_TESTS();
}
