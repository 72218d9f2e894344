// Ids of the appearance page and skins.
#pragma once
#include "ids_options.h"

// Dialogs
#define IDD_APPEARANCE 135
#define IDD_SKIN_NAME 362
// The system's font dialog laid out for both languages
#define IDD_FONT_CHOOSER 1543

// Controls of the appearance page
#define IDC_APP_ONE_PICTURE 312
#define IDC_APP_SAVE_SKIN 313
#define IDC_APP_DELETE_SKIN 314
#define IDC_APP_ENTRY 315
#define IDC_APP_COLOR 316
#define IDC_APP_NUMBER 317
#define IDC_APP_NUMBER_SPIN 318
#define IDC_APP_ELLIPSE 319
#define IDC_APP_ELLIPSE_SPIN 320
#define IDC_APP_PICTURE 323
#define IDC_APP_FONT 353
#define IDC_APP_REMOVE_PICTURE 360
#define IDC_APP_SKINS 380
#define IDC_APP_COLOR_LABEL 384
#define IDC_APP_PICTURE_LABEL 385
#define IDC_APP_FONT_LINE 400
#define IDC_APP_NUMBER_LABEL 227
#define IDC_APP_ELLIPSE_LABEL 228
#define IDC_APP_PREVIEW 1350
// The name dialog's edit
#define IDC_SKIN_NAME_EDIT 385
// The font dialog's own line under the system's controls (which keep the
// ids the system gives them)
#define IDC_FONT_SIZE_NOTE 1544

// Strings
// The skin messages carry the options sheet's caption (defined with the sheet).
#define IDS_SKIN_CAPTION IDS_OPTIONS_CAPTION
#define IDS_STANDARD_FONT 2096
#define IDS_PICTURE_TITLE 3152
#define IDS_PICTURE_FILTER 3153
#define IDS_WEIGHT_LABEL 3168
#define IDS_STRENGTH_LABEL 3169
#define IDS_DELETE_SKIN_QUERY 3184
#define IDS_NO_SKIN_CHOSEN 3185
#define IDS_SKIN_NAME_REFUSED 3186
#define IDS_APPEARANCE_ENTRY_FIRST 5000
