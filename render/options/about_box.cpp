#include "render/options/about_box.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>

#include "orvella_version.h"
#include "resources/tvra_resources.h"
#include "settings/dialog_text.h"
#include "settings/settings.h"

TAboutBoxSeam AboutBoxSeam = {OpenWithShell};

void OpenWithShell(HWND owner, const wchar_t *target)
{
    ShellExecuteW(owner, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
}

namespace {

constexpr const wchar_t *kTitle = L"Orvella " ORV_VERSION_TEXT;

void OpenLicense(HWND dialog)
{
    wchar_t path[MAX_PATH];
    GetProgramFolder(path);
    const size_t length = wcslen(path);
    if (length + 1 + wcslen(kLicenseFileName) >= MAX_PATH)
        return;
    swprintf(path + length, MAX_PATH - length, L"\\%ls", kLicenseFileName);
    AboutBoxSeam.Open(dialog, path);
}

INT_PTR OnAboutInit(HWND dialog)
{
    ApplyDialogTexts(dialog, IDD_ABOUT);
    SetDlgItemTextW(dialog, IDC_ABOUT_TITLE, kTitle);
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE;  // the focus is set
}

// A link is followed on a click and on Enter alike.
INT_PTR OnAboutNotify(HWND dialog, const NMHDR &notice)
{
    if (notice.code != NM_CLICK && notice.code != NM_RETURN)
        return FALSE;
    switch (notice.idFrom) {
    case IDC_ABOUT_LICENSE:
        OpenLicense(dialog);
        return TRUE;
    case IDC_ABOUT_UPDATES:
        AboutBoxSeam.Open(dialog, kHomePage);
        return TRUE;
    case IDC_ABOUT_CONTACT:
        AboutBoxSeam.Open(dialog, kContactAddress);
        return TRUE;
    }
    return FALSE;
}

// Only OK ends the box: Escape and the close box (IDCANCEL) are ignored.
INT_PTR OnAboutCommand(HWND dialog, WORD command)
{
    if (command == IDOK)
        EndDialog(dialog, IDOK);
    return command == IDOK || command == IDCANCEL;
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnAboutInit(dialog);
    case WM_NOTIFY:
        return OnAboutNotify(dialog, *reinterpret_cast<const NMHDR *>(lParam));
    case WM_COMMAND:
        return OnAboutCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

} // namespace

INT_PTR RunAboutBox(HWND owner)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner,
                           AboutProc, 0);
}
