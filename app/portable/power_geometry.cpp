#include "app/portable/power_geometry.h"

#include <algorithm>

#include "resources/tvra_resources.h"

namespace {

constexpr int kHotKeyCommandOffset = 100;
constexpr int kGridColumns = 13;
constexpr int kGridRows = 16;
constexpr int kBaseDpi = 96;
constexpr int kPointsPerInch = 72;

constexpr TPowerChoice kShutDownChoices[] = {
    {IDC_POWER_HIBERNATE, 1, LocalShutdown_Hibernate, TPowerAction::Hibernate},
    {IDC_POWER_SLEEP, 2, LocalShutdown_Suspend, TPowerAction::Sleep},
    {IDC_POWER_SHUT_DOWN, 3, LocalShutdown_Shutdown, TPowerAction::ShutDown},
    {IDC_POWER_RESTART, 4, LocalShutdown_Restart, TPowerAction::Restart},
};
constexpr TPowerChoice kLogOffChoices[] = {
    {IDC_POWER_SWITCH_USER, 5, LocalLogoff_ChangeUser, TPowerAction::SwitchUser},
    {IDC_POWER_LOG_OFF, 6, LocalLogoff_Logoff, TPowerAction::LogOff},
};

// Left edges of the picture buttons, in grid columns from the client's left (negative: from
// its right).
constexpr int kShutDownColumns[] = {1, 4, 7, 10};
constexpr int kLogOffColumns[] = {3, -5};

// MulDiv's rounding for non-negative values.
int32_t MulDivRounded(int64_t value, int64_t numerator, int64_t denominator)
{
    return int32_t((value * numerator + denominator / 2) / denominator);
}

} // namespace

std::span<const TPowerChoice> PowerChoices(TPowerDialog dialog)
{
    if (dialog == TPowerDialog::LogOff)
        return kLogOffChoices;
    return kShutDownChoices;
}

LanguageKey PowerDialogTitle(TPowerDialog dialog)
{
    return dialog == TPowerDialog::LogOff ? LocalLogoutDlg : LocalShutdownDlg;
}

const TPowerChoice *PowerChoiceOfCommand(TPowerDialog dialog, int command)
{
    for (const TPowerChoice &choice : PowerChoices(dialog))
        if (choice.command == command)
            return &choice;
    return nullptr;
}

int PowerCommandOfHotKey(int hotKeyId) { return hotKeyId + kHotKeyCommandOffset; }

TPowerRect PlacePowerDialog(const TPowerRect &monitor, int dpi)
{
    const int64_t scaledWidth = int64_t(monitor.Width()) * dpi / kBaseDpi;
    const int64_t scaledHeight = int64_t(monitor.Height()) * dpi / kBaseDpi;
    const int32_t width = int32_t(std::clamp<int64_t>(scaledWidth / 4, 0, monitor.Width()));
    const int32_t height = int32_t(std::clamp<int64_t>(scaledHeight / 4, 0, monitor.Height()));
    const int32_t left = monitor.left + (monitor.Width() - width) / 2;
    const int32_t top = monitor.top + (monitor.Height() - height) / 2;
    return {left, top, left + width, top + height};
}

TPowerLayout LayoutPowerDialog(TPowerDialog dialog, const TPowerRect &client, int cancelWidth,
                               int cancelHeight, int pixelsPerInch)
{
    TPowerLayout layout{};
    const int32_t ux = client.Width() / kGridColumns;
    const int32_t uy = client.Height() / kGridRows;
    layout.ux = ux;
    layout.uy = uy;
    layout.title = {client.left + ux, client.top + uy, client.right, client.top + 4 * uy};
    layout.titleFontHeight = -MulDivRounded(uy, pixelsPerInch, kPointsPerInch);

    const bool logOff = dialog == TPowerDialog::LogOff;
    const std::span<const int> columns(logOff ? std::span<const int>(kLogOffColumns)
                                              : std::span<const int>(kShutDownColumns));
    const int32_t reach = logOff ? ux : ux / 2;
    const int32_t edge = 2 * ux;
    const int32_t top = client.top + 5 * uy;
    layout.count = int(columns.size());
    for (int i = 0; i < layout.count; ++i) {
        const int column = columns[size_t(i)];
        const int32_t left = column >= 0 ? client.left + column * ux : client.right + column * ux;
        const TPowerRect button{left, top, left + edge, top + edge};
        layout.buttons[i] = button;
        layout.labels[i] = {button.left - reach, button.bottom + uy, button.right + reach,
                            client.bottom - 4 * uy};
    }

    const int32_t cancelLeft = client.left + (client.Width() - cancelWidth) / 2;
    const int32_t cancelTop = client.top + 13 * uy + (3 * uy - cancelHeight) / 2;
    layout.cancel = {cancelLeft, cancelTop, cancelLeft + cancelWidth, cancelTop + cancelHeight};
    return layout;
}
