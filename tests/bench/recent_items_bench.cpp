// Building the recent items level from a record of 100 entries (75 documents, 25 folders, all
// kept) and the expanded control panel from 60 registrations (half with their texts in
// shell32, which is loaded, half in cmd.exe, which is loaded and freed for each text).
// Prints the time of a whole build of each level and of the record's reading alone.  The
// prefix's recent record, Recent folder shortcuts and the registrations are removed again.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/window_classes.h"
#include "menu/menu_build.h"
#include "menu/tmenu.h"
#include "settings/control_panel_items.h"
#include "settings/recent_items.h"
#include "settings/settings.h"
#include "tests/bench/bench_timing.h"
#include "tests/windows/test_files.h"

namespace {

constexpr int kDocuments = 75;
constexpr int kFolders = 25;
constexpr int kRegistrations = 60;

std::vector<uint8_t> ShellValue(const std::wstring &shortcutName)
{
    std::vector<uint8_t> bytes = {0x64, 0, 0, 0, 0x32, 0x11, 0x04, 0xEF, 0xBE, 0x2A, 0, 0, 0};
    for (wchar_t c : shortcutName) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    }
    bytes.insert(bytes.end(), {0, 0, 0x14, 0x00, 0, 0});
    return bytes;
}

std::wstring ClassId(int i)
{
    wchar_t id[64];
    swprintf(id, 64, L"{0E5E1A00-0000-4000-8000-0000000B%04d}", i);
    return id;
}

void SetText(HKEY root, const std::wstring &path, const wchar_t *name, const std::wstring &text)
{
    HKEY key = nullptr;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   DWORD((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

} // namespace

int wmain()
{
    CoInitialize(nullptr);
    LoadSettings();
    RegisterWindowClasses(GetModuleHandleW(nullptr));
    wchar_t recentFolder[MAX_PATH];
    ResolveFolder(FOLDERID_Recent, recentFolder);
    const std::wstring recent = recentFolder;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring targets = std::wstring(temp) + L"orvella-recent-bench\\";
    CreateDirectoryW(targets.c_str(), nullptr);
    SHCreateDirectoryExW(nullptr, recent.c_str(), nullptr);

    // The record; the bench needs the key to itself.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRecentDocsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        std::printf("the prefix has a recent record of its own; not touched, nothing measured\n");
        return 1;
    }
    RegCreateKeyExW(HKEY_CURRENT_USER, kRecentDocsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    std::vector<uint32_t> order;
    for (int i = 0; i < kDocuments + kFolders; ++i) {
        const bool folder = i % 4 == 3;
        const std::wstring name = (folder ? L"Folder " : L"Document ") + std::to_wstring(i) +
                                  (folder ? L"" : L".txt");
        const std::wstring target = targets + name;
        if (folder)
            CreateDirectoryW(target.c_str(), nullptr);
        else
            CloseHandle(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        MakeShortcut(recent + name + L".lnk", target);
        const std::vector<uint8_t> value = ShellValue(name + L".lnk");
        RegSetValueExW(key, std::to_wstring(i).c_str(), 0, REG_BINARY, value.data(), DWORD(value.size()));
        order.push_back(uint32_t(i));
    }
    order.push_back(0xFFFFFFFF);
    RegSetValueExW(key, kRecentOrderValue, 0, REG_BINARY, reinterpret_cast<const BYTE *>(order.data()),
                   DWORD(order.size() * 4));
    RegCloseKey(key);

    Settings.RecentCount = kDocuments;  // every entry is kept
    TMenu *level = new TMenu(nullptr, false);
    const double read = MillisecondsPerCall([] { ReadRecentDocuments(Settings.RecentCount); });
    const double recentLevel = MillisecondsPerCall([level] { FillRecentLevel(level); });
    std::printf("recent items, %d entries (%d documents, %d folders):\n", kDocuments + kFolders,
                kDocuments, kFolders);
    std::printf("  reading the record       %8.2f ms\n", read);
    std::printf("  building the level       %8.2f ms  (%.3f ms per entry)\n", recentLevel,
                recentLevel / (kDocuments + kFolders));
    delete level;

    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring cmdTip = L"@" + std::wstring(system) + L"\\cmd.exe,-1";
    for (int i = 0; i < kRegistrations; ++i) {
        const std::wstring id = ClassId(i);
        const std::wstring space = std::wstring(kControlPanelNamespace64) + L"\\" + id;
        SetText(HKEY_LOCAL_MACHINE, space, nullptr, L"");
        const std::wstring classKey = L"CLSID\\" + id;
        SetText(HKEY_CLASSES_ROOT, classKey, nullptr, L"Applet " + std::to_wstring(kRegistrations - i));
        SetText(HKEY_CLASSES_ROOT, classKey, L"LocalizedString",
                i % 2 ? L"@%SystemRoot%\\system32\\shell32.dll,-22" : L"Plain name");
        SetText(HKEY_CLASSES_ROOT, classKey, L"InfoTip", i % 2 ? L"@shell32.dll,-22" : cmdTip);
        SetText(HKEY_CLASSES_ROOT, classKey + L"\\DefaultIcon", nullptr,
                L"%SystemRoot%\\system32\\shell32.dll,5");
    }
    TMenu *panel = nullptr;
    const double panelLevel = MillisecondsPerCall([&panel] {
        delete panel;
        panel = new TMenu(nullptr, false);
        FillControlPanelLevel(panel);
    });
    std::vector<TControlPanelEntry> entries;
    const double panelRead = MillisecondsPerCall([&entries] {
        for (TControlPanelEntry &entry : entries)
            DestroyIcon(entry.Icon);
        entries.clear();
        FillControlPanelMenu(entries);
    });
    std::printf("control panel, %d registrations (half loading cmd.exe for the tip):\n", kRegistrations);
    std::printf("  reading the entries      %8.2f ms  (%zu entries)\n", panelRead, entries.size());
    std::printf("  building the level       %8.2f ms  (%.3f ms per entry)\n", panelLevel,
                panelLevel / kRegistrations);
    for (TControlPanelEntry &entry : entries)
        DestroyIcon(entry.Icon);
    delete panel;

    for (int i = 0; i < kRegistrations; ++i) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(kControlPanelNamespace64) + L"\\" + ClassId(i)).c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + ClassId(i)).c_str());
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kRecentDocsKey);
    for (int i = 0; i < kDocuments + kFolders; ++i) {
        const bool folder = i % 4 == 3;
        DeleteFileW((recent + (folder ? L"Folder " : L"Document ") + std::to_wstring(i) +
                     (folder ? L"" : L".txt") + L".lnk").c_str());
    }
    RemoveTree(targets);
    CoUninitialize();
    return 0;
}
