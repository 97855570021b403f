// The log-off and shut-down dialogs as data and arithmetic: their choices, the dialog's size
// and place on a monitor, and the rectangle of every control inside it.
#pragma once
#include <cstdint>
#include <span>

#include "settings/portable/language_keys.h"

struct TPowerRect {
    int32_t left, top, right, bottom;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const TPowerRect &) const = default;
};

enum class TPowerDialog { LogOff, ShutDown };

// What a choice does; the program maps each to its system call.
enum class TPowerAction { Hibernate, Sleep, ShutDown, Restart, SwitchUser, LogOff };

struct TPowerChoice {
    int command;        // command id, also the id of its picture button and keyboard twin
    int digit;          // the digit key that chooses it, also its hot key id
    LanguageKey label;
    TPowerAction action;
};

inline constexpr int kPowerMaxChoices = 4;

// The choices of a dialog, left to right.
std::span<const TPowerChoice> PowerChoices(TPowerDialog dialog);
LanguageKey PowerDialogTitle(TPowerDialog dialog);
// The dialog's choice with this command id; null for any other id (Cancel is 2, and the
// choices of the other dialog are none of this one's).
const TPowerChoice *PowerChoiceOfCommand(TPowerDialog dialog, int command);
// The command a hot key posts.
int PowerCommandOfHotKey(int hotKeyId);

// The dialog's window rectangle on a monitor: a quarter of the monitor scaled by dpi / 96,
// centred on it, never larger than the monitor.
TPowerRect PlacePowerDialog(const TPowerRect &monitor, int dpi);

struct TPowerLayout {
    int32_t ux, uy;                         // the grid: client width / 13, height / 16
    TPowerRect title;
    int count;                              // the number of choices
    TPowerRect buttons[kPowerMaxChoices];   // picture buttons, in the order of PowerChoices
    TPowerRect labels[kPowerMaxChoices];
    TPowerRect cancel;
    int32_t titleFontHeight;                // a LOGFONT height (negative: character height)
};

// Every control of the dialog in a client rectangle; `cancelWidth` x `cancelHeight` is the
// Cancel button's size, kept; `pixelsPerInch` the dialog's LOGPIXELSY.
TPowerLayout LayoutPowerDialog(TPowerDialog dialog, const TPowerRect &client, int cancelWidth,
                               int cancelHeight, int pixelsPerInch);
