// Ids of the item property sheet and the new-item wizard.
#pragma once

// Dialogs: the sheet's two pages and the wizard's two pages
#define IDD_ITEM_COMMON 130
#define IDD_ITEM_OPTIONS 193
#define IDD_WIZARD_TARGET 200
#define IDD_WIZARD_NAME 206

// Common page
#define IDC_ITEM_TITLE 2049
#define IDC_ITEM_COMMAND 2050
#define IDC_ITEM_FOLDER 2051
#define IDC_ITEM_TYPE_NAME 286
#define IDC_ITEM_KIND_TEXT 287
#define IDC_ITEM_SHOW 197
#define IDC_ITEM_ICON 288
#define IDC_ITEM_HOT_KEY 290
#define IDC_ITEM_COMMENT 291
#define IDC_ITEM_SEPARATE 342
#define IDC_ITEM_RUN_AS 343
#define IDC_ITEM_BROWSE 106
#define IDC_ITEM_CHANGE_ICON 107
#define IDC_ITEM_TARGET_PROPERTIES 111

// Option page (287 shows the item's title there)
#define IDC_KIND_FIRST 32769
#define IDC_KIND_SECOND 32770
#define IDC_KIND_THIRD 32771
#define IDC_ITEM_PATTERN 186
#define IDC_OPTION_EXPLORER 302
#define IDC_OPTION_ROOTED 303
#define IDC_OPTION_FIND 304

// Wizard pages (106 browses on page 1; 32769-32771 and 186 as above on page 2)
#define IDC_WIZARD_TARGET 380
#define IDC_WIZARD_TITLE 379
#define IDC_WIZARD_PATTERN_LABEL 187
#define IDC_WIZARD_KIND_GROUP 324
#define IDC_WIZARD_EXPLORER_NOTE 326
#define IDC_WIZARD_FIND_NOTE 327
#define IDC_WIZARD_FIND 381
#define IDC_WIZARD_EXPLORER 382
#define IDC_WIZARD_ROOTED 383

// Texts
#define IDS_SHORTCUT_DECORATION 576  // the system's "Shortcut to " part of a link's file name
#define IDS_KIND_FOLDER_ROOT_OR_FIND 608
#define IDS_KIND_FOLDER 609
#define IDS_KIND_EXPLORER 612  // appended to 608/609 after a blank
#define IDS_KIND_PROMPT 613
#define IDS_KIND_PROGRAM 614
#define IDS_KIND_URL 615
#define IDS_TYPE_FOLDER_MISSING 616
#define IDS_TYPE_FILE_MISSING 617
#define IDS_ITEM_BROWSE_TITLE 624
#define IDS_ITEM_BROWSE_FILTER 625  // followed by the WildCard list
#define IDS_WIZARD_BROWSE_TITLE 803
#define IDS_SHOW_NORMAL 2080
#define IDS_SHOW_MINIMIZED 2081
#define IDS_SHOW_MAXIMIZED 2082
#define IDS_SHOW_HIDDEN 2083
#define IDS_WIZARD_CAPTION 3104
#define IDS_WEB_LINK_TITLE 3120
