// How long the start-up read and a save of the settings take with the shipped defaults.
#include <windows.h>

#include <cstdio>
#include <string>

#include "settings/portable/builtin_defaults.h"
#include "settings/settings.h"

static std::wstring WindowsPath(const char *unixPath)
{
    std::wstring path = L"Z:";
    for (const char *c = unixPath; *c; ++c)
        path += *c == '/' ? L'\\' : wchar_t(*c);
    return path;
}

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

template <typename F>
static double AverageMs(int rounds, F work)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < rounds; ++i)
        work();
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end) / rounds;
}

int wmain()
{
    CoInitialize(nullptr);
    wchar_t folder[MAX_PATH];
    GetProgramFolder(folder);
    CopyFileW(WindowsPath(ORVELLA_IMAGE_DIR "/settings_default.ini").c_str(),
              (std::wstring(folder) + L"\\settings_default.ini").c_str(), FALSE);
    wchar_t settingsFile[MAX_PATH];
    FormSettingsFileName(settingsFile);
    DeleteFileW(settingsFile);
    LoadSettings();  // the first start copies the defaults

    const int rounds = 50;
    const double load = AverageMs(rounds, [] { LoadSettings(); });
    const double save = AverageMs(rounds, [] { SaveSettings(); });
    const double both = AverageMs(rounds, [] {
        LoadSettings();
        SaveSettings();
    });
    const double textOnly = AverageMs(rounds, [] { ReadLanguageStrings(kBuiltInDefaults); });

    std::printf("settings file: %zu units, %d language and %zu configuration keys\n",
                kBuiltInDefaults.size(), int(kLanguageCount), ConfigurationRows(Settings).size());
    std::printf("LoadSettings                 %8.3f ms\n", load);
    std::printf("SaveSettings                 %8.3f ms\n", save);
    std::printf("LoadSettings + SaveSettings  %8.3f ms\n", both);
    std::printf("reading the text alone       %8.3f ms (%.0f%% of a load)\n", textOnly,
                load > 0 ? 100.0 * textOnly / load : 0.0);
    CoUninitialize();
    return 0;
}
