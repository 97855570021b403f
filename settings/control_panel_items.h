// The control panel's registered applets, read from its two namespaces for the expanded
// control panel level: one plain entry per applet, which menu building turns into items.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

inline constexpr wchar_t kControlPanelNamespace32[] =
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ControlPanelWOW64\\NameSpace";
inline constexpr wchar_t kControlPanelNamespace64[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ControlPanel\\NameSpace";

struct TControlPanelEntry {
    std::wstring Target;  // the open command, or the class identifier with its braces
    std::wstring Name;
    std::wstring Tip;
    HICON Icon;           // null when none; the receiver owns it
};

// Appends the applets of the 32-bit registrations, then of the 64-bit ones, in registry
// order; entries without "DefaultIcon" or whose name resolves empty are left out.
void FillControlPanelMenu(std::vector<TControlPanelEntry> &entries);
