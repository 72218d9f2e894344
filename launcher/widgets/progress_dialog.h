// The small modeless progress dialog (template 219) shown while many files are
// scanned: it disables its owner while it exists and offers Cancel.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace vorbin {

class CProgressDialogWindow;

class ProgressDialog {
 public:
  ProgressDialog(HINSTANCE resources = nullptr);
  ~ProgressDialog();  // destroys the window and enables the owner again
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  // Creates the window with the caption string captionId; false when it could not.
  bool open(HWND owner, UINT captionId);
  // A line of progress text (the file being looked at, for instance).
  void setText(const std::wstring& text);
  // Handles every pending message of this thread (so Cancel can be pressed),
  // then says whether the user cancelled. Call it between steps.
  bool cancelled();
  void close();

 private:
  std::unique_ptr<CProgressDialogWindow> m_window;
  HWND m_owner = nullptr;
  bool m_ownerWasEnabled = false;
};

}  // namespace vorbin
