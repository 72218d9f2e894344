// Ids of the task list's menus and texts.
#pragma once

#define IDM_TILE_MENU 241                 // layouts of the tile mode button
#define IDS_TASK_BUTTON_PROGRAM 320       // "make a button": the window's program
#define IDS_TASK_BUTTON_FOLDER 321        // "make a button": an Explorer window's folder
#define IDS_TASK_BUTTON_QUESTION 322      // asks before adding; %s what, then %s the group
#define IDS_TASK_BUTTON_CAPTION 323
#define IDS_TASK_BUTTON_NO_PROGRAM 324    // the window's program could not be found
#define IDS_TASK_BUTTON_NO_PROGRAM_CAPTION 325
#define IDS_BAR_HOTKEY_REFUSED 384        // the system refused the bar hot key
#define IDS_BAR_HOTKEY_REFUSED_CAPTION 385

// Tile menu commands: bit 0x2000 tiles horizontally, bits 0x70 choose the area.
#define IDC_TILE_FLAG_HORIZONTAL 0x2000
#define IDC_TILE_AREA_MASK 0x0070
#define IDC_TILE_WHOLE 0x4000
#define IDC_TILE_LEFT 0x4020
#define IDC_TILE_RIGHT 0x4030
#define IDC_TILE_TOP 0x4040
#define IDC_TILE_BOTTOM 0x4050
