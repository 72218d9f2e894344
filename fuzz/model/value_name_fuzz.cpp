// Fuzzes the names and texts of profile values: item value names and the
// text forms of settings, whose results must stay inside their bounds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "launcher/model/item_record.h"
#include "launcher/model/profile.h"
#include "launcher/model/value_text.h"

namespace {

void check(bool condition) {
  if (!condition) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorbin;
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  const std::wstring text = wideFromUtf16(units);

  if (auto name = parseValueName(text)) {
    check(name->slot >= 0 && name->slot < kMaxItemSlots);
    check(text.compare(0, name->title.size(), name->title) == 0 && text[name->title.size()] == L',');
    auto again = parseValueName(itemValueName(name->title, name->slot));
    check(again && again->title == name->title && again->slot == name->slot);
  } else {
    check(text.find(L',') == std::wstring::npos ||
          leadingInt(text.substr(text.rfind(L',') + 1)) > kMaxItemSlots);
  }

  for (uint32_t n : parseOrder(text, 1000)) check(n > 0 && n <= 0x7FFFFFFF);
  for (int m : parseModeButtons(text)) check(m >= 0 && m <= 4);
  unsigned mask = parseActivationLetters(text);
  check(mask != 0 && mask < 32);
  ColorValue fallback{1, 2, 3, 50};
  ColorValue c = parseColor(text, fallback);
  check(c.strength == 50 || (c.strength >= -100 && c.strength <= 100));
  FolderValue f = parseFolderValue(text, L"C:\\", true);
  check(f.numbers[0] >= 1 && f.numbers[1] == 0 && !f.path.empty());
  check(parseFolderValue(formatFolderValue(f, true), L"C:\\", true).numbers == f.numbers);
  (void)parseBool(text);
  return 0;
}
