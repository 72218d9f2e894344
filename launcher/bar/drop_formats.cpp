// Reading dropped data and the choices around a drop (see drop_formats.h).
#include "launcher/bar/drop_formats.h"

#include <algorithm>
#include <cwctype>

#include "launcher/bar/item_request_rules.h"
#include "launcher/model/item_record.h"
#include "launcher/services/text_format.h"

namespace vorbin {
namespace {

uint32_t readU32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
         static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

wchar_t readWide(std::span<const uint8_t> b, size_t at) {
  return static_cast<wchar_t>(b[at] | b[at + 1] << 8);
}

// One string from `at` up to its terminator; nothing when none comes before
// `end` (the block's end). `next` gets the offset after the terminator.
std::optional<std::wstring> stringAt(std::span<const uint8_t> b, size_t at, size_t end, bool wide,
                                     const AnsiToWide& ansi, size_t& next) {
  if (wide) {
    std::wstring s;
    for (size_t i = at; i + 1 < end; i += 2) {
      const wchar_t c = readWide(b, i);
      if (c == 0) {
        next = i + 2;
        return s;
      }
      s.push_back(c);
    }
    return std::nullopt;
  }
  for (size_t i = at; i < end; ++i) {
    if (b[i] == 0) {
      next = i + 1;
      const std::string_view bytes(reinterpret_cast<const char*>(b.data() + at), i - at);
      return ansi ? ansi(bytes) : std::wstring(bytes.begin(), bytes.end());
    }
  }
  return std::nullopt;
}

std::wstring trimmed(std::wstring_view s) {
  size_t a = 0, e = s.size();
  while (a < e && std::iswspace(s[a])) ++a;
  while (e > a && std::iswspace(s[e - 1])) --e;
  return std::wstring(s.substr(a, e - a));
}

wchar_t lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return lower(x) == lower(y);
         });
}

}  // namespace

std::vector<std::wstring> parseDropFiles(std::span<const uint8_t> block, const AnsiToWide& ansi) {
  // DROPFILES: pFiles, the point (two longs), fNC, fWide.
  constexpr size_t kHeader = 20;
  std::vector<std::wstring> out;
  if (block.size() < kHeader) return out;
  const uint32_t first = readU32(block, 0);
  const bool wide = readU32(block, 16) != 0;
  if (first < kHeader || first >= block.size()) return out;
  size_t at = first;
  while (at < block.size()) {
    size_t next = at;
    std::optional<std::wstring> path = stringAt(block, at, block.size(), wide, ansi, next);
    if (!path || path->empty()) break;  // past the block, or the list's closing terminator
    if (path->size() <= kMaxDropPathChars) out.push_back(std::move(*path));
    at = next;
  }
  return out;
}

std::vector<IdListBytes> parseIdListArray(std::span<const uint8_t> block) {
  // CIDA: the count, then count + 1 offsets (the parent's first).
  std::vector<IdListBytes> out;
  if (block.size() < 8) return out;
  const uint64_t count = readU32(block, 0);
  if ((count + 2) * 4 > block.size()) return out;
  auto listAt = [&](size_t index) -> std::span<const uint8_t> {
    const uint32_t offset = readU32(block, 4 + index * 4);
    if (offset >= block.size()) return {};
    std::span<const uint8_t> rest = block.subspan(offset);
    const size_t size = idListSize(rest);
    return size == 0 ? std::span<const uint8_t>{} : rest.first(size);
  };
  const std::span<const uint8_t> parent = listAt(0);
  if (parent.empty()) return out;
  for (size_t i = 1; i <= count; ++i) {
    const std::span<const uint8_t> child = listAt(i);
    if (child.empty()) continue;
    IdListBytes joined = idListAppend(parent, child);
    if (!joined.empty()) out.push_back(std::move(joined));
  }
  return out;
}

bool idListArrayIsWhole(std::span<const uint8_t> block) {
  if (block.size() < 8) return false;
  const uint64_t count = readU32(block, 0);
  if (count == 0 || (count + 2) * 4 > block.size()) return false;
  for (size_t i = 0; i <= count; ++i) {
    const uint32_t offset = readU32(block, 4 + i * 4);
    if (offset >= block.size() || idListSize(block.subspan(offset)) == 0) return false;
  }
  return true;
}

std::wstring linkTitle(std::wstring_view fileName, std::wstring_view cutText) {
  std::wstring title = withoutExtension(fileName);
  if (!cutText.empty()) {
    const size_t at = title.find(cutText);
    if (at == 0)
      title.erase(0, cutText.size());
    else if (at != std::wstring::npos)
      title.resize(at);
  }
  return trimmed(title);
}

std::vector<std::wstring> parseLinkDescriptors(std::span<const uint8_t> block, bool wide, std::wstring_view cutText,
                                               const AnsiToWide& ansi) {
  constexpr size_t kNameAt = 72;  // flags, class, size, point, attributes, three times, file size
  constexpr size_t kNameChars = 260;
  const size_t descriptor = kNameAt + kNameChars * (wide ? 2 : 1);
  std::vector<std::wstring> out;
  if (block.size() < 4) return out;
  const uint64_t count = readU32(block, 0);
  if (count > (block.size() - 4) / descriptor) return out;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = 4 + i * descriptor;
    if ((readU32(block, at) & kDescriptorLink) == 0) continue;
    size_t next = 0;
    std::optional<std::wstring> name =
        stringAt(block, at + kNameAt, at + descriptor, wide, ansi, next);
    if (!name || name->empty()) continue;
    out.push_back(linkTitle(*name, cutText));
  }
  return out;
}

std::wstring parseDroppedText(std::span<const uint8_t> block, bool wide, const AnsiToWide& ansi) {
  size_t end = 0;
  if (wide) {
    std::wstring s;
    for (size_t i = 0; i + 1 < block.size(); i += 2) {
      const wchar_t c = readWide(block, i);
      if (c == 0) break;
      s.push_back(c);
    }
    return trimmed(s);
  }
  while (end < block.size() && block[end] != 0) ++end;
  const std::string_view bytes(reinterpret_cast<const char*>(block.data()), end);
  return trimmed(ansi ? ansi(bytes) : std::wstring(bytes.begin(), bytes.end()));
}

std::vector<NewItemRequest> dropRequests(const DropOffer& offer, const DropFacts& facts) {
  std::vector<NewItemRequest> out;
  if (offer.files) {
    for (const std::wstring& path : *offer.files) {
      if (path.empty() || path.size() > kMaxDropPathChars) continue;
      NewItemRequest r;
      r.target = path;
      r.flags = facts.isFolder && facts.isFolder(path) ? kItemFolder : 0;
      out.push_back(std::move(r));
    }
    return out;
  }
  if (offer.idLists) {
    for (const IdListBytes& list : *offer.idLists) {
      if (idListSize(list) == 0) continue;
      NewItemRequest r;
      r.idList = list;
      r.flags = kItemIdList | (facts.idListIsFolder && facts.idListIsFolder(list) ? kItemFolder : 0);
      out.push_back(std::move(r));
    }
    return out;
  }
  const bool webText = offer.text && !offer.text->empty() && offer.text->size() <= kMaxDropUrlChars;
  if (offer.links) {
    if (!webText) return out;
    for (const std::wstring& title : *offer.links) {
      NewItemRequest r;
      r.flags = kItemUrl;
      r.target = *offer.text;
      r.title = title;
      out.push_back(std::move(r));
    }
    return out;
  }
  if (webText) {
    NewItemRequest r;
    r.flags = kItemUrl;
    r.target = *offer.text;
    out.push_back(std::move(r));
  }
  return out;
}

bool onlyWebAddresses(const std::vector<NewItemRequest>& requests) {
  return !requests.empty() &&
         std::all_of(requests.begin(), requests.end(), [](const NewItemRequest& r) { return r.flags & kItemUrl; });
}

std::optional<uint32_t> outsideDragEffect(const DropPlace& place, uint32_t allowed) {
  const bool button = place.area == 2 || place.area == 3;
  if (button && place.occupied && (place.handsToShell || (place.keys & kDragKeyRight))) return std::nullopt;
  // Anywhere else on the bar the drop makes buttons.
  if (place.area > 0) {
    if (allowed & kEffectCopy) return kEffectCopy;
    if (allowed & kEffectLink) return kEffectLink;
  }
  return kEffectNone;
}

bool dropGoesToShell(const DropPlace& place, bool onlyWeb) {
  const bool button = place.area == 2 || place.area == 3;
  return button && place.occupied && !onlyWeb && (place.handsToShell || (place.keys & kDragKeyRight));
}

QueuedDropPlan planQueuedDrop(int hitArea, bool occupied, int tabGroup, bool rightButton, size_t requests) {
  QueuedDropPlan plan;
  if (requests == 0) return plan;
  if (hitArea == 1) {
    // A tab: that group becomes the active one and takes the requests at its free slots.
    plan.selectGroup = tabGroup;
    plan.kind = QueuedDropKind::kAddAtFreeSlots;
    return plan;
  }
  if (hitArea == 2 || hitArea == 3) {
    if (!occupied || rightButton) {
      plan.kind = requests == 1 ? QueuedDropKind::kAddAtSlot : QueuedDropKind::kAddAtFreeSlots;
      plan.askReplace = requests == 1 && occupied;
    } else {
      plan.kind = QueuedDropKind::kStartWithEach;
    }
    return plan;
  }
  plan.kind = QueuedDropKind::kElsewhere;
  return plan;
}

bool isRefusedFileName(std::wstring_view name) {
  const std::wstring t = trimmed(name);
  if (t.empty()) return true;
  if (std::all_of(t.begin(), t.end(), [](wchar_t c) { return c == L'.'; })) return true;
  // A device name stays a device with any extension ("CON.txt"), and with
  // blanks before the dot.
  std::wstring stem = t.substr(0, t.find(L'.'));
  while (!stem.empty() && (stem.back() == L' ')) stem.pop_back();
  static constexpr std::wstring_view kDevices[] = {L"con", L"prn", L"aux", L"nul", L"conin$", L"conout$"};
  for (std::wstring_view d : kDevices)
    if (equalNoCase(stem, d)) return true;
  if (stem.size() == 4 && (equalNoCase(stem.substr(0, 3), L"com") || equalNoCase(stem.substr(0, 3), L"lpt")) &&
      stem[3] >= L'0' && stem[3] <= L'9')
    return true;
  return false;
}

std::wstring dragFileName(std::wstring_view title, std::wstring_view extension, std::wstring_view fallback,
                          std::vector<std::wstring>& taken) {
  // Separators become look-alikes, so no title reaches another folder.
  std::wstring base = trimmed(safeFileName(title));
  for (wchar_t& c : base)
    if (c < 0x20) c = L'_';
  // The name stays well inside a path buffer with the temporary folder before it.
  constexpr size_t kMaxStem = 120;
  if (base.size() > kMaxStem) base.resize(kMaxStem);
  // Trailing dots and blanks vanish from file names (also where the cut
  // fell): keep them out of sight of the de-duplication too.
  while (!base.empty() && (base.back() == L'.' || base.back() == L' ')) base.pop_back();
  if (isRefusedFileName(base)) base = fallback;
  std::wstring name = base + std::wstring(extension);
  for (int n = 2; std::any_of(taken.begin(), taken.end(), [&](const std::wstring& t) { return equalNoCase(t, name); });
       ++n)
    name = base + L" (" + std::to_wstring(n) + L")" + std::wstring(extension);
  taken.push_back(name);
  return name;
}

bool moveOutDeletes(uint32_t effect, bool rightButtonDrag) { return effect == kEffectMove && !rightButtonDrag; }

}  // namespace vorbin
