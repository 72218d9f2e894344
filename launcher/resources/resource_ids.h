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

// Launching: things that cannot be found ("%s" is the name)
#define IDS_FOLDER_NOT_FOUND 592
#define IDS_FILE_NOT_FOUND 593
#define IDS_NOT_FOUND_CAPTION 594
#define IDS_NO_ASSOCIATION 595

// Bar window and start-up
#define IDS_KEEP_COMPRESSION_CHANGED 352
#define IDS_KEEP_COMPRESSION_CAPTION 353
#define IDS_HELP_CAPTION 464
#define IDS_NO_HELP_FILE 465
#define IDS_QUERY_EXIT 3136

// Starting several buttons at once
#define IDS_LAUNCH_MANY 3028
#define IDS_LAUNCH_MANY_CAPTION 3029
#define IDS_EXEC_TITLE 304
#define IDS_EXEC_FILTER 305

// Shutdown choice dialog
#define IDD_SHUTDOWN 111
#define IDC_SHUTDOWN_POWER_OFF 318
#define IDC_SHUTDOWN_RESTART 319
#define IDC_SHUTDOWN_LOG_OFF 320

// The question box: an icon, a question that the box grows to fit, OK and Cancel.
#define IDD_QUESTION 112
#define IDC_QUESTION_ICON 321
#define IDC_QUESTION_TEXT 322

// Each dialog family keeps its ids in a header of its own.
#include "ids_menus.h"
#include "ids_pickers.h"
#include "ids_item_sheets.h"
#include "ids_options.h"
#include "ids_appearance.h"
#include "ids_drop.h"
#include "ids_thumbs.h"
#include "ids_tooltips.h"
#include "ids_help.h"
#include "ids_browser.h"
#include "ids_tasks.h"
#include "ids_groups.h"
