// Resource ids of VorbinBR: dialogs, controls and strings (shared by the .rc and the code).
#pragma once

// Dialogs
#define IDD_ABOUT 100
#define IDD_MAIN 102
#define IDD_NAME 129

// Icon
#define IDI_MAIN 128

// Main dialog controls
#define IDC_BACKUP_LIST 1000
#define IDC_SAVE 256
#define IDC_RESTORE 257
#define IDC_DELETE 258
#define IDC_HINT 1002
// Name dialog
#define IDC_NAME_COMBO 1003
// System menu
#define IDM_ABOUT 16

// Strings
#define IDS_ABOUT_ITEM 101
#define IDS_COLUMN_NAME 102
#define IDS_COLUMN_DATE 103
#define IDS_DEFAULT_NAME 128
#define IDS_ASK_DELETE 129
#define IDS_ASK_OVERWRITE 130
#define IDS_NOT_A_BACKUP 131
#define IDS_NO_SETTINGS 132
#define IDS_ASK_RESTORE 133
#define IDS_SAVED 134
#define IDS_RESTORED 135
#define IDS_FAILED_CODE 136
#define IDS_FAILED_HIVE 137
#define IDS_NAME_UNUSABLE 138
#define IDS_NAME_TOO_LONG 139
