// Message boxes with the language library's texts and one caption rule.
#include "launcher/widgets/user_message.h"

#include <string>

#include "framework/trace.h"
#include "launcher/resources/product_name.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/text_format.h"

namespace vorbin {

namespace {

int show(HWND owner, const std::wstring& text, const std::wstring& caption, bool libraryLoaded, UINT flags) {
  // A null caption lets the system put its own "Error".
  const wchar_t* shownCaption = !caption.empty() ? caption.c_str() : libraryLoaded ? kProductName : nullptr;
  const int answer = MessageBoxW(owner, text.c_str(), shownCaption, flags);
  if (answer == 0) FW_TRACE_FAILURE("MessageBoxW");
  return answer;
}

}  // namespace

int showMessage(HWND owner, const UserMessage& message, UINT flags) {
  void* library = message.library ? message.library : resourceModule();
  std::wstring text = resourceStringFrom(library, message.text, kLongString);
  if (text.empty()) {
    text = message.insert ? std::wstring(*message.insert) : std::wstring(kProductName);
  } else {
    if (message.insert) text = substituteName(text, *message.insert);
    if (message.count) text = substituteCount(text, *message.count);
  }
  const std::wstring caption =
      message.caption ? resourceStringFrom(library, message.caption, kLongString) : L"";
  return show(owner, text, caption, library != nullptr, flags);
}

int showMessage(HWND owner, std::wstring_view text, UINT flags) {
  return show(owner, std::wstring(text), L"", resourceModule() != nullptr, flags);
}

}  // namespace vorbin
