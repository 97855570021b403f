// The options pages' controls bound to settings as data: one row per control, naming the
// setting by its file key, with the rule that turns the control's state into the setting
// and back.  The page code only reads and writes the controls; every rule is here.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/portable/settings_text.h"

enum class TBindKind {
    Check,          // check box: checked = the flag
    CheckOpposite,  // check box: checked = the flag off, and writes the opposite
    OneChoice,      // one of a pair (check boxes, radio or push buttons): checked when the
                    // setting's truth equals Value's; choosing it stores Value
    List,           // drop-down list: the selected index is the number
    GlowList,       // drop-down list of the glow choice, kept in two flags (Key, Key2)
    UpDown,         // edit + up-down: only the arrows change it, clamped to the range
    TrackBar,       // track bar + value label (Partner), clamped to the range
    Colour,         // colour box
    Text,           // edit: every change copies at most MaxChars characters
    Path,           // read-only edit showing a file the "..." button (Partner) chooses
    PictureList,    // owner-drawn list of pictures: the entry named by the setting
    RegistryFlag,   // check box of a registry flag (Key is its value name), written on close
};

// Where a range comes from: fixed numbers, or the system's icon heights.
enum class TRangeRule {
    Fixed,        // Min .. Max
    LargeIcon,    // half to twice the large-icon height
    SmallIcon,    // half to twice the small-icon height
    BandWidth,    // half the small-icon height to twice the large-icon height
};

struct TIconMetrics {
    int Large;  // SM_CYICON
    int Small;  // SM_CYSMICON
};

struct TControlBinding {
    int Page;
    int Control;
    TBindKind Kind;
    const char16_t *Key;
    const char16_t *Key2 = nullptr;  // GlowList: the doubling flag
    TRangeRule Range = TRangeRule::Fixed;
    int Min = 0;
    int Max = 0;
    int Value = 0;          // OneChoice: what choosing this control stores
    int Partner = 0;        // TrackBar: its value label; UpDown: its buddy edit
    int MaxChars = 0;       // Text: characters copied at most
    bool Repaints = true;   // whether a change repaints the preview
};

// Every bound control of the three pages.
std::span<const TControlBinding> OptionsBindings();
const TControlBinding *FindBinding(int control);

struct TRange {
    int Min;
    int Max;
};
TRange RangeOf(const TControlBinding &binding, TIconMetrics metrics);

// What a control shows: a number (check state 0/1, list index, position, colour) or a text.
struct TControlState {
    int64_t Number = 0;
    std::u16string Text;
};

// The setting row of a key among the record's rows; null when there is none.
const SettingRow *FindSettingRow(const std::vector<SettingRow> &rows, std::u16string_view key);

// The state the control gets from the record (not for RegistryFlag rows).
TControlState LoadControl(const TControlBinding &binding, const std::vector<SettingRow> &rows);
// Stores a control's new state into the record by the row's rule and returns the state the
// control then shows (the clamped number, the choice re-checked).  UpDown takes the number
// the arrows ask for; Text, Path and PictureList take the text.
TControlState StoreControl(const TControlBinding &binding, const TControlState &state,
                           const std::vector<SettingRow> &rows, TIconMetrics metrics);

// ---- The two item lists of the first menu level ----
// Rows are letters of ShowString ('-' the separator).  Shown is list 114 (the first level, in
// order), Available list 110: a separator first, then every item not shown.
inline constexpr std::u16string_view kItemLetters = u"MCHRFTSDOEBLU";
inline constexpr char16_t kSeparatorLetter = u'-';

enum TItemList : int { kAvailableList = 0, kShownList = 1 };

struct TItemLists {
    std::u16string Rows[2];
};

TItemLists ItemListsOf(std::u16string_view showString);
// ShowString from the shown list, cut to `capacity` - 1 letters.
std::u16string ShowStringOf(const TItemLists &lists, size_t capacity);

// A row being dragged: where it lies now.  A separator taken from the available list is a
// copy, so that list always offers one.
struct TRowDrag {
    bool Active = false;
    int List = 0;
    int Row = 0;
};
bool BeginRowDrag(TItemLists &lists, TRowDrag &drag, int list, int row);
// Moves the dragged row to `row` of `list`; a row at or past the end appends.
void MoveDraggedRow(TItemLists &lists, TRowDrag &drag, int list, int row);
// Ends the drag: a separator left in the available list is removed.  Returns the row to
// select, or false when the dragged row is gone.
bool EndRowDrag(TItemLists &lists, TRowDrag &drag);
