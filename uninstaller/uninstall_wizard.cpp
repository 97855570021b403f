#include "uninstaller/uninstall_wizard.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "common/messages.h"
#include "common/portable/text.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "resources/uninstaller_resources.h"
#include "uninstaller/portable/cleanup_script.h"

// The steps wait on the dialog's thread for the main program and the service to end.  The
// wizard keeps painting meanwhile, so it is never drawn blank or marked as not responding;
// input waits in the queue until the steps are done.
void WINAPI WaitKeepingPainted(DWORD ms)
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_PAINT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&msg);
    }
}

const TUninstallSystem kRealUninstallSystem = {
    FindWindowW,    SendMessageTimeoutW, WaitKeepingPainted, ShellExecuteW,
    RegDeleteTreeW, RegFlushKey,         SHGetFolderPathW,   GetModuleFileNameW,
    MoveFileExW,
};

TUninstallerRecord g_Uninstaller = {nullptr, nullptr, false, 0, &kRealUninstallSystem};

namespace {

constexpr DWORD kMainProgramExitWaitMs = 7000;
constexpr DWORD kServiceStopWaitMs = 3000;
constexpr UINT kMainProgramAnswerMs = 7000;
constexpr const wchar_t *kConfirmText = L"This will exit the uninstallation wizard, are you sure?";
constexpr const wchar_t *kConfirmCaption = L"Orvella uninstallation wizard";

// The system's own sc.exe by its full path: a bare "sc" would be looked for in the
// uninstaller's folder first, with administrator rights.
std::wstring ServiceToolPath()
{
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return L"sc.exe";
    return std::wstring(system, length) + L"\\sc.exe";
}

void RunServiceTool(const wchar_t *parameters)
{
    std::wstring tool = ServiceToolPath();
    g_Uninstaller.system->shellExecute(nullptr, nullptr, tool.c_str(), parameters, nullptr,
                                       SW_HIDE);
}

// The paths in the script are read by cmd in the console (OEM) code page.  A path that
// has no exact form there is refused rather than approximated: a best-fit letter could
// name another folder, whose files the script would then delete.
bool ToScriptCodePage(std::u16string_view text, std::string &out)
{
    if (text.empty())
        return false;
    BOOL usedDefault = FALSE;
    int size = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, W(text.data()),
                                   static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   &usedDefault);
    if (size <= 0 || usedDefault)
        return false;
    out.resize(size);
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, W(text.data()),
                        static_cast<int>(text.size()), out.data(), size, nullptr, &usedDefault);
    return !usedDefault;
}

bool WriteFileOnce(const wchar_t *path, const std::string &contents)
{
    TKernelHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()), &written,
                     nullptr) &&
           written == contents.size();
}

void MakeDefaultButton(HWND dialog, int id)
{
    SendMessageW(dialog, DM_SETDEFID, id, 0);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

void ShowFirstPage(HWND dialog)
{
    ShowWindow(GetDlgItem(dialog, IDC_FIRST_PAGE_TEXT), SW_SHOW);
    ShowWindow(GetDlgItem(dialog, IDC_LAST_PAGE_TEXT), SW_HIDE);
    MakeDefaultButton(dialog, IDC_UNINSTALL);
}

void ShowLastPage(HWND dialog)
{
    ShowWindow(GetDlgItem(dialog, IDC_FIRST_PAGE_TEXT), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_LAST_PAGE_TEXT), SW_SHOW);
    DestroyWindow(GetDlgItem(dialog, IDC_UNINSTALL));
    SetDlgItemTextW(dialog, IDCANCEL, L"&Finish");
    MakeDefaultButton(dialog, IDCANCEL);
}

INT_PTR OnInitDialog(HWND dialog)
{
    SendDlgItemMessageW(dialog, IDC_TITLE_TEXT, WM_SETFONT,
                        reinterpret_cast<WPARAM>(g_Uninstaller.titleFont), TRUE);
    g_Uninstaller.step = 0;
    ShowFirstPage(dialog);
    return FALSE;  // the focus is set
}

INT_PTR OnDrawItem(const DRAWITEMSTRUCT *item)
{
    if (item->CtlID != IDC_SIDE_PICTURE || !g_Uninstaller.sidePicture)
        return FALSE;
    BITMAP picture = {};
    GetObjectW(g_Uninstaller.sidePicture, sizeof(picture), &picture);
    HDC source = CreateCompatibleDC(item->hDC);
    HGDIOBJ previous = SelectObject(source, g_Uninstaller.sidePicture);
    SetStretchBltMode(item->hDC, HALFTONE);
    SetBrushOrgEx(item->hDC, 0, 0, nullptr);
    const RECT &r = item->rcItem;
    StretchBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0,
               picture.bmWidth, picture.bmHeight, SRCCOPY);
    SetStretchBltMode(item->hDC, COLORONCOLOR);
    SelectObject(source, previous);
    DeleteDC(source);
    return TRUE;
}

void OnUninstall(HWND dialog)
{
    RunUninstallSteps();
    ShowLastPage(dialog);
}

void OnCancelOrFinish(HWND dialog)
{
    if (g_Uninstaller.step != 1 &&
        MessageBoxW(dialog, kConfirmText, kConfirmCaption,
                    MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2) != IDYES)
        return;
    PostQuitMessage(0);
}

INT_PTR OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_UNINSTALL:
        OnUninstall(dialog);
        return TRUE;
    case IDCANCEL:
        OnCancelOrFinish(dialog);
        return TRUE;
    }
    return FALSE;
}

HFONT CreateTitleFont(bool &owned)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    LOGFONTW font = metrics.lfMessageFont;
    font.lfItalic = TRUE;
    font.lfWeight = FW_BOLD;
    font.lfHeight = ScaleTitleFontDimension(font.lfHeight);
    font.lfWidth = ScaleTitleFontDimension(font.lfWidth);
    HFONT title = CreateFontIndirectW(&font);
    owned = title != nullptr;
    return title ? title : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

bool WriteAndStartCleanupScript()
{
    const TUninstallSystem &system = *g_Uninstaller.system;
    wchar_t localData[MAX_PATH] = {};
    // Without the user's own folder there is nowhere the script belongs.
    if (FAILED(system.folderPath(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                 localData)) ||
        !localData[0])
        return false;
    std::u16string scriptPath = U16(localData);
    scriptPath += u'\\';
    scriptPath += kCleanupScriptName;

    wchar_t modulePath[MAX_PATH];
    DWORD length = system.moduleFileName(nullptr, modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    std::u16string_view installFolder = FolderOfPath(std::u16string_view(U16(modulePath), length));

    std::string folderText, scriptText;
    if (!ToScriptCodePage(installFolder, folderText) || !ToScriptCodePage(scriptPath, scriptText))
        return false;
    // An old script of the same name must not run in place of one that was not written.
    if (!WriteFileOnce(W(scriptPath.c_str()), BuildCleanupScript(folderText, scriptText)))
        return false;
    system.shellExecute(nullptr, nullptr, W(scriptPath.c_str()), nullptr, nullptr, SW_HIDE);
    return true;
}

void ScheduleRemovalAtRestart()
{
    const TUninstallSystem &system = *g_Uninstaller.system;
    wchar_t modulePath[MAX_PATH];
    DWORD length = system.moduleFileName(nullptr, modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    std::u16string folder(FolderOfPath(std::u16string_view(U16(modulePath), length)));
    if (folder.empty())
        return;
    // Registered in this order, so the folder is empty by the time its turn comes.
    system.moveFileEx(W((folder + u"\\hallet.dll").c_str()), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    system.moveFileEx(W(folder.c_str()), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void RunUninstallSteps()
{
    const TUninstallSystem &system = *g_Uninstaller.system;
    g_Uninstaller.step += 1;
    if (HWND mainWindow = system.findWindow(kMainWindowClass, nullptr)) {
        DWORD_PTR ignored = 0;
        // A hung main program must not hang the wizard as well.
        system.sendMessageTimeout(mainWindow, UM_EXIT, 0, 0, SMTO_ABORTIFHUNG,
                                  kMainProgramAnswerMs, &ignored);
    }
    system.sleep(kMainProgramExitWaitMs);
    RunServiceTool((std::wstring(L"stop ") + kServiceName).c_str());
    system.sleep(kServiceStopWaitMs);
    RunServiceTool((std::wstring(L"delete ") + kServiceName).c_str());
    system.deleteKeyTree(HKEY_CURRENT_USER, kOldSettingsKey);
    system.flushKey(HKEY_CURRENT_USER);
    system.deleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallEntryKey);
    WriteAndStartCleanupScript();
    ScheduleRemovalAtRestart();
}

INT_PTR CALLBACK UninstallerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_DRAWITEM:
        return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam));
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

int RunUninstaller(HINSTANCE instance)
{
    g_Uninstaller.sidePicture = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_UNINSTALL_SIDE));
    g_Uninstaller.titleFont = CreateTitleFont(g_Uninstaller.ownsTitleFont);
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_UNINSTALLER), nullptr, UninstallerDialogProc, 0);
    if (g_Uninstaller.ownsTitleFont)
        DeleteObject(g_Uninstaller.titleFont);
    if (g_Uninstaller.sidePicture)
        DeleteObject(g_Uninstaller.sidePicture);
    return 0;
}
