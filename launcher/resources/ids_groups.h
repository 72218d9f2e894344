// Ids of the group sheet, folder registration and its progress.
#pragma once

// Dialogs: the group page and the registration page
#define IDD_GROUP_PAGE 131
#define IDD_REGISTER_PAGE 1541

// Group page
#define IDC_GROUP_TITLE 101
#define IDC_GROUP_ICON 120
#define IDC_GROUP_CHANGE_ICON 107
#define IDC_GROUP_STANDARD_ICON 121
#define IDC_GROUP_START 301
#define IDC_GROUP_START_MINIMIZED 302
#define IDC_GROUP_START_HIDDEN 303
#define IDC_GROUP_BUTTON_MODE 500

// Registration page (120 shows the group's picture there too)
#define IDC_REG_GROUP_TITLE 287
#define IDC_REG_FOLDER 2051
#define IDC_REG_BROWSE 106
#define IDC_REG_PATTERN 186
#define IDC_REG_SUBFOLDERS 297
#define IDC_REG_GROUP_PER_FOLDER 298
#define IDC_REG_FOLDERS_AS_ITEMS 299
#define IDC_REG_NEW_GROUP 303
#define IDC_REG_ONLY_WITH_FILES 304

// Strings
#define IDS_GROUP_UNTITLED 544        // caption base of a group without title
#define IDS_REGISTER_BUTTON 626       // the sheet's OK on the registration page
#define IDS_REGISTER_NO_FOLDER 800    // "%s" is the folder
#define IDS_REGISTER_NO_FOLDER_CAPTION 801
#define IDS_REGISTER_BROWSE_TITLE 802
#define IDS_REGISTER_PROGRESS 804     // progress caption while a folder is registered
#define IDS_BUTTON_MODE_LARGE 3088
#define IDS_BUTTON_MODE_LIST 3089
#define IDS_BUTTON_MODE_SMALL 3090
