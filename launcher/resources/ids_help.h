// Ids of the help popup, window details and the tips of the day.
#pragma once

// The help popup: a borderless note; its context menu copies the text.
#define IDD_HELP_POPUP 126
#define IDM_HELP_POPUP 238
#define IDC_HELP_COPY 32792

// Help texts: OK, Cancel and the text for anything else.
#define IDS_HELP_OK 16
#define IDS_HELP_CANCEL 32
#define IDS_HELP_DEFAULT 55

// Window details: the heading, the show states, topmost and the path of an
// unknown program; the whole report is the task tip's program line (1053)
// with the details as its second "%s".
#define IDS_DETAILS_HEADING 54
#define IDS_DETAILS_UNKNOWN_PROGRAM 1000
#define IDS_DETAILS_NORMAL 1048
#define IDS_DETAILS_MINIMIZED 1049
#define IDS_DETAILS_MAXIMIZED 1050
#define IDS_DETAILS_OTHER 1051
#define IDS_DETAILS_TOPMOST 1052

// The tip of the day
#define IDD_TIPS 148
#define IDC_TIPS_AT_STARTUP 1001
#define IDC_TIPS_NEXT 1002
#define IDC_TIPS_TEXT 1004
#define IDC_TIPS_PAGE 200    // the white page
#define IDC_TIPS_BAND 359    // the coloured band at its left
#define IDC_TIPS_HEADING 312 // the icon's place and the heading's height
#define IDS_TIPS_HEADING 640
#define IDS_TIPS_NONE 641
