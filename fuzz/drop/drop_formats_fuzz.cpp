// Feeds arbitrary blocks to the readers of dropped data. The first byte picks
// the reader; the sanitizers catch any read past the block (which is copied
// into a buffer of exactly its size), and the results are checked for bounds.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "launcher/bar/drop_formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorbin;
  if (size < 1) return 0;
  const uint8_t pick = data[0];
  const std::vector<uint8_t> copy(data + 1, data + size);
  const std::span<const uint8_t> block(copy);
  const AnsiToWide ansi = [](std::string_view s) { return std::wstring(s.begin(), s.end()); };
  switch (pick % 5) {
    case 0:
      for (const std::wstring& p : parseDropFiles(block, ansi))
        if (p.empty() || p.size() > kMaxDropPathChars) __builtin_trap();
      break;
    case 1:
      for (const IdListBytes& l : parseIdListArray(block))
        if (idListSize(l) != l.size()) __builtin_trap();
      break;
    case 2:
    case 3:
      if (parseLinkDescriptors(block, pick % 5 == 2, L"cut", ansi).size() > copy.size() / 332) __builtin_trap();
      break;
    default: {
      const std::wstring text = parseDroppedText(block, pick & 0x80, ansi);
      if (text.size() > copy.size()) __builtin_trap();
      DropOffer offer;
      offer.text = text;
      for (const NewItemRequest& r : dropRequests(offer, {}))
        if (r.target.size() > kMaxDropUrlChars) __builtin_trap();
      std::vector<std::wstring> taken;
      const std::wstring name = dragFileName(text, L".lnk", L"Item", taken);
      if (name.find(L'\\') != std::wstring::npos || name.find(L'/') != std::wstring::npos) __builtin_trap();
      if (isRefusedFileName(name.substr(0, name.size() - 4))) __builtin_trap();
      break;
    }
  }
  return 0;
}
