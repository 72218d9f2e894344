// Feeds arbitrary text to the ".url" reader and the ".lnk" description reader
// and checks that what they return stays within their limits and, for the
// ".url" fields, survives being written and read again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "launcher/dialogs/item_sheet_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));

  const auto parts = vorbin::decodeShortcutDescription(text);
  if (parts.command.size() + parts.comment.size() > vorbin::kMaxDescriptionChars) __builtin_trap();
  if (!parts.tagged && parts.comment != text.substr(0, vorbin::kMaxDescriptionChars)) __builtin_trap();

  const auto fields = vorbin::parseUrlShortcut(text);
  if (!fields) return 0;
  if (fields->url.empty() || fields->url.size() > vorbin::kMaxUrlFieldChars) __builtin_trap();
  // Fields without line breaks are written and read back unchanged.
  if (fields->url.find_first_of(L"\r\n") != std::wstring::npos ||
      fields->iconFile.find_first_of(L"\r\n") != std::wstring::npos)
    __builtin_trap();
  const auto again = vorbin::parseUrlShortcut(vorbin::urlShortcutText(*fields));
  if (!again || !vorbin::urlFieldsToRepair(*fields, again).empty()) __builtin_trap();
  return 0;
}
