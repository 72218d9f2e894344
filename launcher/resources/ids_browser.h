// Ids of the folder combo and the launcher's own file browser.
#pragma once

#define IDD_FOLDER_FILE 1538
#define IDC_BROWSER_FOLDER 2051  // the folder combo (the item sheets' folder box has the same id)
#define IDC_BROWSER_FILTER 1136
#define IDC_BROWSER_NAME 1152
#define IDC_BROWSER_LIST 1120
#define IDC_BROWSER_TOOLBAR 1121

#define IDS_DRIVE_NOT_READY 1017  // %s: the drive
#define IDS_BROWSER_NAME_COLUMN 1032
#define IDS_BROWSER_DATE_COLUMN 1033
#define IDS_PICK_TITLE 288        // %s: the program's file name
#define IDS_PICK_ITEM_FILTER 289  // %s: the item's own pattern
#define IDS_PICK_ALL_FILTER 290

// Tool-bar commands; each has a string of the same id as its tip.
#define ID_BROWSER_USE_FOLDER 32780
#define ID_BROWSER_DELETE 32781
#define ID_BROWSER_SORT_NAME 32782
#define ID_BROWSER_SORT_TYPE 32783
#define ID_BROWSER_SORT_DATE 32784
#define ID_BROWSER_VIEW_LIST 32785
#define ID_BROWSER_VIEW_DETAILS 32786
#define ID_BROWSER_DISCONNECT 32787
#define ID_BROWSER_CONNECT 32788
