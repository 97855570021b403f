// The private window-message protocol between the main program, the start button that the
// hook library creates inside the shell, the taskbar and the uninstaller.  Both sides
// hard-code these numbers, so they are named here once and never anywhere else.
#pragma once

// ---- Window classes, found with FindWindow by class name at the moment of use ----
inline constexpr const wchar_t *kMainWindowClass = L"TVRA_MainWindow";
inline constexpr const wchar_t *kMenuWindowClass = L"TVRA_MenuWindow";
inline constexpr const wchar_t *kStartButtonClass = L"MyStartButton";
inline constexpr const wchar_t *kTaskbarClass = L"Shell_TrayWnd";
inline constexpr const wchar_t *kRebarClass = L"ReBarWindow32";
inline constexpr const wchar_t *kTaskListClass = L"MSTaskSwWClass";
inline constexpr const wchar_t *kEdgeWindowClass = L"EdgeUiInputWndClass";
inline constexpr const wchar_t *kDesktopShellWindowClass = L"ApplicationManager_DesktopShellWindow";
// Classes of the main program's own controls.
inline constexpr const wchar_t *kSearchBoxClass = L"EditEx";
inline constexpr const wchar_t *kSearchListClass = L"ListEx";
inline constexpr const wchar_t *kIconControlClass = L"TVRA_IconControl";
inline constexpr const wchar_t *kColorControlClass = L"TVRA_ColorControl";
inline constexpr const wchar_t *kSampleClass = L"TVRA_Sample";
inline constexpr const wchar_t *kIconButtonClass = L"TVRA_IconButton";

// The product's name, which screen readers are told for the start button and the root level.
inline constexpr const wchar_t *kProductName = L"Orvella";

// ---- Registered messages ----
inline constexpr const wchar_t *kTaskbarCreatedMessage = L"TaskbarCreated";
inline constexpr const wchar_t *kShellGetDragImageMessage = L"ShellGetDragImage";

// ---- Messages to the main window (TVRA_MainWindow) ----
enum MainWindowMessage : unsigned {
    UM_DROPPED_ON_MAIN = 1028,       // its drop target: lParam the dropped block, freed there
    UM_DRAG_ENTERED_MAIN = 1031,     // drop target on the main window: show the root level
    UM_START_MENU_CHANGED = 1034,    // Start Menu watchers: (re)arm the rebuild timer
    UM_START_MENU_CHANGED_2 = 1035,  // 1035, 1036, 1038 have no sender; same as 1034
    UM_START_MENU_CHANGED_3 = 1036,
    UM_START_MENU_CHANGED_4 = 1038,
    UM_STOP_WATCHERS = 1039,         // before the program changes Start Menu files itself
    UM_START_WATCHERS = 1040,        // after it
    UM_RECENT_CHANGED = 1041,        // recent items watcher
    UM_WRITE_ORDER_FILE = 1042,      // menu order or content changed: rewrite sort.txt
    UM_MENUS_CLOSED = 1043,          // CloseAll: clear the ready flag, arm the ready timer
    UM_OPTIONS_APPLY_ITEMS = 1044,   // options accepted: re-apply the special section
    UM_OPTIONS_CANCELLED = 1045,     // options cancelled: rebuild the menu fonts
    UM_OPTIONS_APPLY_STYLE = 1046,   // options accepted: restyle and re-lay out all levels
    UM_FILL_SEARCH_INDEX = 1047,     // wParam: the search index list to append to
    UM_GET_ROOT_GEOMETRY = 1052,     // wParam: int* for the height; result right | top << 16
    UM_CLOSE_ALL = 1053,             // close every level
    UM_CLOSE_SUB_LEVELS = 1056,      // close the root level's sub-levels, keep the focus
    UM_EFFECT_DIALOG_1 = 1058,
    UM_EFFECT_DIALOG_2 = 1059,
    UM_TOGGLE_MENU = 1124,           // start button click or the Windows key
    UM_BUTTON_CONTEXT_MENU = 1125,   // right click on the start button
    UM_GET_DPI = 1126,               // result: the screen's LOGPIXELSX now
    UM_EXIT = 1127,                  // uninstaller: set Exiting and close
};

// ---- Messages to the start button (MyStartButton) ----
enum StartButtonMessage : unsigned {
    UM_BUTTON_DRAG_MOVE = 1025,      // lParam: cursor position in client coordinates
    UM_BUTTON_DRAG_ENTER = 1031,     // arm the 500 ms drag-rest timer
    UM_BUTTON_DRAG_LEAVE = 1032,     // kill it
    UM_BUTTON_PUSHED = 2125,         // a level was shown
    UM_BUTTON_RELEASED = 2126,       // every level was closed
    UM_BUTTON_TASKBAR_SHOWN = 2127,
    UM_BUTTON_TASKBAR_HIDDEN = 2128,
    UM_BUTTON_ENABLE = 2130,         // wParam 0: hide and ignore clicks; 1: show again
};

// ---- Messages to the taskbar (Shell_TrayWnd), acted on by the hook library ----
enum TaskbarMessage : unsigned {
    UM_TASKBAR_CREATE_BUTTON = 48826,  // 0xBEBA: create the start button unless one exists
    UM_TASKBAR_REMOVE_BUTTON = 52938,  // 0xCECA: destroy it and give the task list back
    TASKBAR_SHUTDOWN_REQUEST = 1366,   // the taskbar's own; turned into WM_CLOSE to us
};

// ---- Inside the main program ----
// Timers of the main window.
enum MainWindowTimer : unsigned {
    TIMER_REBUILD = 1,        // one rebuild a second after the last Start Menu change
    TIMER_RECENT_CHANGED = 2, // refresh the recent items level after the Recent folder changed
    TIMER_READY = 3,          // toggles are accepted again after the menus closed
};

// Commands of the start button's context menu.
enum StartButtonCommand : unsigned {
    CMD_BUTTON_ABOUT = 1031,
    CMD_BUTTON_OPTIONS = 1032,
    CMD_BUTTON_EXPLORE = 1033,
    CMD_BUTTON_EXPLORE_ALL = 1034,
    CMD_BUTTON_EXIT = 1035,
};

// Commands of a menu item's context menu.  Ids up to kLastShellCommand belong to the
// shell's own entries for the item's file, handed out from kFirstShellCommand.
enum ItemContextCommand : unsigned {
    CMD_ITEM_CREATE_FOLDER = 1001,
    CMD_ITEM_CREATE_SHORTCUT = 1002,
    CMD_ITEM_SORT_LEVEL = 1011,
    CMD_ITEM_SORT_TREE = 1012,
    CMD_ITEM_SORT_ALL = 1013,
    CMD_ITEM_OPEN = 1021,
    CMD_ITEM_RUN_AS = 1022,
    CMD_ITEM_PROPERTIES = 1023,
};
inline constexpr unsigned kFirstShellCommand = 1;
inline constexpr unsigned kLastShellCommand = 1000;
inline constexpr unsigned kShellCommandRangeEnd = 32767;  // the last id the shell is offered

// Control id of the search box child of the top menu level.
inline constexpr int kSearchBoxControlId = 31416;

// lParam of a WM_SYSCOMMAND / SC_TASKLIST that must reach the shell unchanged because the
// system's own Start screen is really wanted.
inline constexpr long long kStartScreenMarker = 0x0ACEBEDA;

// ---- Messages to a menu level (TVRA_MenuWindow), sent by its drop target ----
enum MenuWindowMessage : unsigned {
    UM_MENU_DRAG_OVER = 1025,        // lParam: pointer in client coordinates
    UM_MENU_DROP = 1028,
    UM_MENU_DRAG_ENTER = 1031,
    UM_MENU_DRAG_LEAVE = 1032,
};

// Timers of a menu level.
enum MenuWindowTimer : unsigned {
    TIMER_MENU_CLOSE_ALL_SUBS = 1,   // close the level's sub-levels (killed by ShowLevel)
    TIMER_MENU_OPEN_SUB = 222,       // the pointer rested on a folder for MenuDelay
    TIMER_MENU_CLOSE_SUBS = 223,     // the pointer rested on a plain item for MenuDelay
};

// Posted by a level's accessible object to itself.
enum MenuAccessibleMessage : unsigned {
    UM_MENU_ACCESSIBLE_ACTION = 1061,  // wParam: the item whose default action a client asked
};

// Control id of the search box's button.
inline constexpr int kSearchButtonControlId = 27182;

// Both parameters of a WM_CONTEXTMENU that the search results list posts to a level: the
// context menu is for the item whose path it left in the menu-wide SharedPath.
inline constexpr long long kSearchResultContextMarker = 0x0ACEBEDA;

// ---- The search box (EditEx) and its result list (ListEx) ----
enum SearchListMessage : unsigned {
    UM_SEARCH_SHOW = 1025,          // build the search index and show the list
    UM_SEARCH_HIDE_LATER = 1026,    // hide the list after 200 ms
    UM_SEARCH_TEXT_CHANGED = 1048,  // wParam: the search box; refilter and resize
    UM_SEARCH_PREVIOUS = 1049,      // select the previous result
    UM_SEARCH_NEXT = 1050,          // select the next result
    UM_SEARCH_LIST_BOX = 1051,      // result: the list box
    UM_SEARCH_CONTEXT_MENU = 1057,  // context menu of the selected result
};

enum SearchListTimer : unsigned {
    TIMER_SEARCH_HIDE = 1,          // the list hides 200 ms after the box lost the focus
};

// Commands of the search box's context menu (the clear button is kSearchButtonControlId).
enum SearchBoxCommand : unsigned {
    CMD_SEARCH_UNDO = 1001,
    CMD_SEARCH_CUT = 1002,
    CMD_SEARCH_COPY = 1003,
    CMD_SEARCH_PASTE = 1004,
    CMD_SEARCH_CLEAR = 1005,
    CMD_SEARCH_SELECT_ALL = 1006,
};

// ---- Messages of the program's own controls ----
enum IconControlMessage : unsigned {
    UM_ICON_SET = 1025,              // wParam: the icon to show (the control does not own it)
};

enum ColorControlMessage : unsigned {
    UM_COLOR_GET = 1025,             // result: the colour
    UM_COLOR_SET = 1026,             // wParam: the new colour
    UM_COLOR_CHOSEN = 1027,          // to the parent: wParam the colour, lParam the box's id
    UM_COLOR_RIGHT_CLICK = 1028,     // to the parent: lParam the box's id
};


// Timers of the log-off and shut-down dialogs' full-screen layers.
enum PowerLayerTimer : unsigned {
    TIMER_POWER_FADE_IN = 1,
    TIMER_POWER_FADE_OUT = 2,   // the first effect dialog, once it has been dismissed
};

// ---- The options sheet's pages ----
enum OptionsPageMessage : unsigned {
    UM_OPTIONS_ROWS_DROPPED = 1126,  // a row drag between the item lists ended
};

enum OptionsPageTimer : unsigned {
    TIMER_OPTIONS_PREVIEW_WATCH = 1,  // 500 ms: notices the user closed the preview
    TIMER_OPTIONS_DRAG_SCROLL = 101,  // 500 ms: scrolls a list while a drag rests at its edge
};
