// A tokenizer over one list at a time: quoted tokens, delimiter sets, and
// NUL-separated items, as the launcher's command and pattern lists use them.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace vorbin {

class Tokenizer {
 public:
  // Starts a new list; the text is copied.
  void reset(std::wstring_view text);
  // The next token, or nothing when the list is used up.
  //  delimiters == nullptr: the remaining text;
  //  delimiters == L"": the rest of the current NUL-terminated item;
  //  otherwise: blanks skipped, a double-quoted token (unless the delimiter
  //  is a line feed) without its quotes, else the text up to the first
  //  delimiter character.
  std::optional<std::wstring> next(const wchar_t* delimiters);

 private:
  std::wstring m_text;
  size_t m_pos = 0;
};

// The process-wide tokenizer: a text starts a new list, nothing continues
// the current one.
std::optional<std::wstring> nextToken(std::optional<std::wstring_view> text, const wchar_t* delimiters);

}  // namespace vorbin
