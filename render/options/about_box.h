// The about box: the product and its version, the distribution terms, and three links (the
// licence beside the programs, the home page, a mail to the developers).
#pragma once
#include <windows.h>

inline constexpr const wchar_t *kHomePage = L"https://orvella.example/";
inline constexpr const wchar_t *kContactAddress = L"mailto:developers@orvella.example";
// The licence file shipped beside the programs.
inline constexpr const wchar_t *kLicenseFileName = L"LICENSE.txt";

// Where a link leaves the program; tests see in its place what each link opens.
struct TAboutBoxSeam {
    void (*Open)(HWND owner, const wchar_t *target);
};
extern TAboutBoxSeam AboutBoxSeam;

// The real entry: the target's default verb through the shell.
void OpenWithShell(HWND owner, const wchar_t *target);

// Template 104; returns IDOK, the only way it ends.
INT_PTR RunAboutBox(HWND owner);
