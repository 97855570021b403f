#include "menu/portable/launch_plan.h"

#include "menu/portable/menu_keywords.h"

namespace {

constexpr std::u16string_view kControlPanelNamespace =
    u"::{26EE0668-A00A-44D7-9371-BEB064C98683}\\0\\::";

TLaunchPlan Run(std::u16string_view file, std::u16string_view verb = {})
{
    TLaunchPlan plan;
    plan.kind = TLaunchKind::ShellExecute;
    plan.file = file;
    plan.verb = verb;
    return plan;
}

TLaunchPlan RunWith(std::u16string_view file, std::u16string_view parameters,
                    std::u16string_view verb = {})
{
    TLaunchPlan plan = Run(file, verb);
    plan.parameters = parameters;
    plan.hasParameters = true;
    return plan;
}

TLaunchPlan Automation(TShellCall call)
{
    TLaunchPlan plan;
    plan.kind = TLaunchKind::ShellAutomation;
    plan.call = call;
    return plan;
}

TLaunchPlan Only(TLaunchKind kind)
{
    TLaunchPlan plan;
    plan.kind = kind;
    return plan;
}

std::u16string Joined(std::u16string_view a, std::u16string_view b)
{
    std::u16string text(a);
    text += b;
    return text;
}

TLaunchPlan PlanConsole(bool runAs, const TLaunchContext &context)
{
    const std::u16string_view verb = runAs ? u"runas" : u"";
    TLaunchPlan plan;
    if (!context.consoleAlternative.empty()) {
        plan = RunWith(context.consoleAlternative, u"", verb);
    } else {
        std::u16string parameters = u"/k cd /d \"";
        parameters += context.profile;
        parameters += u"\"";
        plan = RunWith(Joined(context.systemFolder, u"cmd.exe"), parameters, verb);
    }
    plan.foregroundFirst = runAs;
    return plan;
}

TLaunchPlan PlanKeyword(std::u16string_view keyword, bool runAs, const TLaunchContext &context)
{
    const std::u16string_view runAsVerb = runAs ? u"runas" : u"";
    const struct {
        std::u16string_view keyword;
        std::u16string_view folder;
    } folders[] = {
        {kMyDocumentsKeyword, context.documents},
        {kMyMusicKeyword, context.music},
        {kMyPicturesKeyword, context.pictures},
        {kMyVideosKeyword, context.videos},
    };
    for (const auto &row : folders)
        if (keyword == row.keyword)
            return RunWith(u"explorer.exe", row.folder, runAsVerb);

    if (keyword == kClearRecentKeyword)
        return Only(TLaunchKind::ClearRecentItems);
    if (keyword == kClearJumpListsKeyword)
        return Only(TLaunchKind::ClearJumpLists);
    if (keyword == kManageKeyword)
        return Run(Joined(context.systemFolder, u"compmgmt.msc"), runAsVerb);
    if (keyword == kTaskManagerKeyword)
        return Run(Joined(context.systemFolder, u"taskmgr.exe"), runAsVerb);
    if (keyword == kConsoleKeyword)
        return PlanConsole(runAs, context);
    if (keyword == kHelpKeyword)
        return Automation(TShellCall::Help);
    if (keyword == kRunKeyword) {
        if (!runAs)
            return Automation(TShellCall::FileRun);
        TLaunchPlan plan = RunWith(u"rundll32.exe", u"shell32.dll,#61", u"runas");
        plan.ownerless = true;
        plan.show = kShowNormal;
        return plan;
    }
    if (keyword == kLogOffKeyword)
        return Only(TLaunchKind::LogOffDialog);
    if (keyword == kWindowSwitcherKeyword)
        return Automation(TShellCall::WindowSwitcher);
    if (keyword == kShutDownKeyword)
        return Only(TLaunchKind::ShutDownDialog);
    if (keyword == kControlPanelKeyword)
        return Run(Joined(context.systemFolder, u"control.exe"));
    if (keyword == kDefaultMenuKeyword)
        return Only(TLaunchKind::SystemStartMenu);
    if (keyword == kFindFilesKeyword)
        return Automation(TShellCall::FindFiles);
    if (keyword == kFindInternetKeyword)
        return Run(context.internetSearchAlternative.empty() ? kDefaultWebSearch
                                                             : context.internetSearchAlternative);
    if (keyword == kFindPersonsKeyword)
        return Run(u"wab");
    if (keyword == kFindComputersKeyword)
        return Automation(TShellCall::FindComputer);
    if (keyword == kFindPrintersKeyword)
        return Automation(TShellCall::FindPrinter);
    return Only(TLaunchKind::Nothing);
}

} // namespace

TLaunchPlan PlanLaunch(std::u16string_view path, bool isEmptyMarker, bool runAs,
                       const TLaunchContext &context)
{
    if (isEmptyMarker || path.empty())
        return {};
    if (path == kSearchBoxKeyword)
        return Only(TLaunchKind::FocusSearchBox);

    TLaunchPlan plan;
    if (path.front() == u'*')
        plan = PlanKeyword(path, runAs, context);
    else if (path.front() == u'{')
        plan = RunWith(u"explorer.exe", Joined(kControlPanelNamespace, path));
    else
        plan = Run(path);  // the default verb, also for run-as: the shell decides
    plan.closesMenu = true;
    return plan;
}
