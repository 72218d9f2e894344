// Driving the running launcher from a test: its first-run questions, the
// texts of its language libraries, the bar hot key and window states.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/e2e.h"

namespace driver {

// A message box or dialog of the process (class #32770), or null.
HWND findDialog(DWORD pid);
// A visible property sheet of the process (a dialog with a current page), or null.
HWND findSheet(DWORD pid);
// The text of the dialog's message (its longest static text).
std::wstring dialogMessage(HWND dialog);
std::wstring windowText(HWND window);
// Waits for a dialog of the process and presses the button; its message, or
// nothing when no dialog came.
std::optional<std::wstring> answerDialog(DWORD pid, int button, DWORD timeoutMs = 8000);
// The string id of both language libraries (English first).
std::vector<std::wstring> libraryStrings(unsigned id);
// The four first-run questions answered with Cancel; false when one is missing.
bool cancelFirstRunQuestions(DWORD pid);
// Starts the launcher on the profile as it is, answers whatever questions
// come with Cancel and puts its shown bar above every window; the bar, or
// null when it did not appear or show.
HWND startBarInFront(e2e::Process& launcher);

// Puts the pointer at the screen point (waiting until the system reports it
// there) and sends the button's down and up events.
void clickAt(POINT at, DWORD down, DWORD up);
// Presses and releases a key.
void tapKey(WORD key);

// Presses and releases the default bar hot key, Ctrl+Alt+Shift+K.
void pressBarHotKey();
// Makes the window the foreground window; false when the system refused.
bool bringToFront(HWND window);
bool shown(HWND bar);
bool hidden(HWND bar);

// A visible window of the test itself, to take the activation from the bar.
class TestWindow {
 public:
  TestWindow(int x, int y, int width, int height);
  ~TestWindow();
  HWND hwnd() const { return m_hwnd; }

 private:
  HWND m_hwnd = nullptr;
};

}  // namespace driver
