// The program's own strings and the message boxes that show them.
#pragma once
#include <windows.h>

#include <string>

namespace backup {

// A string of this program's string table; empty when missing.
std::wstring loadString(int id);

// Asks and tells the user through message boxes owned by a window. A silent
// prompter shows nothing, and its questions are answered with OK.
class Prompter {
 public:
  Prompter(HWND owner, bool silent) : m_owner(owner), m_silent(silent) {}

  // An OK/Cancel question; true for OK.
  bool confirm(int stringId, UINT icon = 0) const;
  void tell(int stringId, UINT icon) const;
  void tellText(const std::wstring& text, UINT icon) const;

 private:
  int show(const std::wstring& text, UINT flags) const;

  HWND m_owner;
  bool m_silent;
};

}  // namespace backup
