// Strings and message boxes of the backup tool.
#include "backup/messages.h"

#include "framework/trace.h"

namespace backup {

std::wstring loadString(int id) {
  const wchar_t* text = nullptr;
  // With a zero length the call hands out the resource itself, whatever its size.
  int length =
      LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) {
    FW_TRACE_FAILURE("LoadStringW");
    return {};
  }
  return std::wstring(text, static_cast<size_t>(length));
}

bool Prompter::confirm(int stringId, UINT icon) const {
  if (m_silent) return true;
  return show(loadString(stringId), MB_OKCANCEL | icon) == IDOK;
}

void Prompter::tell(int stringId, UINT icon) const { tellText(loadString(stringId), icon); }

void Prompter::tellText(const std::wstring& text, UINT icon) const {
  if (!m_silent) show(text, MB_OK | icon);
}

int Prompter::show(const std::wstring& text, UINT flags) const {
  // The owner's caption names the program in its own language.
  wchar_t caption[128] = L"VorbinBR";
  if (m_owner) GetWindowTextW(m_owner, caption, 128);
  int answer = MessageBoxW(m_owner, text.c_str(), caption, flags);
  if (answer == 0) FW_TRACE_FAILURE("MessageBoxW");
  return answer;
}

}  // namespace backup
