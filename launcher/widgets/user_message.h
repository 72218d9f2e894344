// The one way the launcher tells or asks the user something: a message box
// whose texts come from the language library.
//
// Caption rule: the string the message names as its caption, when the library
// holds it; otherwise the product name. While no language library is loaded
// (only the few built-in texts can be said then) the caption is left to the
// system, which shows its own "Error" in the system's language.
#pragma once
#include <windows.h>

#include <optional>
#include <string_view>

namespace vorbin {

struct UserMessage {
  unsigned text = 0;                        // string id of the text (resource_ids.h)
  unsigned caption = 0;                     // string id of the caption; 0: the product name
  std::optional<std::wstring_view> insert;  // put literally in place of the text's first "%s"
  std::optional<int> count;                 // put in place of the text's first "%d" (or added as " (n)")
  HINSTANCE library = nullptr;              // where the strings are; null: the loaded language library
};

// Shows the message modally over owner (which may be null) with MessageBox
// flags (buttons, icon, default button) and returns the button pressed
// (IDOK, IDCANCEL, IDYES, ...), or 0 when no box could be made. A text
// missing from the library shows the inserted text, else the product name.
int showMessage(HWND owner, const UserMessage& message, UINT flags);

// A text the program makes itself (the about line; what is said when no
// language library can be loaded), under the same caption rule.
int showMessage(HWND owner, std::wstring_view text, UINT flags);

}  // namespace vorbin
