// Ids of web-page thumbnails: the settings dialogs and the web-link page.
#pragma once

#define IDD_URL_PAGE 1544
#define IDD_THUMB_SHORT 1545
#define IDD_THUMB_FULL 1546

// Settings dialogs (the full one adds title 2049 and comment 291 of the item sheets).
#define IDC_THUMB_QUALITY 370
#define IDC_THUMB_RATIO_SLIDER 371
#define IDC_THUMB_RATIO_SPIN 363
#define IDC_THUMB_RATIO 372

// The web-link page: labels 108, 109, 328 name the title, picture and comment.
#define IDC_URL_TITLE_LABEL 108
#define IDC_URL_PICTURE_LABEL 109
#define IDC_URL_COMMENT_LABEL 328
#define IDC_URL_PICTURE 369
#define IDC_URL_CAPTURE 360

#define IDS_THUMB_NO_PICTURE 3044
#define IDS_THUMB_NO_WINDOW 3060
#define IDS_THUMB_NO_WINDOW_CAPTION 3061
