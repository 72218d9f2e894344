// A tokenizer over one list at a time.
#include "launcher/services/tokenizer.h"

#include <cwchar>

#include "launcher/services/text_chars.h"

namespace vorbin {

void Tokenizer::reset(std::wstring_view text) {
  m_text.assign(text);
  m_pos = 0;
}

std::optional<std::wstring> Tokenizer::next(const wchar_t* delimiters) {
  const size_t size = m_text.size();
  if (m_pos >= size) return std::nullopt;
  if (delimiters == nullptr) {
    std::wstring rest = m_text.substr(m_pos);
    m_pos = size;
    return rest;
  }
  if (*delimiters == L'\0') {
    size_t end = m_text.find(L'\0', m_pos);
    if (end == std::wstring::npos) end = size;
    std::wstring item = m_text.substr(m_pos, end - m_pos);
    m_pos = end + 1;
    return item;
  }
  while (m_pos < size && isSpaceOrTab(m_text[m_pos])) ++m_pos;
  if (m_pos >= size) return std::nullopt;

  const bool lineMode = delimiters[0] == L'\n' && delimiters[1] == L'\0';
  if (m_text[m_pos] == L'"' && !lineMode) {
    size_t close = m_text.find(L'"', m_pos + 1);
    if (close == std::wstring::npos) close = size;
    std::wstring token = m_text.substr(m_pos + 1, close - m_pos - 1);
    m_pos = close < size ? close + 1 : size;
    // The delimiter after the closing quote belongs to this token.
    if (m_pos < size && std::wcschr(delimiters, m_text[m_pos]) != nullptr && m_text[m_pos] != L'\0') ++m_pos;
    return token;
  }
  size_t end = m_pos;
  while (end < size && m_text[end] != L'\0' && std::wcschr(delimiters, m_text[end]) == nullptr) ++end;
  std::wstring token = m_text.substr(m_pos, end - m_pos);
  m_pos = end < size ? end + 1 : size;
  return token;
}

std::optional<std::wstring> nextToken(std::optional<std::wstring_view> text, const wchar_t* delimiters) {
  static Tokenizer tokenizer;
  if (text) tokenizer.reset(*text);
  return tokenizer.next(delimiters);
}

}  // namespace vorbin
