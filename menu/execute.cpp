#include "menu/execute.h"

#include <string>

#include "common/messages.h"
#include "common/win_text.h"
#include "menu/launch_seam.h"
#include "menu/menu_item.h"
#include "menu/search_box.h"
#include "menu/tmenu.h"
#include "settings/settings.h"

namespace {

struct TLaunchFolders {
    wchar_t system[MAX_PATH];
    wchar_t profile[MAX_PATH];
    wchar_t documents[MAX_PATH];
    wchar_t music[MAX_PATH];
    wchar_t pictures[MAX_PATH];
    wchar_t videos[MAX_PATH];
};

void ResolveLaunchFolders(TLaunchFolders &folders)
{
    ResolveFolder(FOLDERID_System, folders.system);
    ResolveFolder(FOLDERID_Profile, folders.profile);
    ResolveFolder(FOLDERID_Documents, folders.documents);
    ResolveFolder(FOLDERID_Music, folders.music);
    ResolveFolder(FOLDERID_Pictures, folders.pictures);
    ResolveFolder(FOLDERID_Videos, folders.videos);
}

TMenuItem *ItemToExecute(TMenu *level)
{
    if (TMenuItem *hot = level->HotItem())
        return hot;
    return MenuState.CurrentItem;
}

void RunShellExecute(const TLaunchPlan &plan)
{
    const HWND mainWindow = FindWindowW(kMainWindowClass, nullptr);
    if (plan.foregroundFirst)
        SetForegroundWindow(mainWindow);
    const std::wstring verb(W(plan.verb.c_str()));
    const std::wstring file(W(plan.file.c_str()));
    const std::wstring parameters(W(plan.parameters.c_str()));
    LaunchSeam.ShellExecute(plan.ownerless ? nullptr : mainWindow,
                            verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                            plan.hasParameters ? parameters.c_str() : nullptr, plan.show);
}

void RunOptional(void (*action)())
{
    if (action)
        action();
}

void CarryOut(const TLaunchPlan &plan)
{
    switch (plan.kind) {
    case TLaunchKind::ShellExecute:
        RunShellExecute(plan);
        break;
    case TLaunchKind::ShellAutomation:
        LaunchSeam.CallShell(plan.call);
        break;
    case TLaunchKind::LogOffDialog:
        RunOptional(LaunchSeam.LogOffDialog);
        break;
    case TLaunchKind::ShutDownDialog:
        RunOptional(LaunchSeam.ShutDownDialog);
        break;
    case TLaunchKind::ClearRecentItems:
        RunOptional(LaunchSeam.ClearRecentItems);
        break;
    case TLaunchKind::ClearJumpLists:
        RunOptional(LaunchSeam.ClearJumpLists);
        break;
    case TLaunchKind::SystemStartMenu:
        SendMessageW(FindWindowW(kStartButtonClass, nullptr), WM_SYSCOMMAND, SC_TASKLIST,
                     kStartScreenMarker);
        break;
    case TLaunchKind::FocusSearchBox:
    case TLaunchKind::Nothing:
        break;
    }
}

} // namespace

void Execute(TMenu *level, bool runAs)
{
    TMenuItem *item = ItemToExecute(level);
    if (!item)
        return;
    TLaunchFolders folders;
    ResolveLaunchFolders(folders);
    const TLaunchContext context{U16View(folders.system),    U16View(folders.profile),
                                 U16View(folders.documents), U16View(folders.music),
                                 U16View(folders.pictures),  U16View(folders.videos),
                                 U16View(Settings.ConsoleAlternative),
                                 U16View(Settings.InternetSearchAlternative)};
    const TLaunchPlan plan = PlanLaunch(U16View(item->Path), item->IsEmptyMarker, runAs, context);
    if (plan.kind == TLaunchKind::FocusSearchBox) {
        FocusSearchBox(level);
        return;
    }
    if (!plan.closesMenu)
        return;
    // The menu closes before anything runs, so that a launched window comes up in front.
    CloseAll(level);
    // A launch can show a box of the shell's and run its message loop; the menu tree must
    // outlive it, and the level may not be touched once the command has run.
    MenuState.CommandRunning = true;
    CarryOut(plan);
    MenuState.CommandRunning = false;
}
