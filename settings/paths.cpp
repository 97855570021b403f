#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "common/portable/text.h"
#include "common/win_guards.h"
#include "common/win_text.h"
#include "settings/portable/system_text.h"
#include "settings/settings.h"

// The user's own folders are always the default places under the profile, even when
// redirected; only these three follow the system's answer.
static bool IsAskedFromSystem(const KNOWNFOLDERID &folder)
{
    return IsEqualGUID(folder, FOLDERID_CommonStartMenu) ||
           IsEqualGUID(folder, FOLDERID_System) ||
           IsEqualGUID(folder, FOLDERID_Profile);
}

static const wchar_t *ProfileTail(const KNOWNFOLDERID &folder)
{
    struct Tail {
        const KNOWNFOLDERID *Folder;
        const wchar_t *Text;
    };
    static const Tail kTails[] = {
        {&FOLDERID_Programs, L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\"},
        {&FOLDERID_Documents, L"\\Documents\\"},
        {&FOLDERID_LocalAppData, L"\\AppData\\Local\\"},
        {&FOLDERID_Music, L"\\Music\\"},
        {&FOLDERID_Pictures, L"\\Pictures\\"},
        {&FOLDERID_Videos, L"\\Videos\\"},
        {&FOLDERID_Recent, L"\\AppData\\Roaming\\Microsoft\\Windows\\Recent\\"},
        {&FOLDERID_StartMenu, L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\"},
    };
    for (const Tail &tail : kTails)
        if (IsEqualGUID(folder, *tail.Folder))
            return tail.Text;
    return L"+UNKNOWN+";
}

void ResolveFolder(const KNOWNFOLDERID &folder, wchar_t *path)
{
    const bool asked = IsAskedFromSystem(folder);
    wchar_t *answer = nullptr;
    path[0] = 0;
    // A folder the system cannot name stays empty rather than becoming a bare tail that
    // points at the root of the current drive.
    if (SUCCEEDED(SHGetKnownFolderPath(asked ? folder : FOLDERID_Profile,
                                       KF_FLAG_NO_ALIAS | KF_FLAG_DONT_UNEXPAND, nullptr,
                                       &answer)))
        ComposePath(U16(path), MAX_PATH, U16View(answer),
                    U16View(asked ? L"\\" : ProfileTail(folder)));
    CoTaskMemFree(answer);
}

void FormDataFolder(wchar_t *path)
{
    wchar_t local[MAX_PATH];
    ResolveFolder(FOLDERID_LocalAppData, local);
    ComposePath(U16(path), MAX_PATH, U16View(local), u"\\TVRA\\");
    CreateDirectoryW(path, nullptr);
}

void GetProgramFolder(wchar_t *path)
{
    wchar_t module[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    // A cut-off module path would name some other folder.
    if (length == 0 || length >= MAX_PATH) {
        path[0] = 0;
        return;
    }
    CopyText(U16(path), MAX_PATH, FolderOfPath(std::u16string_view(U16(module), length)));
}

void FillSystemDescription(wchar_t *text)
{
    wchar_t product[kSystemDescriptionSize] = {};
    if (TRegistryKey key{HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion",
                         KEY_READ}) {
        // One unit short of the buffer, so an over-long name can never lose its terminator.
        DWORD size = sizeof(product) - sizeof(wchar_t);
        DWORD type = 0;
        if (RegQueryValueExW(key.Get(), L"ProductName", nullptr, &type,
                             reinterpret_cast<BYTE *>(product), &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            product[0] = 0;
        product[kSystemDescriptionSize - 1] = 0;
    }
    SYSTEM_INFO system = {};
    GetNativeSystemInfo(&system);
    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW *>(&version));
    std::u16string description = FormatSystemDescription(
        U16View(product), version.wServicePackMajor, version.wServicePackMinor,
        version.dwMajorVersion, system.wProcessorArchitecture, kSystemDescriptionSize);
    CopyText(U16(text), kSystemDescriptionSize, description);
}

void FillLogoutCaption(wchar_t *caption, size_t capacity)
{
    wchar_t user[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!GetUserNameW(user, &size))
        user[0] = 0;
    CopyText(U16(caption), capacity,
             FormatLogoutCaption(U16View(Settings.Local[LocalLogout]), U16View(user)));
}
