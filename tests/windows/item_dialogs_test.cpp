// The item dialogs as a user meets them: each dialog runs modally on the test's thread while
// a "user" thread finds it, reads what it shows and presses its buttons; the system's icon
// picker and open-file dialog are answered the same way.  What the user thread sees is
// recorded and checked once the dialog has returned.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <atomic>
#include <cwchar>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/messages.h"
#include "render/options/icon_control.h"
#include "render/options/item_dialogs.h"
#include "settings/settings.h"
#include "dialog_user.h"
#include "tests/windows/import_table.h"
#include "test_files.h"
#include "tvra_resources.h"

namespace {

// ---- The user on another thread ----

std::wstring ItemText(HWND dialog, int id)
{
    return TextOf(GetDlgItem(dialog, id));
}

void Press(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

HICON BoxIcon(HWND dialog)
{
    return reinterpret_cast<HICON>(GetWindowLongPtrW(GetDlgItem(dialog, IDC_ICON_BOX), 0));
}

bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

// ---- Fixtures ----

// Distinct texts for every key of the dialogs, so that each control shows whose text it got.
void SetDialogTexts()
{
    const struct {
        LanguageKey key;
        const wchar_t *text;
    } texts[] = {
        {LocalDlg_Ok, L"Fine"},           {LocalDlg_Cancel, L"Never mind"},
        {LocalDlg_101, L"New folder"},    {LocalDlg_101_100, L"Name of the folder:"},
        {LocalDlg_102, L"Item icon"},     {LocalDlg_102_101, L"Picture"},
        {LocalDlg_102_103, L"Taken from:"}, {LocalDlg_102_105, L"Look for..."},
        {LocalDlg_103_106, L"Runs"},      {LocalDlg_103_109, L"Empty it"},
        {LocalDlg_108, L"Keep theme"},    {LocalDlg_108_100, L"Name of the theme:"},
    };
    for (const auto &t : texts)
        wcscpy(Settings.Local[t.key], t.text);
}

std::wstring Shell32()
{
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\shell32.dll";
}

// The values with a guard behind them: a dialog that wrote past the command's 260 units
// would change the guard.
struct TGuardedProperties {
    TItemProperties Values;
    wchar_t Guard[8];
};

constexpr wchar_t kGuard[8] = L"GUARD!!";

TGuardedProperties PropertiesOf(const std::wstring &file, int index, const wchar_t *command)
{
    TGuardedProperties p = {};
    wcscpy(p.Values.IconFile, file.c_str());
    p.Values.IconIndex = index;
    wcscpy(p.Values.Command, command);
    wcscpy(p.Guard, kGuard);
    return p;
}

struct TGuardedName {
    wchar_t Name[MAX_PATH];
    wchar_t Guard[8];
};

const std::wstring kLongText(300, L'x');

// ---- The name dialogs: create folder (101) and save theme (108) ----

struct TNameDialogCase {
    const char *what;
    INT_PTR (*run)(HWND, wchar_t (&)[MAX_PATH]);
    const wchar_t *caption;
    const wchar_t *label;
};

const TNameDialogCase kNameDialogs[] = {
    {"create folder", RunCreateFolderDialog, L"New folder", L"Name of the folder:"},
    {"save theme", RunSaveThemeDialog, L"Keep theme", L"Name of the theme:"},
};

TEST(NameDialogs, ShowTheirTextsAndTheNameWithTheFocusInTheField)
{
    SetDialogTexts();
    for (const TNameDialogCase &d : kNameDialogs) {
        TGuardedName name = {L"Old name", L""};
        std::wstring caption, label, field, ok, cancel;
        bool focused = false;
        INT_PTR result = 0;
        ASSERT_TRUE(RunWithUser([&] { result = d.run(nullptr, name.Name); },
                                [&](HWND dialog) {
                                    caption = TextOf(dialog);
                                    label = ItemText(dialog, IDC_NAME_LABEL);
                                    field = ItemText(dialog, IDC_NAME_FIELD);
                                    ok = ItemText(dialog, IDOK);
                                    cancel = ItemText(dialog, IDCANCEL);
                                    focused = FocusOfTestThread() ==
                                              GetDlgItem(dialog, IDC_NAME_FIELD);
                                    Press(dialog, IDCANCEL);
                                }))
            << d.what;
        EXPECT_EQ(caption, d.caption) << d.what;
        EXPECT_EQ(label, d.label) << d.what;
        EXPECT_EQ(field, L"Old name") << d.what;
        EXPECT_EQ(ok, L"Fine") << d.what;
        EXPECT_EQ(cancel, L"Never mind") << d.what;
        EXPECT_TRUE(focused) << d.what;
        EXPECT_EQ(result, IDCANCEL) << d.what;
    }
}

TEST(NameDialogs, OkReturnsTheEditedNameCutTo259CharactersAndCancelKeepsTheOldOne)
{
    SetDialogTexts();
    const struct {
        const char *what;
        int button;
        std::wstring typed;
        INT_PTR result;
        std::wstring name;
    } cases[] = {
        {"ok", IDOK, L"Tools", IDOK, L"Tools"},
        {"ok with nothing", IDOK, L"", IDOK, L""},
        {"ok with 300 characters", IDOK, kLongText, IDOK, kLongText.substr(0, MAX_PATH - 1)},
        {"cancel", IDCANCEL, L"Tools", IDCANCEL, L"Old name"},
    };
    for (const TNameDialogCase &d : kNameDialogs) {
        for (const auto &c : cases) {
            TGuardedName name = {L"Old name", L""};
            wcscpy(name.Guard, kGuard);
            INT_PTR result = 0;
            ASSERT_TRUE(RunWithUser([&] { result = d.run(nullptr, name.Name); },
                                    [&](HWND dialog) {
                                        SetDlgItemTextW(dialog, IDC_NAME_FIELD, c.typed.c_str());
                                        Press(dialog, c.button);
                                    }))
                << d.what << ", " << c.what;
            EXPECT_EQ(result, c.result) << d.what << ", " << c.what;
            EXPECT_EQ(std::wstring(name.Name), c.name) << d.what << ", " << c.what;
            EXPECT_STREQ(name.Guard, kGuard) << d.what << ", " << c.what;
        }
    }
}

// ---- The properties dialogs: icon (102) and icon with a command (103) ----

struct TIconDialogCase {
    const char *what;
    INT_PTR (*run)(HWND, TItemProperties &);
    bool withCommand;
};

const TIconDialogCase kIconDialogs[] = {
    {"icon", RunIconDialog, false},
    {"icon and command", RunIconCommandDialog, true},
};

TEST(IconDialogs, ShowTheirTextsTheIconItsLocationAndTheCommand)
{
    SetDialogTexts();
    for (const TIconDialogCase &d : kIconDialogs) {
        TGuardedProperties p = PropertiesOf(Shell32(), 3, L"cmd.exe /k dir");
        std::map<int, std::wstring> texts;
        std::wstring caption;
        bool focused = false, readOnly = false, iconShown = false;
        bool hasCommand = false;
        ASSERT_TRUE(RunWithUser([&] { d.run(nullptr, p.Values); },
                                [&](HWND dialog) {
                                    caption = TextOf(dialog);
                                    for (int id : {IDC_ICON_GROUP, IDC_ICON_LABEL,
                                                   IDC_ICON_LOCATION, IDC_ICON_BROWSE,
                                                   IDC_COMMAND_GROUP, IDC_COMMAND_FIELD,
                                                   IDC_COMMAND_BROWSE, IDC_COMMAND_CLEAR,
                                                   IDOK, IDCANCEL})
                                        texts[id] = ItemText(dialog, id);
                                    HWND location = GetDlgItem(dialog, IDC_ICON_LOCATION);
                                    focused = FocusOfTestThread() == location;
                                    readOnly = GetWindowLongW(location, GWL_STYLE) & ES_READONLY;
                                    iconShown = IconAlive(BoxIcon(dialog));
                                    hasCommand = GetDlgItem(dialog, IDC_COMMAND_FIELD);
                                    Press(dialog, IDCANCEL);
                                }))
            << d.what;
        EXPECT_EQ(caption, L"Item icon") << d.what;
        EXPECT_EQ(texts[IDC_ICON_GROUP], L"Picture") << d.what;
        EXPECT_EQ(texts[IDC_ICON_LABEL], L"Taken from:") << d.what;
        EXPECT_EQ(texts[IDC_ICON_LOCATION], Shell32() + L",3") << d.what;
        EXPECT_EQ(texts[IDC_ICON_BROWSE], L"Look for...") << d.what;
        EXPECT_EQ(texts[IDOK], L"Fine") << d.what;
        EXPECT_EQ(texts[IDCANCEL], L"Never mind") << d.what;
        EXPECT_TRUE(focused) << d.what;
        EXPECT_TRUE(readOnly) << d.what;
        EXPECT_TRUE(iconShown) << d.what;
        EXPECT_EQ(hasCommand, d.withCommand) << d.what;
        if (d.withCommand) {
            EXPECT_EQ(texts[IDC_COMMAND_GROUP], L"Runs");
            EXPECT_EQ(texts[IDC_COMMAND_FIELD], L"cmd.exe /k dir");
            // The second browse button has the first one's text.
            EXPECT_EQ(texts[IDC_COMMAND_BROWSE], L"Look for...");
            EXPECT_EQ(texts[IDC_COMMAND_CLEAR], L"Empty it");
        }
    }
}

TEST(IconDialogs, OkCopiesTheCommandUpTo259CharactersAndCancelLeavesItAlone)
{
    SetDialogTexts();
    const struct {
        const char *what;
        const TIconDialogCase &dialog;
        int button;
        std::wstring typed;
        INT_PTR result;
        std::wstring command;
    } cases[] = {
        {"ok with a command", kIconDialogs[1], IDOK, L"notepad.exe", IDOK, L"notepad.exe"},
        {"ok with 300 characters", kIconDialogs[1], IDOK, kLongText, IDOK,
         kLongText.substr(0, MAX_PATH - 1)},
        {"cancel with a command", kIconDialogs[1], IDCANCEL, L"notepad.exe", IDCANCEL, L"old"},
        // The dialog without a command field never touches the command.
        {"ok without a command", kIconDialogs[0], IDOK, L"", IDOK, L"old"},
        {"cancel without a command", kIconDialogs[0], IDCANCEL, L"", IDCANCEL, L"old"},
    };
    for (const auto &c : cases) {
        TGuardedProperties p = PropertiesOf(Shell32(), 3, L"old");
        INT_PTR result = 0;
        ASSERT_TRUE(RunWithUser([&] { result = c.dialog.run(nullptr, p.Values); },
                                [&](HWND dialog) {
                                    if (c.dialog.withCommand)
                                        SetDlgItemTextW(dialog, IDC_COMMAND_FIELD,
                                                        c.typed.c_str());
                                    Press(dialog, c.button);
                                }))
            << c.what;
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_EQ(std::wstring(p.Values.Command), c.command) << c.what;
        EXPECT_EQ(std::wstring(p.Values.IconFile), Shell32()) << c.what;
        EXPECT_EQ(p.Values.IconIndex, 3) << c.what;
        EXPECT_STREQ(p.Guard, kGuard) << c.what;
    }
}

// The clear button empties the field and the shared command at once: even a dialog then
// cancelled leaves the command empty.
TEST(IconDialogs, ClearEmptiesTheFieldAndTheCommand)
{
    SetDialogTexts();
    TGuardedProperties p = PropertiesOf(Shell32(), 3, L"cmd.exe /k dir");
    std::wstring field = L"<not read>";
    ASSERT_TRUE(RunWithUser([&] { RunIconCommandDialog(nullptr, p.Values); },
                            [&](HWND dialog) {
                                Press(dialog, IDC_COMMAND_CLEAR);
                                Settle(dialog);
                                field = ItemText(dialog, IDC_COMMAND_FIELD);
                                Press(dialog, IDCANCEL);
                            }));
    EXPECT_EQ(field, L"");
    EXPECT_EQ(std::wstring(p.Values.Command), L"");
}

// ---- The system's icon picker ----

// Wine's PickIconDlg is a stub that shows nothing and returns -1, so the picker is answered
// in its place: what it was asked, and what it gives back.
struct TPickCall {
    HWND owner;
    std::wstring file;
    UINT size;
    int index;
};
std::vector<TPickCall> pickCalls;
int pickResult = 0;
const wchar_t *pickFile = nullptr;
int pickIndex = 0;

int WINAPI AnswerPickIconOnce(HWND owner, PWSTR file, UINT size, int *index)
{
    pickCalls.push_back({owner, file, size, *index});
    if (pickResult > 0) {
        wcscpy(file, pickFile);
        *index = pickIndex;
    }
    return pickResult;
}

// Confirmed, the new icon replaces the old one (which is destroyed) and its location is
// shown; cancelled or failed, nothing changes.  The chosen location stays in the values
// whichever button then ends the properties dialog.
TEST(IconDialogs, TheIconPickerConfirmedShowsTheNewIconAndCancelledChangesNothing)
{
    SetDialogTexts();
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring notepad = std::wstring(system) + L"\\notepad.exe";
    const struct {
        const char *what;
        int answer;
        std::wstring file;
        int index;
    } cases[] = {
        {"confirmed", 1, notepad, 0},
        {"cancelled", 0, Shell32(), 3},
        {"failed", -1, Shell32(), 3},
    };
    const auto real = ItemDialogSeam.PickIcon;
    ItemDialogSeam.PickIcon = AnswerPickIconOnce;
    for (const auto &c : cases) {
        TGuardedProperties p = PropertiesOf(Shell32(), 3, L"");
        pickCalls.clear();
        pickResult = c.answer;
        pickFile = notepad.c_str();
        pickIndex = 0;
        HWND shown = nullptr;
        HICON before = nullptr, after = nullptr;
        bool beforeAliveAfter = true, afterAlive = false;
        std::wstring location;
        INT_PTR result = 0;
        ASSERT_TRUE(RunWithUser([&] { result = RunIconDialog(nullptr, p.Values); },
                                [&](HWND dialog) {
                                    shown = dialog;
                                    before = BoxIcon(dialog);
                                    Press(dialog, IDC_ICON_BROWSE);
                                    Settle(dialog);
                                    location = ItemText(dialog, IDC_ICON_LOCATION);
                                    after = BoxIcon(dialog);
                                    beforeAliveAfter = IconAlive(before);
                                    afterAlive = IconAlive(after);
                                    Press(dialog, IDCANCEL);
                                }))
            << c.what;
        ASSERT_EQ(pickCalls.size(), 1u) << c.what;
        EXPECT_EQ(pickCalls[0].owner, shown) << c.what;
        EXPECT_EQ(pickCalls[0].file, Shell32()) << c.what;
        EXPECT_EQ(pickCalls[0].size, UINT(MAX_PATH)) << c.what;
        EXPECT_EQ(pickCalls[0].index, 3) << c.what;
        EXPECT_EQ(result, IDCANCEL) << c.what;
        EXPECT_EQ(location, c.file + L"," + std::to_wstring(c.index)) << c.what;
        EXPECT_EQ(std::wstring(p.Values.IconFile), c.file) << c.what;
        EXPECT_EQ(p.Values.IconIndex, c.index) << c.what;
        EXPECT_TRUE(afterAlive) << c.what;
        if (c.answer > 0) {
            EXPECT_NE(after, before) << c.what;
            EXPECT_FALSE(beforeAliveAfter) << c.what << ": the replaced icon is destroyed";
        } else {
            EXPECT_EQ(after, before) << c.what;
            EXPECT_TRUE(beforeAliveAfter) << c.what;
        }
        EXPECT_FALSE(IconAlive(after)) << c.what << ": the last icon goes with the dialog";
    }
    ItemDialogSeam.PickIcon = real;
}

// ---- The system's open-file dialog ----

struct TOpenFileCall {
    HWND owner;
    DWORD flags;
    bool filter;
    DWORD size;
};
std::vector<TOpenFileCall> openFileCalls;
const wchar_t *openFileAnswer = nullptr;

BOOL WINAPI AnswerOpenFile(OPENFILENAMEW *open)
{
    openFileCalls.push_back({open->hwndOwner, open->Flags, open->lpstrFilter != nullptr,
                             open->nMaxFile});
    if (!openFileAnswer)
        return FALSE;
    wcscpy(open->lpstrFile, openFileAnswer);
    return TRUE;
}

TEST(IconDialogs, TheOpenFileDialogIsAskedForAnExistingFileWithNoFilter)
{
    SetDialogTexts();
    const auto real = ItemDialogSeam.OpenFile;
    ItemDialogSeam.OpenFile = AnswerOpenFile;
    openFileCalls.clear();
    openFileAnswer = L"C:\\tools\\run.exe";
    TGuardedProperties p = PropertiesOf(Shell32(), 3, L"old");
    HWND shown = nullptr;
    ASSERT_TRUE(RunWithUser([&] { RunIconCommandDialog(nullptr, p.Values); },
                            [&](HWND dialog) {
                                shown = dialog;
                                Press(dialog, IDC_COMMAND_BROWSE);
                                Press(dialog, IDCANCEL);
                            }));
    ItemDialogSeam.OpenFile = real;
    ASSERT_EQ(openFileCalls.size(), 1u);
    EXPECT_EQ(openFileCalls[0].owner, shown);
    EXPECT_EQ(openFileCalls[0].flags, DWORD(OFN_FILEMUSTEXIST));
    EXPECT_FALSE(openFileCalls[0].filter);
    EXPECT_EQ(openFileCalls[0].size, DWORD(MAX_PATH));
    // Chosen, the file is the command at once, even when the dialog is then cancelled.
    EXPECT_EQ(std::wstring(p.Values.Command), L"C:\\tools\\run.exe");
}

// Answered in the real dialog: a file typed into its name field and opened becomes the
// command; cancelled, the command stays.
TEST(IconDialogs, TheRealOpenFileDialogFillsTheCommand)
{
    SetDialogTexts();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring file = std::wstring(temp) + L"orvella run me.exe";
    HANDLE made = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    CloseHandle(made);
    const struct {
        const char *what;
        int button;
        std::wstring command;
    } cases[] = {
        {"opened", IDOK, file},
        {"cancelled", IDCANCEL, L"old"},
    };
    for (const auto &c : cases) {
        TGuardedProperties p = PropertiesOf(Shell32(), 3, L"old");
        std::wstring field;
        bool openFound = false;
        ASSERT_TRUE(RunWithUser(
            [&] { RunIconCommandDialog(nullptr, p.Values); },
            [&](HWND dialog) {
                Press(dialog, IDC_COMMAND_BROWSE);
                HWND open = WaitForDialog(dialog);
                openFound = open != nullptr;
                if (open) {
                    // The name field of the explorer-style dialog (cmb13).
                    SetDlgItemTextW(open, 0x47C, file.c_str());
                    PostMessageW(open, WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
                    Eventually([&] { return !IsWindow(open); });
                    Settle(dialog);
                }
                field = ItemText(dialog, IDC_COMMAND_FIELD);
                Press(dialog, IDOK);
            }))
            << c.what;
        EXPECT_TRUE(openFound) << c.what;
        EXPECT_EQ(field, c.command) << c.what;
        EXPECT_EQ(std::wstring(p.Values.Command), c.command) << c.what;
    }
    DeleteFileW(file.c_str());
}

// ---- One owner per icon ----

// Every icon the program makes from a file and every icon it destroys, seen at the test
// program's own imports (the product code is linked into it).
std::mutex iconsLock;
std::map<HICON, bool> iconsAlive;    // made here and not destroyed yet
int iconsMade = 0;
int iconsDestroyedUnknown = 0;       // destroyed but not alive: never made here, or twice

UINT(WINAPI *realExtractIconEx)(LPCWSTR, int, HICON *, HICON *, UINT) = nullptr;
HICON(WINAPI *realExtractAssociatedIcon)(HINSTANCE, LPWSTR, WORD *) = nullptr;
BOOL(WINAPI *realDestroyIcon)(HICON) = nullptr;

UINT WINAPI CountedExtractIconEx(LPCWSTR file, int index, HICON *large, HICON *small, UINT n)
{
    const UINT got = realExtractIconEx(file, index, large, small, n);
    std::lock_guard<std::mutex> hold(iconsLock);
    for (HICON *made : {large, small})
        if (made && got && *made) {
            iconsAlive[*made] = true;
            ++iconsMade;
        }
    return got;
}

HICON WINAPI CountedExtractAssociatedIcon(HINSTANCE instance, LPWSTR file, WORD *index)
{
    HICON icon = realExtractAssociatedIcon(instance, file, index);
    std::lock_guard<std::mutex> hold(iconsLock);
    if (icon) {
        iconsAlive[icon] = true;
        ++iconsMade;
    }
    return icon;
}

BOOL WINAPI CountedDestroyIcon(HICON icon)
{
    {
        std::lock_guard<std::mutex> hold(iconsLock);
        if (!iconsAlive.erase(icon))
            ++iconsDestroyedUnknown;
    }
    return realDestroyIcon(icon);
}

// The picker answered in its place: confirmed with the next icon, or cancelled.
std::atomic<int> pickCount = 0;
int WINAPI AnswerPickIcon(HWND, PWSTR, UINT, int *index)
{
    if (pickCount++ % 2)
        return 0;
    *index = (*index + 1) % 8;
    return 1;
}

// A hundred dialogs, each through a confirmed and a cancelled pick and then OK or Cancel:
// every icon made is destroyed exactly once, none is destroyed that was not made, and the
// process holds as many GDI and USER objects as before.
TEST(IconDialogs, EveryIconIsDestroyedExactlyOnceOnEveryWayOut)
{
    SetDialogTexts();
    realExtractIconEx = reinterpret_cast<decltype(realExtractIconEx)>(
        ReplaceImport("shell32.dll", "ExtractIconExW", reinterpret_cast<void *>(CountedExtractIconEx)));
    realExtractAssociatedIcon = reinterpret_cast<decltype(realExtractAssociatedIcon)>(ReplaceImport(
        "shell32.dll", "ExtractAssociatedIconW", reinterpret_cast<void *>(CountedExtractAssociatedIcon)));
    realDestroyIcon = reinterpret_cast<decltype(realDestroyIcon)>(
        ReplaceImport("user32.dll", "DestroyIcon", reinterpret_cast<void *>(CountedDestroyIcon)));
    ASSERT_TRUE(realExtractIconEx && realExtractAssociatedIcon && realDestroyIcon);
    const auto realPick = ItemDialogSeam.PickIcon;
    ItemDialogSeam.PickIcon = AnswerPickIcon;
    iconsAlive.clear();
    iconsMade = 0;
    iconsDestroyedUnknown = 0;

    // One dialog first, so that what stays loaded for good (the dialog font, the class
    // atoms, the system's own caches) is in the figures before they are read.
    auto cycle = [&](int i) {
        TGuardedProperties p = PropertiesOf(Shell32(), 3, L"");
        const TIconDialogCase &d = kIconDialogs[i % 2];
        return RunWithUser([&] { d.run(nullptr, p.Values); },
                           [&](HWND dialog) {
                               const int picks = pickCount;
                               Press(dialog, IDC_ICON_BROWSE);
                               Press(dialog, IDC_ICON_BROWSE);
                               Eventually([&] { return pickCount == picks + 2; });
                               Press(dialog, i % 4 < 2 ? IDOK : IDCANCEL);
                           });
    };
    ASSERT_TRUE(cycle(0));
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(cycle(i)) << i;
    const DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userAfter = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);

    ItemDialogSeam.PickIcon = realPick;
    ReplaceImport("shell32.dll", "ExtractIconExW", reinterpret_cast<void *>(realExtractIconEx));
    ReplaceImport("shell32.dll", "ExtractAssociatedIconW",
                  reinterpret_cast<void *>(realExtractAssociatedIcon));
    ReplaceImport("user32.dll", "DestroyIcon", reinterpret_cast<void *>(realDestroyIcon));

    // 101 dialogs, each with its first icon and the one of the confirmed pick.
    EXPECT_GE(iconsMade, 202);
    EXPECT_EQ(iconsAlive.size(), 0u) << "icons leaked";
    EXPECT_EQ(iconsDestroyedUnknown, 0) << "icons destroyed twice or not ours";
    // Wine does not count GUI objects (GetGuiResources answers 0); Windows does.
    if (gdiBefore || userBefore) {
        EXPECT_EQ(gdiAfter, gdiBefore);
        EXPECT_EQ(userAfter, userBefore);
    }
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    StartDialogUser();
    RegisterWindowClass(IconControlWindowClass(), GetModuleHandleW(nullptr));
    CoInitialize(nullptr);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
