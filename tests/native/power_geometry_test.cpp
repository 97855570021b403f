#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "app/portable/power_geometry.h"

static std::ostream &operator<<(std::ostream &out, const TPowerRect &r)
{
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

TEST(PowerDialogPlace, QuarterOfTheMonitorScaledByDpiAndCentred)
{
    struct Case {
        const char *name;
        TPowerRect monitor;
        int dpi;
        TPowerRect expected;
    } cases[] = {
        {"1920 x 1080 at 96", {0, 0, 1920, 1080}, 96, {720, 405, 1200, 675}},
        {"1920 x 1080 at 144", {0, 0, 1920, 1080}, 144, {600, 337, 1320, 742}},
        {"1024 x 768 at 96", {0, 0, 1024, 768}, 96, {384, 288, 640, 480}},
        // Every division truncates: 1366 * 120 / 96 = 1707, / 4 = 426; (1366 - 426) / 2 = 470.
        {"1366 x 768 at 120", {0, 0, 1366, 768}, 120, {470, 264, 896, 504}},
        {"second monitor to the right", {1920, 0, 3200, 1024}, 96, {2400, 384, 2720, 640}},
        {"monitor left of and above the primary", {-1280, -1024, 0, 0}, 96,
         {-800, -640, -480, -384}},
        // At four times 96 the dialog fills the monitor; beyond it, it stays within it.
        {"384 dpi fills the monitor", {0, 0, 1920, 1080}, 384, {0, 0, 1920, 1080}},
        {"480 dpi stays on the monitor", {0, 0, 1920, 1080}, 480, {0, 0, 1920, 1080}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(PlacePowerDialog(c.monitor, c.dpi), c.expected) << c.name;
}

namespace {

struct LayoutCase {
    const char *name;
    TPowerDialog dialog;
    TPowerRect client;
    int cancelWidth, cancelHeight, pixelsPerInch;
    TPowerRect title;
    int titleFontHeight;
    std::vector<TPowerRect> buttons;
    std::vector<TPowerRect> labels;
    TPowerRect cancel;
};

void ExpectLayout(const LayoutCase &c)
{
    const TPowerLayout layout = LayoutPowerDialog(c.dialog, c.client, c.cancelWidth,
                                                  c.cancelHeight, c.pixelsPerInch);
    EXPECT_EQ(layout.title, c.title) << c.name;
    EXPECT_EQ(layout.titleFontHeight, c.titleFontHeight) << c.name;
    ASSERT_EQ(layout.count, int(c.buttons.size())) << c.name;
    for (int i = 0; i < layout.count; ++i) {
        EXPECT_EQ(layout.buttons[i], c.buttons[size_t(i)]) << c.name << ", button " << i;
        EXPECT_EQ(layout.labels[i], c.labels[size_t(i)]) << c.name << ", label " << i;
    }
    EXPECT_EQ(layout.cancel, c.cancel) << c.name;
}

} // namespace

// 480 x 270: ux 36, uy 16; 720 x 405: ux 55, uy 25.  Buttons are 2 ux square at 5 uy; labels
// run from 1 uy below them to 4 uy above the bottom; Cancel is centred in the last 3 uy.
TEST(PowerDialogLayout, EveryControlOfBothDialogs)
{
    const LayoutCase cases[] = {
        {"shut down, 480 x 270 at 96", TPowerDialog::ShutDown, {0, 0, 480, 270}, 75, 23, 96,
         {36, 16, 480, 64}, -21,
         {{36, 80, 108, 152}, {144, 80, 216, 152}, {252, 80, 324, 152}, {360, 80, 432, 152}},
         // half a unit beyond the button on both sides
         {{18, 168, 126, 206}, {126, 168, 234, 206}, {234, 168, 342, 206}, {342, 168, 450, 206}},
         {202, 220, 277, 243}},
        {"log off, 480 x 270 at 96", TPowerDialog::LogOff, {0, 0, 480, 270}, 75, 23, 96,
         {36, 16, 480, 64}, -21,
         // 3 units from the left, 5 units from the right
         {{108, 80, 180, 152}, {300, 80, 372, 152}},
         // a whole unit beyond the button on both sides
         {{72, 168, 216, 206}, {264, 168, 408, 206}},
         {202, 220, 277, 243}},
        {"shut down, 720 x 405 at 144", TPowerDialog::ShutDown, {0, 0, 720, 405}, 113, 35, 144,
         {55, 25, 720, 100}, -50,
         {{55, 125, 165, 235}, {220, 125, 330, 235}, {385, 125, 495, 235}, {550, 125, 660, 235}},
         {{28, 260, 192, 305}, {193, 260, 357, 305}, {358, 260, 522, 305}, {523, 260, 687, 305}},
         {303, 345, 416, 380}},
        {"log off, 720 x 405 at 144", TPowerDialog::LogOff, {0, 0, 720, 405}, 113, 35, 144,
         {55, 25, 720, 100}, -50,
         {{165, 125, 275, 235}, {445, 125, 555, 235}},
         {{110, 260, 330, 305}, {390, 260, 610, 305}},
         {303, 345, 416, 380}},
        // A client area that does not start at the origin moves everything with it.
        {"log off, client at (10, 20)", TPowerDialog::LogOff, {10, 20, 490, 290}, 75, 23, 96,
         {46, 36, 490, 84}, -21,
         {{118, 100, 190, 172}, {310, 100, 382, 172}},
         {{82, 188, 226, 226}, {274, 188, 418, 226}},
         {212, 240, 287, 263}},
    };
    for (const LayoutCase &c : cases)
        ExpectLayout(c);
}

TEST(PowerChoices, CommandsDigitsLabelsAndActions)
{
    struct Case {
        TPowerDialog dialog;
        std::vector<TPowerChoice> choices;
    } cases[] = {
        {TPowerDialog::ShutDown,
         {{101, 1, LocalShutdown_Hibernate, TPowerAction::Hibernate},
          {102, 2, LocalShutdown_Suspend, TPowerAction::Sleep},
          {103, 3, LocalShutdown_Shutdown, TPowerAction::ShutDown},
          {104, 4, LocalShutdown_Restart, TPowerAction::Restart}}},
        {TPowerDialog::LogOff,
         {{105, 5, LocalLogoff_ChangeUser, TPowerAction::SwitchUser},
          {106, 6, LocalLogoff_Logoff, TPowerAction::LogOff}}},
    };
    for (const Case &c : cases) {
        const auto choices = PowerChoices(c.dialog);
        ASSERT_EQ(choices.size(), c.choices.size());
        for (size_t i = 0; i < choices.size(); ++i) {
            EXPECT_EQ(choices[i].command, c.choices[i].command);
            EXPECT_EQ(choices[i].digit, c.choices[i].digit);
            EXPECT_EQ(choices[i].label, c.choices[i].label);
            EXPECT_EQ(choices[i].action, c.choices[i].action);
            // The digit's hot key posts the choice's own command.
            EXPECT_EQ(PowerCommandOfHotKey(choices[i].digit), choices[i].command);
            EXPECT_EQ(PowerChoiceOfCommand(c.dialog, choices[i].command), &choices[i]);
        }
    }
    EXPECT_EQ(PowerDialogTitle(TPowerDialog::ShutDown), LocalShutdownDlg);
    EXPECT_EQ(PowerDialogTitle(TPowerDialog::LogOff), LocalLogoutDlg);
    // Cancel, the hidden OK, the other dialog's choices and anything else are no choice.
    struct Other {
        TPowerDialog dialog;
        int command;
    } others[] = {
        {TPowerDialog::ShutDown, 0},   {TPowerDialog::ShutDown, 1},   {TPowerDialog::ShutDown, 2},
        {TPowerDialog::ShutDown, 99},  {TPowerDialog::ShutDown, 105}, {TPowerDialog::ShutDown, 106},
        {TPowerDialog::ShutDown, 203}, {TPowerDialog::LogOff, 2},     {TPowerDialog::LogOff, 101},
        {TPowerDialog::LogOff, 103},   {TPowerDialog::LogOff, 107},
    };
    for (const Other &o : others)
        EXPECT_EQ(PowerChoiceOfCommand(o.dialog, o.command), nullptr) << o.command;
}
