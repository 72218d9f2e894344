// Ids of the strings, dialogs and menus that the launcher loads from its
// language library (Vorbr2ke.dll / Vorbr2kj.dll). Shared by both .rc files.
#pragma once

// Labels and defaults
#define IDS_TASK_BUTTON_LABELS 214  // comma-separated labels of the task command buttons
#define IDS_NEW_GROUP_TITLE 272     // default group title, followed by the section number
#define IDS_DEFAULT_WILDCARD 512    // default wild card of the file lists

// First-run questions
#define IDS_IMPORT_DESKTOP 416
#define IDS_IMPORT_CONTROL_PANEL 417
#define IDS_IMPORT_COMMON_START_MENU 418
#define IDS_IMPORT_USER_START_MENU 419
#define IDS_IMPORT_CAPTION 420
