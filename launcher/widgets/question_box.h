// A question with OK and Cancel (template 112 of the resource library): the
// question icon, the text wrapped to the box's width and the box grown to
// hold it. Lighter than the system's message box, which builds and hides
// ten buttons each time, and its buttons speak the launcher's language.
#pragma once
#include <windows.h>

#include <string>

#include "framework/dialog.h"

namespace vorbin {

class CQuestionBox : public fw::CMappedDialog<CQuestionBox> {
 public:
  CQuestionBox(std::wstring caption, std::wstring question);
  // IDOK or IDCANCEL (also when the box could not be made).
  int ask(HWND owner);

 protected:
  bool onInitDialog() override;

 private:
  // Grows the text to the height its lines take and moves the buttons below it.
  void fitText();

  std::wstring m_caption;
  std::wstring m_question;
};

}  // namespace vorbin
