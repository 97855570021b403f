// Resource identifiers of tvra.exe (dialogs, controls, menus).
#pragma once
#include "resource_ids.h"

// Save theme (its texts come from LocalDlg_108 and LocalDlg_108_100; the name dialog's
// controls, below).
#define IDD_SAVE_THEME 108

// ---- Item dialogs and the about box (resources/item_dialogs.rc, resources/about_box.rc) ----
#define IDD_CREATE_FOLDER 101
#define IDD_ITEM_ICON 102
#define IDD_ITEM_ICON_COMMAND 103
#define IDD_ABOUT 104
// The name dialogs: create folder (101) and save theme (108).
#define IDC_NAME_LABEL 100
#define IDC_NAME_FIELD 101
// The properties of a special item (102, and 103 with a command).
#define IDC_ICON_GROUP 101
#define IDC_ICON_BOX 102
#define IDC_ICON_LABEL 103
#define IDC_ICON_LOCATION 104
#define IDC_ICON_BROWSE 105
#define IDC_COMMAND_GROUP 106
#define IDC_COMMAND_FIELD 107
#define IDC_COMMAND_BROWSE 108
#define IDC_COMMAND_CLEAR 109
// The about box.
#define IDC_ABOUT_TITLE 1001
#define IDC_ABOUT_TERMS 1002
#define IDC_ABOUT_TERMS_1 1003
#define IDC_ABOUT_TERMS_2 1004
#define IDC_ABOUT_LICENSE 101
#define IDC_ABOUT_UPDATES 102
#define IDC_ABOUT_CONTACT 103

// ---- Program icons of the options pages (resources/tvra.rc) ----
#define IDI_PICTURE_FIXED 101  // the background picture stays fixed on the screen
#define IDI_PICTURE_MOVES 102  // the background picture moves with the menu
#define IDI_SEPARATOR 103      // the separator row of the item lists
#define IDI_SEARCH_BOX 104     // the search box row of the item lists

// Log-off and shut-down dialogs (resources/power_dialogs.rc).  The choices' command ids are
// also the ids of their picture buttons, whose pictures are images\<id>.jpg (hot),
// <id + 100>.jpg (pressed) and <id + 200>.jpg (normal); a label's id is its command's + 100.
#define IDD_POWER_BACKGROUND 106  // the grey screen behind the dialog, and the effect dialogs
#define IDD_POWER_CHOICES 107     // the log-off or shut-down dialog
#define IDC_POWER_TITLE 99
#define IDC_POWER_HIBERNATE 101
#define IDC_POWER_SLEEP 102
#define IDC_POWER_SHUT_DOWN 103
#define IDC_POWER_RESTART 104
#define IDC_POWER_SWITCH_USER 105
#define IDC_POWER_LOG_OFF 106
#define IDC_POWER_LABEL_OFFSET 100

// ---- Options sheet: the three pages (texts LocalDlg_105_<id>) ----
#define IDD_OPTIONS_GENERAL 1001
#define IDD_OPTIONS_LOOK 1002
#define IDD_OPTIONS_BAND 1003
#define IDD_OPTIONS 105                 // the number of the sheet's texts
// Controls the sheet frame gets on the row of OK and Cancel.
#define IDC_OPT_PREVIEW 1001
#define IDC_OPT_SAVE_THEME 1002
#define IDC_OPT_DELETE_THEME 1003
#define IDC_OPT_THEME_LABEL 1004
#define IDC_OPT_THEMES 1005
// Page 0: general and the items of the first level.
#define IDC_OPT_ICON_GROUP 101
#define IDC_OPT_ICON1_LABEL 102
#define IDC_OPT_ICON1 103
#define IDC_OPT_ICON1_SPIN 104
#define IDC_OPT_ICON2_LABEL 105
#define IDC_OPT_ICON2 106
#define IDC_OPT_ICON2_SPIN 107
#define IDC_OPT_ITEMS_GROUP 108
#define IDC_OPT_AVAILABLE_LABEL 109
#define IDC_OPT_AVAILABLE 110
#define IDC_OPT_ADD_HINT 111
#define IDC_OPT_REMOVE_HINT 112
#define IDC_OPT_SHOWN_LABEL 113
#define IDC_OPT_SHOWN 114
#define IDC_OPT_ORDER_HINT 117
#define IDC_OPT_CONTROL_EX 118
#define IDC_OPT_AUTOSTART 122
#define IDC_OPT_CLASSIC_EXIT 123
#define IDC_OPT_CLASSIC_LOOK 124
#define IDC_OPT_SHOW_DESKTOP 125
#define IDC_OPT_NO_CORNERS 126
#define IDC_OPT_SELECTION_LABEL 132
#define IDC_OPT_SELECTION 133
#define IDC_OPT_CURSOR_LABEL 136
#define IDC_OPT_CURSOR 137
#define IDC_OPT_DELAY 161
#define IDC_OPT_DELAY_VALUE 162
#define IDC_OPT_START_GROUP 195
#define IDC_OPT_DELAY_LABEL 196
#define IDC_OPT_CLASSIC_GROUP 198
#define IDC_OPT_NEW_GROUP 201
#define IDC_OPT_HILIGHT 202
#define IDC_OPT_DAYS_LABEL 203
#define IDC_OPT_DAYS 204
#define IDC_OPT_DAYS_SPIN 205
#define IDC_OPT_DAYS_UNIT 206
#define IDC_OPT_HILIGHT_STYLE 207
#define IDC_OPT_RECENT_GROUP 208
#define IDC_OPT_RECENT_BY_NAME 209
#define IDC_OPT_RECENT_BY_DATE 210
#define IDC_OPT_RECENT_COUNT_LABEL 211
#define IDC_OPT_RECENT_COUNT 212
#define IDC_OPT_RECENT_COUNT_SPIN 213
#define IDC_OPT_PROGRAMS_INSIDE 214
// Page 1: the menu body and its text.
#define IDC_OPT_STYLE_LABEL 138
#define IDC_OPT_STYLE 139
#define IDC_OPT_BACK_GROUP 140
#define IDC_OPT_ALPHA_LABEL 141
#define IDC_OPT_ALPHA 142
#define IDC_OPT_ALPHA_VALUE 143
#define IDC_OPT_BLUR 144
#define IDC_OPT_MODE_LABEL 145
#define IDC_OPT_MODE 146
#define IDC_OPT_PLAIN_LABEL 147
#define IDC_OPT_PLAIN 148
#define IDC_OPT_GRADIENT1_LABEL 1490
#define IDC_OPT_GRADIENT1 1491
#define IDC_OPT_GRADIENT2_LABEL 1492
#define IDC_OPT_GRADIENT2 1493
#define IDC_OPT_TEXT_GROUP 150
#define IDC_OPT_FONT_COLOR_LABEL 151
#define IDC_OPT_FONT_COLOR 152
#define IDC_OPT_GLOW_LABEL 153
#define IDC_OPT_GLOW 154
#define IDC_OPT_GLOW_SIZE_LABEL 155
#define IDC_OPT_GLOW_SIZE 156
#define IDC_OPT_GLOW_SIZE_VALUE 157
#define IDC_OPT_DEFAULT_FONT 158
#define IDC_OPT_FONT 159
#define IDC_OPT_GLOW_COLOR_LABEL 2160
#define IDC_OPT_GLOW_COLOR 2161
#define IDC_OPT_BACK_PICTURE_LABEL 2188
#define IDC_OPT_BACK_PICTURE 2190
#define IDC_OPT_BACK_PICTURE_CHOOSE 2191
#define IDC_OPT_BACK_FIXED 2101
#define IDC_OPT_BACK_MOVES 2102
#define IDC_OPT_SHADOW 3001
// Page 2: the side band.
#define IDC_OPT_BAND_STYLE_LABEL 197
#define IDC_OPT_BAND_STYLE 164
#define IDC_OPT_BAND_GROUP 170
#define IDC_OPT_BAND_WIDTH_LABEL 119
#define IDC_OPT_BAND_WIDTH 120
#define IDC_OPT_BAND_WIDTH_SPIN 121
#define IDC_OPT_BAND_BACK_GROUP 165
#define IDC_OPT_BAND_ALPHA_LABEL 166
#define IDC_OPT_BAND_ALPHA 167
#define IDC_OPT_BAND_ALPHA_VALUE 168
#define IDC_OPT_BAND_MODE_LABEL 171
#define IDC_OPT_BAND_MODE 172
#define IDC_OPT_BAND_PLAIN_LABEL 173
#define IDC_OPT_BAND_PLAIN 174
#define IDC_OPT_BAND_GRADIENT1_LABEL 1495
#define IDC_OPT_BAND_GRADIENT1 1494
#define IDC_OPT_BAND_GRADIENT2_LABEL 1497
#define IDC_OPT_BAND_GRADIENT2 1496
#define IDC_OPT_BAND_PICTURE_BACK_LABEL 176
#define IDC_OPT_BAND_PICTURE_BACK 177
#define IDC_OPT_BAND_TEXT_GROUP 169
#define IDC_OPT_BAND_FONT_COLOR_LABEL 178
#define IDC_OPT_BAND_FONT_COLOR 179
#define IDC_OPT_BAND_GLOW_LABEL 180
#define IDC_OPT_BAND_GLOW 181
#define IDC_OPT_BAND_GLOW_SIZE_LABEL 182
#define IDC_OPT_BAND_GLOW_SIZE 183
#define IDC_OPT_BAND_GLOW_SIZE_VALUE 184
#define IDC_OPT_BAND_GLOW_BLACK 185
#define IDC_OPT_BAND_FONT 186
#define IDC_OPT_BAND_CONTENT_GROUP 187
#define IDC_OPT_BAND_PICTURE_LABEL 188
#define IDC_OPT_BAND_TEXT 189
#define IDC_OPT_BAND_PICTURE 190
#define IDC_OPT_BAND_PICTURE_CHOOSE 191
#define IDC_OPT_BAND_STRETCH_ALL 192
#define IDC_OPT_BAND_STRETCH_WIDTH 193
#define IDC_OPT_BAND_TEXT_HINT 194

// ---- The right-drag menu of a level (resources/drag_drop.rc), shown where the shell's own
// drop menu cannot be loaded ----
#define IDR_DROP_MENU 200
#define IDM_DROP_COPY 201
#define IDM_DROP_MOVE 202
#define IDM_DROP_LINK 203
#define IDM_DROP_CANCEL 204
