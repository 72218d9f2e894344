// The help popup: a small note with a shadow that explains a bar area or a
// dialog's control, or reports on a task's window, and closes at the next
// click or key. One popup at a time.
#pragma once
#include <windows.h>

namespace vorbin {

// Help for element of context (a bar area, or a control of the dialog
// template context) near anchor (screen; null: the pointer). Asking again
// for the open pair leaves the popup as it is.
void showHelpPopup(int context, int element, const POINT* anchor, HWND parent);
// Help for the focused control of the active dialog (a sheet answers for its
// active page); false when the focus is on no dialog's control.
bool showFocusHelp();
// Help for the control id of the active window, asked for at a point.
void showActiveWindowHelp(int controlId, POINT at);
// The details of a window and its program; a window that is gone shows nothing.
void showWindowDetails(HWND window, HWND parent);
void closeHelpPopup();
// The open popup, or null.
HWND helpPopupWindow();

}  // namespace vorbin
