// Ids of the bar's tool tips.
#pragma once
#define IDS_TIP_MAXIMIZE 816   // caption box 0 while the bar is not maximized
#define IDS_TIP_RESTORE 817    // caption box 0 while it is
#define IDS_TIP_CLOSE_BAR 818  // caption box 1
// The program line of a task's tip: "%s" the program's path, a second "%s"
// the window details of the help popup (empty in the tip).
#define IDS_TASK_PROGRAM 1053
#define IDS_TIP_MODE_BUTTON 3216  // + mode button 0..6
#define IDS_TIP_LIST_SCROLL 3232  // + arrow 1 (up) or 2 (down)
