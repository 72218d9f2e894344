// Ids of the program picker, the icon picker and the progress dialog.
#pragma once

// Program picker: child templates of the open-file dialog
#define IDD_PICK_PLAIN 1540   // history drop-down and the folder button
#define IDD_PICK_CHECK 101    // the same with check box 106
#define IDC_PICK_FOLDER 105   // "this folder": closes as cancelled, the caller takes the folder
#define IDC_PICK_CHECK 106    // the caller's check box (hidden in folder mode)
#define IDC_PICK_HISTORY 1152 // own history combo box, used where the dialog has no file-name combo
#define IDS_PICK_FOLDER_BUTTON 1541  // label of button 105
#define IDS_PICK_TOO_LONG 1542       // "%d" is the number of characters the field takes
#define IDS_PICK_CAPTION 1543        // caption of the picker's messages

// Icon picker
#define IDD_ICON_PICKER 132
#define IDC_ICON_GRID 270
#define IDC_ICON_BROWSE 106
#define IDS_ICON_BROWSE_FILTER 496  // "|"-separated description and pattern pairs
#define IDS_ICON_BROWSE_TITLE 497
#define IDS_ICON_SUBFOLDERS 902     // label of the browse dialog's check box

// Progress dialog
#define IDD_PROGRESS 219
#define IDC_PROGRESS_TEXT 1000
#define IDS_PROGRESS_WORKING 900   // text while scanning
#define IDS_PROGRESS_ICONS 901     // caption while the icon picker scans a folder
