#include <gtest/gtest.h>

#include "launcher/portable/launch_rule.h"

namespace {
int g_reads;
bool g_flag;
bool ReadFlag()
{
    ++g_reads;
    return g_flag;
}
}  // namespace

TEST(LauncherRule, OnlyTheExactAutoCommandLineConsultsShowDesktop)
{
    struct Case {
        std::u16string_view commandLine;
        bool flag;
        bool shows;
        int reads;
    } cases[] = {
        {u"auto", false, false, 1},
        {u"auto", true, true, 1},
        {u"", false, true, 0},
        {u"AUTO", false, true, 0},
        {u"Auto", false, true, 0},
        {u"auto ", false, true, 0},
        {u" auto", false, true, 0},
        {u"autox", false, true, 0},
        {u"aut", false, true, 0},
        {u"\"auto\"", false, true, 0},
    };
    for (const Case &c : cases) {
        g_reads = 0;
        g_flag = c.flag;
        EXPECT_EQ(LauncherShowsWindow(c.commandLine, ReadFlag), c.shows)
            << std::string(c.commandLine.begin(), c.commandLine.end());
        EXPECT_EQ(g_reads, c.reads);
    }
}
