#include <gtest/gtest.h>

#include "menu/portable/launch_plan.h"

namespace {

TLaunchContext Context(std::u16string_view console = {}, std::u16string_view web = {})
{
    return {u"C:\\windows\\system32\\", u"C:\\users\\ana\\", u"C:\\users\\ana\\Documents\\",
            u"C:\\users\\ana\\Music\\", u"C:\\users\\ana\\Pictures\\",
            u"C:\\users\\ana\\Videos\\", console, web};
}

struct Expect {
    TLaunchKind kind;
    std::u16string_view verb;
    std::u16string_view file;
    std::u16string_view parameters;
    bool hasParameters;
    int show = kShowDefault;
    bool ownerless = false;
    bool foregroundFirst = false;
};

void Check(const char *what, const TLaunchPlan &plan, const Expect &e)
{
    EXPECT_EQ(plan.kind, e.kind) << what;
    EXPECT_TRUE(plan.closesMenu) << what;
    EXPECT_EQ(plan.verb, e.verb) << what;
    EXPECT_EQ(plan.file, e.file) << what;
    EXPECT_EQ(plan.parameters, e.parameters) << what;
    EXPECT_EQ(plan.hasParameters, e.hasParameters) << what;
    EXPECT_EQ(plan.show, e.show) << what;
    EXPECT_EQ(plan.ownerless, e.ownerless) << what;
    EXPECT_EQ(plan.foregroundFirst, e.foregroundFirst) << what;
}

constexpr TLaunchKind kExec = TLaunchKind::ShellExecute;

} // namespace

TEST(LaunchPlan, ShellLaunchesOfEveryKind)
{
    struct Case {
        const char *what;
        std::u16string_view path;
        bool runAs;
        Expect expect;
    } cases[] = {
        {"shortcut", u"C:\\Start\\Editor.lnk", false, {kExec, u"", u"C:\\Start\\Editor.lnk", u"", false}},
        {"shortcut with run-as keeps the default verb", u"C:\\Start\\Editor.lnk", true,
         {kExec, u"", u"C:\\Start\\Editor.lnk", u"", false}},
        {"path with spaces goes whole as the file", u"C:\\My Files\\a b.txt", false,
         {kExec, u"", u"C:\\My Files\\a b.txt", u"", false}},
        {"control panel entry", u"{BB06C0E4-D293-4F75-8A90-CB05B6477EEE}", true,
         {kExec, u"", u"explorer.exe",
          u"::{26EE0668-A00A-44D7-9371-BEB064C98683}\\0\\::{BB06C0E4-D293-4F75-8A90-CB05B6477EEE}",
          true}},
        {"documents", u"*misdocumentos", false,
         {kExec, u"", u"explorer.exe", u"C:\\users\\ana\\Documents\\", true}},
        {"music run-as", u"*mimusica", true,
         {kExec, u"runas", u"explorer.exe", u"C:\\users\\ana\\Music\\", true}},
        {"pictures", u"*misimagenes", false,
         {kExec, u"", u"explorer.exe", u"C:\\users\\ana\\Pictures\\", true}},
        {"videos", u"*misvideos", false,
         {kExec, u"", u"explorer.exe", u"C:\\users\\ana\\Videos\\", true}},
        {"computer management", u"*administrar", false,
         {kExec, u"", u"C:\\windows\\system32\\compmgmt.msc", u"", false}},
        {"computer management run-as", u"*administrar", true,
         {kExec, u"runas", u"C:\\windows\\system32\\compmgmt.msc", u"", false}},
        {"task manager run-as", u"*administradordetareas", true,
         {kExec, u"runas", u"C:\\windows\\system32\\taskmgr.exe", u"", false}},
        {"command prompt", u"*consola", false,
         {kExec, u"", u"C:\\windows\\system32\\cmd.exe", u"/k cd /d \"C:\\users\\ana\\\"", true}},
        {"command prompt run-as", u"*consola", true,
         {kExec, u"runas", u"C:\\windows\\system32\\cmd.exe", u"/k cd /d \"C:\\users\\ana\\\"",
          true, kShowDefault, false, true}},
        {"run dialog run-as goes through rundll32", u"*ejecutar", true,
         {kExec, u"runas", u"rundll32.exe", u"shell32.dll,#61", true, kShowNormal, true}},
        {"control panel run-as keeps the default verb", u"*paneldecontrol", true,
         {kExec, u"", u"C:\\windows\\system32\\control.exe", u"", false}},
        {"web search default page", u"*buscarinternet", false,
         {kExec, u"", kDefaultWebSearch, u"", false}},
        {"address book", u"*buscarpersonas", false, {kExec, u"", u"wab", u"", false}},
    };
    for (const Case &c : cases)
        Check(c.what, PlanLaunch(c.path, false, c.runAs, Context()), c.expect);
}

TEST(LaunchPlan, AlternativesFromTheSettings)
{
    const TLaunchContext context = Context(u"C:\\Tools\\term.exe", u"https://example.org/?q=");
    for (bool runAs : {false, true}) {
        Check("console alternative", PlanLaunch(u"*consola", false, runAs, context),
              {kExec, runAs ? u"runas" : u"", u"C:\\Tools\\term.exe", u"", true, kShowDefault,
               false, runAs});
    }
    Check("web search alternative", PlanLaunch(u"*buscarinternet", false, false, context),
          {kExec, u"", u"https://example.org/?q=", u"", false});
}

TEST(LaunchPlan, AutomationDialogsAndOtherActions)
{
    struct Case {
        const char *what;
        std::u16string_view path;
        bool runAs;
        TLaunchKind kind;
        TShellCall call;
    } cases[] = {
        {"help", u"*ayuda", false, TLaunchKind::ShellAutomation, TShellCall::Help},
        {"run dialog", u"*ejecutar", false, TLaunchKind::ShellAutomation, TShellCall::FileRun},
        {"window switcher", u"*3d", true, TLaunchKind::ShellAutomation, TShellCall::WindowSwitcher},
        {"find files", u"*buscarficheros", false, TLaunchKind::ShellAutomation, TShellCall::FindFiles},
        {"find computers", u"*buscarequipos", false, TLaunchKind::ShellAutomation,
         TShellCall::FindComputer},
        {"find printers", u"*buscarimpresoras", false, TLaunchKind::ShellAutomation,
         TShellCall::FindPrinter},
        {"log-off", u"*sesion", false, TLaunchKind::LogOffDialog, TShellCall::Help},
        {"shut-down", u"*apagar", true, TLaunchKind::ShutDownDialog, TShellCall::Help},
        {"clear recent", u"*borrarrecientes", false, TLaunchKind::ClearRecentItems, TShellCall::Help},
        {"clear jump lists", u"*borrarjumplist", false, TLaunchKind::ClearJumpLists, TShellCall::Help},
        {"system start menu", u"*menupordefecto", false, TLaunchKind::SystemStartMenu,
         TShellCall::Help},
        {"unknown keyword closes the menu only", u"*nada", false, TLaunchKind::Nothing,
         TShellCall::Help},
        {"keywords are case-sensitive", u"*AYUDA", false, TLaunchKind::Nothing, TShellCall::Help},
    };
    for (const Case &c : cases) {
        TLaunchPlan plan = PlanLaunch(c.path, false, c.runAs, Context());
        EXPECT_EQ(plan.kind, c.kind) << c.what;
        EXPECT_TRUE(plan.closesMenu) << c.what;
        if (c.kind == TLaunchKind::ShellAutomation) {
            EXPECT_EQ(plan.call, c.call) << c.what;
        }
    }
}

TEST(LaunchPlan, PlaceholderAndSearchLineKeepTheMenuOpen)
{
    TLaunchPlan placeholder = PlanLaunch(u"", true, false, Context());
    EXPECT_EQ(placeholder.kind, TLaunchKind::Nothing);
    EXPECT_FALSE(placeholder.closesMenu);

    TLaunchPlan search = PlanLaunch(u"*busquedarapida", false, false, Context());
    EXPECT_EQ(search.kind, TLaunchKind::FocusSearchBox);
    EXPECT_FALSE(search.closesMenu);
}
