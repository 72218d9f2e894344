// Ids of the context menus, the bar menu and the texts they use.
#pragma once

// Menus (sub-menu 0 is the one shown)
#define IDM_BAR_MENU 239     // the bar menu: system-command ids
#define IDM_BUTTON_MENU 254  // a button's menu
#define IDM_TAB_MENU 256     // a group tab's menu
#define IDM_TASK_MENU 257    // a task entry's menu
#define IDM_HELP_MENU 295    // the HELP key's menu

// Deleting buttons and groups
#define IDS_DELETE_ONE 336      // "%s": the button's or group's title
#define IDS_DELETE_CAPTION 337
#define IDS_DELETE_MANY 338     // "%d": how many buttons
// Ctrl+right-click found nothing to show the properties of
#define IDS_NO_PROPERTIES 672
// The shutdown privilege was refused
#define IDS_NO_SHUTDOWN_PRIVILEGE 1002
// The properties entry of an empty slot
#define IDS_NEW_ITEM_ENTRY 3012
// The thumbnail entry of web-link buttons
#define IDS_THUMBNAIL_ENTRY 3072
// "Start with...": the document picker's title ("%s": the button's title) and filter
#define IDS_START_WITH_TITLE 3074
#define IDS_START_WITH_FILTER 3075
