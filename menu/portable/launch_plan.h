// What executing a menu item launches: the decision for every kind of item and keyword,
// apart from the shell calls that carry it out.
#pragma once
#include <string>
#include <string_view>

inline constexpr int kShowNormal = 1;     // SW_SHOWNORMAL
inline constexpr int kShowDefault = 10;   // SW_SHOWDEFAULT

// The web search page used when InternetSearchAlternative is empty.
inline constexpr std::u16string_view kDefaultWebSearch = u"https://www.google.com/";

enum class TLaunchKind {
    Nothing,
    FocusSearchBox,    // the search line: the menu stays open
    ShellExecute,
    ShellAutomation,
    LogOffDialog,
    ShutDownDialog,
    ClearRecentItems,
    ClearJumpLists,
    SystemStartMenu,   // SC_TASKLIST with the marker to the start button
};

// Methods of the shell's automation object.
enum class TShellCall {
    Help,
    FileRun,
    WindowSwitcher,
    FindFiles,
    FindComputer,
    FindPrinter,
};

struct TLaunchPlan {
    TLaunchKind kind = TLaunchKind::Nothing;
    bool closesMenu = false;
    std::u16string verb;         // empty: the default verb
    std::u16string file;
    std::u16string parameters;
    bool hasParameters = false;  // false: no parameter text at all
    int show = kShowDefault;
    bool ownerless = false;      // no owner window
    bool foregroundFirst = false;  // make the main window the foreground window first
    TShellCall call = TShellCall::Help;
};

// Folders end with a backslash; the last two are the settings of the same names.
struct TLaunchContext {
    std::u16string_view systemFolder;
    std::u16string_view profile;
    std::u16string_view documents;
    std::u16string_view music;
    std::u16string_view pictures;
    std::u16string_view videos;
    std::u16string_view consoleAlternative;
    std::u16string_view internetSearchAlternative;
};

TLaunchPlan PlanLaunch(std::u16string_view path, bool isEmptyMarker, bool runAs,
                       const TLaunchContext &context);
