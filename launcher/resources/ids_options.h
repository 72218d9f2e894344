// Ids of the options sheet: behaviour and timing pages.
#pragma once

// The sheet
#define IDS_OPTIONS_CAPTION 213
#define IDS_HOTKEY_TAKEN 3200          // the bar hot key is held by another program
#define IDS_SECONDARY_RIGHT 560        // label of the secondary-button check with the left button primary
#define IDS_SECONDARY_LEFT 561         // ... with the right button primary
#define IDS_LANGUAGE_JAPANESE 916
#define IDS_LANGUAGE_ENGLISH 917

// Behaviour page
#define IDD_OPTIONS_BEHAVIOR 133
#define IDC_PLACE_LEFT 128  // the five activation places, 128..132
#define IDC_PLACE_TOP 129
#define IDC_PLACE_RIGHT 130
#define IDC_PLACE_BOTTOM 131
#define IDC_PLACE_DESKTOP 132
#define IDC_MOUSE_LEFT_PRIMARY 32769
#define IDC_MOUSE_RIGHT_PRIMARY 32770
#define IDC_MOUSE_SECONDARY 141
#define IDC_MOUSE_DOUBLE_CLICK 140
#define IDC_START_HIDDEN 301
#define IDC_LOCK_WITH_TOP 302
#define IDC_OPEN_AT_CLICK 303
#define IDC_CLOSE_INACTIVE 304
#define IDC_FAST_EXIT 305
#define IDC_SHIFT_SELECT 306
#define IDC_QUERY_DELETE 307
#define IDC_TRAY_ICON 308
#define IDC_GROUP_SCROLL 309
#define IDC_BEHAVIOR_PICTURE 310
#define IDC_KEEP_COMPRESSION 311
#define IDC_END_MESSAGE 312
#define IDC_IGNORE_DIRECTX 313
#define IDC_LANGUAGE 236
#define IDC_BAR_HOTKEY 290
#define IDB_BEHAVIOR_PICTURE 363

// Timing page
#define IDD_OPTIONS_TIMING 168
#define IDC_ALWAYS_OPEN_APPL 301
#define IDC_GROW_BY_FILL 302
#define IDC_USUALLY_TOP_GROUP 303
#define IDC_SUPER_LOCK 304
#define IDC_APPEAR_X 308
#define IDC_APPEAR_Y 309
#define IDC_APPEAR_PICTURE 310
#define IDC_APPEAR_DEFAULT 311
#define IDC_CLOSE_DELAY_SPIN 344
#define IDC_CLOSE_DELAY 345
#define IDC_CLOSE_DELAY_LABEL 346
#define IDC_SELECT_DELAY 324
#define IDC_SELECT_DELAY_SPIN 325
#define IDC_SCROLL_REPEAT 354
#define IDC_SCROLL_REPEAT_SPIN 355
#define IDC_SCROLL_TIME 348
#define IDC_SCROLL_TIME_SPIN 349
#define IDC_SCROLL_BUTTON_SIZE 389
#define IDC_PATTERN_FIRST 4097      // patterns 4097..4101 (bit 0x1000: a typed "|" is refused)
#define IDC_DESCRIPTION_FIRST 4113  // descriptions 4113..4117
#define IDB_APPEAR_PICTURE 365
