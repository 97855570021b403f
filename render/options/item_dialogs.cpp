#include "render/options/item_dialogs.h"

#include <shlobj.h>

#include <cwchar>

#include "common/messages.h"
#include "resources/tvra_resources.h"
#include "settings/dialog_text.h"
#include "settings/settings.h"
#include "settings/special_icon.h"

TItemDialogSeam ItemDialogSeam = {PickIconDlg, GetOpenFileNameW};

namespace {

// ---- The properties of a special item (templates 102 and 103) ----

// The dialog's record, in DWLP_USER.  The dialog owns the icon shown in its icon box: the
// box never destroys an icon it is handed over (it only would on WM_CLOSE, which a dialog
// ended by EndDialog never sends its children), so the dialog destroys the one it replaces
// and, when it goes, the last one.
struct TIconDialog {
    TItemProperties *Values;
    HICON Icon;
};

TIconDialog *IconDialogOf(HWND dialog)
{
    return reinterpret_cast<TIconDialog *>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void ShowIconLocation(HWND dialog, const TItemProperties &values)
{
    wchar_t location[MAX_PATH + 16];
    swprintf(location, sizeof location / sizeof *location, L"%ls,%i", values.IconFile,
             values.IconIndex);
    SetDlgItemTextW(dialog, IDC_ICON_LOCATION, location);
}

// Hands the icon of the current location to the box and destroys the one it showed.
void ShowIcon(HWND dialog, TIconDialog &state)
{
    HICON previous = state.Icon;
    state.Icon = LoadIconAt(state.Values->IconFile, state.Values->IconIndex);
    SendDlgItemMessageW(dialog, IDC_ICON_BOX, UM_ICON_SET, reinterpret_cast<WPARAM>(state.Icon), 0);
    if (previous)
        DestroyIcon(previous);
    ShowIconLocation(dialog, *state.Values);
}

// Template 103 has the texts of 102 and its own; its second browse button shares 105's text.
void ApplyIconDialogTexts(HWND dialog, bool withCommand)
{
    ApplyDialogTexts(dialog, IDD_ITEM_ICON);
    if (!withCommand)
        return;
    ApplyDialogTexts(dialog, IDD_ITEM_ICON_COMMAND);
    if (const wchar_t *browse = Settings.Local[LocalDlg_102_105]; browse[0])
        SetDlgItemTextW(dialog, IDC_COMMAND_BROWSE, browse);
}

INT_PTR OnIconDialogInit(HWND dialog, TIconDialog *state)
{
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    const bool withCommand = GetDlgItem(dialog, IDC_COMMAND_FIELD) != nullptr;
    ApplyIconDialogTexts(dialog, withCommand);
    ShowIcon(dialog, *state);
    if (withCommand) {
        SendDlgItemMessageW(dialog, IDC_COMMAND_FIELD, EM_LIMITTEXT, MAX_PATH - 1, 0);
        SetDlgItemTextW(dialog, IDC_COMMAND_FIELD, state->Values->Command);
    }
    SetFocus(GetDlgItem(dialog, IDC_ICON_LOCATION));
    return FALSE;  // the focus is set
}

void OnPickIcon(HWND dialog, TIconDialog &state)
{
    TItemProperties &values = *state.Values;
    // 1 is a confirmed choice; Wine's stub answers -1 without showing anything.
    if (ItemDialogSeam.PickIcon(dialog, values.IconFile, MAX_PATH, &values.IconIndex) > 0)
        ShowIcon(dialog, state);
}

// The open-file dialog starts empty: a command with arguments is no file name, and the
// dialog refuses to open at all on an initial name it cannot parse.
void OnBrowseCommand(HWND dialog, TItemProperties &values)
{
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW open = {};
    open.lStructSize = sizeof open;
    open.hwndOwner = dialog;
    open.lpstrFile = file;
    open.nMaxFile = MAX_PATH;
    open.Flags = OFN_FILEMUSTEXIST;
    if (!ItemDialogSeam.OpenFile(&open))
        return;
    wcscpy(values.Command, file);
    SetDlgItemTextW(dialog, IDC_COMMAND_FIELD, values.Command);
}

void OnClearCommand(HWND dialog, TItemProperties &values)
{
    values.Command[0] = 0;
    SetDlgItemTextW(dialog, IDC_COMMAND_FIELD, L"");
}

void OnIconDialogEnd(HWND dialog, TItemProperties &values, int result)
{
    if (result == IDOK && GetDlgItem(dialog, IDC_COMMAND_FIELD))
        GetDlgItemTextW(dialog, IDC_COMMAND_FIELD, values.Command, MAX_PATH);
    EndDialog(dialog, result);
}

// Every way out passes here, while the icon box still exists: it lets go of the icon first.
void OnIconDialogDestroy(HWND dialog, TIconDialog &state)
{
    SendDlgItemMessageW(dialog, IDC_ICON_BOX, UM_ICON_SET, 0, 0);
    if (state.Icon)
        DestroyIcon(state.Icon);
    state.Icon = nullptr;
}

INT_PTR OnIconDialogCommand(HWND dialog, TIconDialog &state, WORD command)
{
    switch (command) {
    case IDC_ICON_BROWSE:
        OnPickIcon(dialog, state);
        return TRUE;
    case IDC_COMMAND_BROWSE:
        OnBrowseCommand(dialog, *state.Values);
        return TRUE;
    case IDC_COMMAND_CLEAR:
        OnClearCommand(dialog, *state.Values);
        return TRUE;
    case IDOK:
    case IDCANCEL:
        OnIconDialogEnd(dialog, *state.Values, command);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK IconDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnIconDialogInit(dialog, reinterpret_cast<TIconDialog *>(lParam));
    TIconDialog *state = IconDialogOf(dialog);
    if (!state)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return OnIconDialogCommand(dialog, *state, LOWORD(wParam));
    case WM_DESTROY:
        OnIconDialogDestroy(dialog, *state);
        return FALSE;
    }
    return FALSE;
}

INT_PTR RunIconTemplate(HWND owner, int templateId, TItemProperties &values)
{
    TIconDialog state = {&values, nullptr};
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                           IconDialogProc, reinterpret_cast<LPARAM>(&state));
}

// ---- The name dialogs (templates 101 and 108) ----

struct TNameDialog {
    int Template;  // also the number of its language keys
    wchar_t *Name; // MAX_PATH units
};

INT_PTR OnNameDialogInit(HWND dialog, TNameDialog *state)
{
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    ApplyDialogTexts(dialog, state->Template);
    HWND field = GetDlgItem(dialog, IDC_NAME_FIELD);
    SendMessageW(field, EM_LIMITTEXT, MAX_PATH - 1, 0);
    SetWindowTextW(field, state->Name);
    SetFocus(field);
    return FALSE;  // the focus is set
}

INT_PTR OnNameDialogCommand(HWND dialog, TNameDialog &state, WORD command)
{
    if (command != IDOK && command != IDCANCEL)
        return FALSE;
    if (command == IDOK)
        GetDlgItemTextW(dialog, IDC_NAME_FIELD, state.Name, MAX_PATH);
    EndDialog(dialog, command);
    return TRUE;
}

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnNameDialogInit(dialog, reinterpret_cast<TNameDialog *>(lParam));
    auto *state = reinterpret_cast<TNameDialog *>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (state && message == WM_COMMAND)
        return OnNameDialogCommand(dialog, *state, LOWORD(wParam));
    return FALSE;
}

INT_PTR RunNameTemplate(HWND owner, int templateId, wchar_t (&name)[MAX_PATH])
{
    TNameDialog state = {templateId, name};
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                           NameDialogProc, reinterpret_cast<LPARAM>(&state));
}

} // namespace

INT_PTR RunIconDialog(HWND owner, TItemProperties &values)
{
    return RunIconTemplate(owner, IDD_ITEM_ICON, values);
}

INT_PTR RunIconCommandDialog(HWND owner, TItemProperties &values)
{
    return RunIconTemplate(owner, IDD_ITEM_ICON_COMMAND, values);
}

INT_PTR RunCreateFolderDialog(HWND owner, wchar_t (&name)[MAX_PATH])
{
    return RunNameTemplate(owner, IDD_CREATE_FOLDER, name);
}

INT_PTR RunSaveThemeDialog(HWND owner, wchar_t (&name)[MAX_PATH])
{
    return RunNameTemplate(owner, IDD_SAVE_THEME, name);
}
