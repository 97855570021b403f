// The uninstall wizard: two pages, and between them the steps that end the main program,
// remove the service and the registry entries, and leave a script that deletes the files.
#pragma once
#include <windows.h>

// Every system call of the uninstall steps, so that tests can run them without removing
// anything.
struct TUninstallSystem {
    HWND(WINAPI *findWindow)(LPCWSTR className, LPCWSTR title);
    LRESULT(WINAPI *sendMessageTimeout)(HWND, UINT, WPARAM, LPARAM, UINT flags, UINT timeout,
                                        PDWORD_PTR result);
    void(WINAPI *sleep)(DWORD ms);
    HINSTANCE(WINAPI *shellExecute)(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                    LPCWSTR directory, INT show);
    LSTATUS(WINAPI *deleteKeyTree)(HKEY root, LPCWSTR path);
    LSTATUS(WINAPI *flushKey)(HKEY);
    HRESULT(WINAPI *folderPath)(HWND, int csidl, HANDLE token, DWORD flags, LPWSTR path);
    DWORD(WINAPI *moduleFileName)(HMODULE, LPWSTR, DWORD);
    BOOL(WINAPI *moveFileEx)(LPCWSTR from, LPCWSTR to, DWORD flags);
};

// The one process-wide record of the wizard.
struct TUninstallerRecord {
    HBITMAP sidePicture;
    HFONT titleFont;
    bool ownsTitleFont;  // false when it is the stock font
    int step;            // 0 before uninstalling, 1 after
    const TUninstallSystem *system;
};

extern const TUninstallSystem kRealUninstallSystem;

// Sleeps for `ms` while still painting the calling thread's windows.
void WINAPI WaitKeepingPainted(DWORD ms);
extern TUninstallerRecord g_Uninstaller;

inline constexpr const wchar_t *kServiceName = L"TVRAService";
inline constexpr const wchar_t *kOldSettingsKey = L"Software\\TVRA";
inline constexpr const wchar_t *kUninstallEntryKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvella";

INT_PTR CALLBACK UninstallerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Steps 1 to 9, in order, on the calling thread, then the removal at the next restart.
void RunUninstallSteps();

// Writes the clean-up script into the local application data folder and starts it hidden;
// does neither when the folder is unknown or a path cannot be written in the script's code
// page.  Returns whether the script was started.
bool WriteAndStartCleanupScript();

// Schedules the hook library and then the install folder for removal at the next restart:
// the shell keeps the library mapped, so the script can delete neither.
void ScheduleRemovalAtRestart();

// The whole program: returns the exit code.
int RunUninstaller(HINSTANCE instance);
