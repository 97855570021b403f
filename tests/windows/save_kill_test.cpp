// Saves that survive a kill: a helper process (this program started with --save-loop) saves
// one file over and over with two alternating contents and is ended by TerminateProcess at a
// random moment; after every kill the file must hold one of the two contents whole, and the
// next read must take it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/order_file.h"
#include "app/portable/order_file.h"
#include "app/window_classes.h"
#include "menu/tmenu.h"
#include "settings/portable/builtin_defaults.h"
#include "settings/settings.h"
#include "settings/themes.h"

#include "tests/windows/test_files.h"

namespace {

constexpr int kKillsPerFile = 100;
constexpr int kStartAttempts = 5;
constexpr int kNotStarted = -2;  // KillOnce's answer when no helper ran
constexpr wchar_t kThemeName[] = L"Kill test";
constexpr int kMenuDelay[2] = {111, 987654};

// The two contents differ in length, so that a cut-off or mixed file cannot pass for either.
void ApplyVariant(int which)
{
    Settings.MenuDelay = kMenuDelay[which];
    const std::wstring ribbon(which ? 1 : 70, which ? L'b' : L'a');
    wcscpy(Settings.RibbonText, ribbon.c_str());
    const std::wstring console = which ? L"" : L"C:\\" + std::wstring(240, L'c') + L".exe";
    wcscpy(Settings.ConsoleAlternative, console.c_str());
}

// Two root levels whose order files differ in items and in length.
struct OrderLevels {
    TMenu *Level[2];
    OrderLevels()
    {
        for (int which = 0; which < 2; ++which) {
            Level[which] = new TMenu(nullptr, false);
            const int count = which ? 3 : 40;
            for (int i = 0; i < count; ++i) {
                const int n = which ? count - i : i;
                const std::wstring path =
                    L"C:\\Start Menu\\Item " + std::to_wstring(n) + L" of " + std::to_wstring(count);
                Level[which]->Append(path.c_str(), false, false, true);
            }
        }
    }
    ~OrderLevels()
    {
        delete Level[0];
        delete Level[1];
    }
};

std::wstring DataFile(const wchar_t *name)
{
    wchar_t folder[MAX_PATH];
    FormDataFolder(folder);
    return std::wstring(folder) + name;
}

std::wstring OrderFilePath()
{
    return DataFile(L"kill-test-sort.txt");
}

std::wstring ThemeFilePath()
{
    wchar_t path[MAX_PATH];
    FormThemeFileName(kThemeName, path);
    return path;
}

// One save of `which` of the file `kind` names, through the program's own writers.
void SaveOnce(const std::wstring &kind, int which, OrderLevels *levels)
{
    if (kind == L"settings") {
        ApplyVariant(which);
        SaveSettings();
    } else if (kind == L"theme") {
        ApplyVariant(which);
        WriteTheme(kThemeName);
    } else {
        WriteOrderFile(levels->Level[which], OrderFilePath().c_str());
    }
}

// The helper: saves alternately until it is killed; `ready` is set after the first save.
// Its record starts from the defaults, as the test's does, whatever the files hold now.
int SaveLoop(const std::wstring &kind, const wchar_t *readyName)
{
    CoInitialize(nullptr);
    RegisterWindowClasses(GetModuleHandleW(nullptr));
    ReadLanguageStrings(kBuiltInDefaults);
    OrderLevels levels;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyName);
    for (unsigned long long save = 0;; ++save) {
        SaveOnce(kind, int(save % 2), &levels);
        if (save == 0 && ready)
            SetEvent(ready);
    }
}

// The settings record is the process's one; the read-backs of the three files take turns.
std::mutex RecordLock;

// One file's kills: its two contents, then 100 helpers killed at random moments.
struct KillRun {
    std::wstring Kind;
    std::wstring File;
    std::function<void(int which)> ReadBack;
    std::string Contents[2];
    int Damaged = 0;
    int MidWrite = 0;  // kills that left the unfinished new file behind
    int Seen[2] = {0, 0};

    // Made by the same writers here, one after the other.
    void LearnContents()
    {
        OrderLevels levels;
        for (int which = 0; which < 2; ++which) {
            SaveOnce(Kind, which, &levels);
            Contents[which] = FileBytes(File);
            ASSERT_NE(Contents[which], "<missing>") << Kind;
        }
        ASSERT_NE(Contents[0].size(), Contents[1].size()) << Kind;
    }

    // Starts the helper, lets it save for a random while after its first save, kills it and
    // says which content the file holds afterwards (-1: neither, kNotStarted: no helper ran).
    int KillOnce(std::mt19937 &random)
    {
        const std::wstring readyName =
            L"OrvellaSaveKill-" + Kind + L"-" + std::to_wstring(GetCurrentProcessId());
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command =
            L"\"" + std::wstring(self) + L"\" --save-loop " + Kind + L" " + readyName;
        STARTUPINFOW startup = {sizeof(startup)};
        PROCESS_INFORMATION process = {};
        // Wine now and then refuses one of many processes started side by side with
        // ERROR_INTERNAL_ERROR; a helper that never ran says nothing about the file.
        DWORD startError = 0;
        for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
            if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                               CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
                startError = 0;
                break;
            }
            startError = GetLastError();
            if (startError != ERROR_INTERNAL_ERROR)
                break;
        }
        if (startError) {
            CloseHandle(ready);
            ADD_FAILURE() << Kind << ": the helper did not start: " << startError;
            return kNotStarted;
        }
        HANDLE waits[2] = {ready, process.hProcess};
        EXPECT_EQ(WaitForMultipleObjects(2, waits, FALSE, 60000), WAIT_OBJECT_0)
            << Kind << ": the helper ended or never saved";
        Sleep(std::uniform_int_distribution<DWORD>(0, 15)(random));
        TerminateProcess(process.hProcess, 9);
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        CloseHandle(ready);

        if (GetFileAttributesW((File + L".new").c_str()) != INVALID_FILE_ATTRIBUTES)
            ++MidWrite;
        const std::string bytes = FileBytes(File);
        for (int which = 0; which < 2; ++which)
            if (bytes == Contents[which])
                return which;
        ADD_FAILURE() << Kind << ": damaged file after a kill: " << bytes.size()
                      << " bytes, expected " << Contents[0].size() << " or "
                      << Contents[1].size();
        return -1;
    }

    void Run(unsigned seed)
    {
        std::mt19937 random(seed);
        for (int kill = 0; kill < kKillsPerFile; ++kill) {
            const int which = KillOnce(random);
            if (which == kNotStarted)
                continue;
            if (which < 0) {
                ++Damaged;
                continue;
            }
            ++Seen[which];
            std::lock_guard<std::mutex> turn(RecordLock);
            ReadBack(which);
        }
    }
};

class SaveKill : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        RegisterWindowClasses(GetModuleHandleW(nullptr));
        SettingsFile = DataFile(L"settings.ini");
        UsersSettings = FileBytes(SettingsFile);
        // A known file to start from; the one there before is put back afterwards.
        WriteSettingsFile(SettingsFile.c_str(), kBuiltInDefaults);
        LoadSettings();
    }

    void TearDown() override
    {
        for (const std::wstring &file : {SettingsFile, OrderFilePath(), ThemeFilePath()})
            DeleteFileW((file + L".new").c_str());
        DeleteFileW(OrderFilePath().c_str());
        DeleteFileW(ThemeFilePath().c_str());
        if (UsersSettings == "<missing>") {
            DeleteFileW(SettingsFile.c_str());
        } else {
            HANDLE file = CreateFileW(SettingsFile.c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(file, UsersSettings.data(), DWORD(UsersSettings.size()), &written, nullptr);
            CloseHandle(file);
        }
        CoUninitialize();
    }

    std::wstring SettingsFile;
    std::string UsersSettings;
};

}  // namespace

// The three files are killed side by side, each by its own helpers, to keep the test short.
TEST_F(SaveKill, EveryFileIsWholeAfterEachKillAndReadsBack)
{
    const char *given = getenv("ORVELLA_KILL_SEED");
    const unsigned seed = given ? unsigned(strtoul(given, nullptr, 10))
                                : unsigned(GetTickCount() ^ (GetCurrentProcessId() << 16));
    std::printf("kill moments seed: %u (set ORVELLA_KILL_SEED to repeat)\n", seed);
    std::fflush(stdout);

    const std::wstring orderFile = OrderFilePath();
    KillRun runs[3] = {
        {L"settings", SettingsFile, [](int which) {
             Settings.MenuDelay = -1;
             LoadSettings();
             EXPECT_EQ(Settings.MenuDelay, kMenuDelay[which]) << "settings.ini read back";
         }},
        {L"order", orderFile, [&](int) {
             std::u16string text;
             EXPECT_TRUE(ReadSettingsFile(orderFile.c_str(), text));
             EXPECT_FALSE(FindOrderRecord(text, u"").empty()) << "sort.txt read back";
         }},
        {L"theme", ThemeFilePath(), [](int which) {
             Settings.MenuDelay = -1;
             EXPECT_TRUE(ReadTheme(kThemeName));
             EXPECT_EQ(Settings.MenuDelay, kMenuDelay[which]) << "theme read back";
         }},
    };
    for (KillRun &run : runs) {
        run.LearnContents();
        if (HasFatalFailure())
            return;
    }
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < 3; ++i)
        threads.emplace_back([&, i] { runs[i].Run(seed + i); });
    for (std::thread &thread : threads)
        thread.join();
    for (const KillRun &run : runs) {
        std::printf("%ls: %d kills, %d damaged, %d killed mid-write, %d and %d of each content\n",
                    run.Kind.c_str(), kKillsPerFile, run.Damaged, run.MidWrite, run.Seen[0],
                    run.Seen[1]);
        EXPECT_EQ(run.Damaged, 0) << std::string(run.Kind.begin(), run.Kind.end());
    }
}

int wmain(int argc, wchar_t **argv)
{
    if (argc == 4 && std::wstring(argv[1]) == L"--save-loop")
        return SaveLoop(argv[2], argv[3]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
