// The decisions of adding a button from a request and of deleting a group.
#include "launcher/bar/item_request_rules.h"

#include <algorithm>

#include "launcher/dialogs/skin_rules.h"
#include "launcher/model/settings.h"
#include "launcher/model/value_text.h"

namespace vorbin {
namespace {

size_t nameStart(std::wstring_view path) {
  const size_t cut = path.find_last_of(L"\\/:");
  return cut == std::wstring_view::npos ? 0 : cut + 1;
}

wchar_t lowerAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

}  // namespace

bool isProgramRequest(uint32_t flags) {
  return (flags & (kItemUrl | kItemPrompt | kItemFolder | kItemIdList)) == 0;
}

std::optional<int> requestSlot(const Group& group, int requested) {
  int slot = requested;
  if (slot < 0) {
    slot = 0;
    while (static_cast<size_t>(slot) < group.items.size() && group.items[slot]) ++slot;
  }
  if (slot >= kMaxItemSlots) return std::nullopt;
  return slot;
}

std::wstring withoutExtension(std::wstring_view name) {
  const size_t dot = name.rfind(L'.');
  if (dot == std::wstring_view::npos || dot < nameStart(name) || dot == 0) return std::wstring(name);
  return std::wstring(name.substr(0, dot));
}

std::wstring titleFromPath(std::wstring_view path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.remove_suffix(1);
  return withoutExtension(path.substr(nameStart(path)));
}

std::wstring folderOfPath(std::wstring_view path) {
  const size_t start = nameStart(path);
  if (start == 0) return {};
  std::wstring_view folder = path.substr(0, start);
  // "C:\" and "C:" stay as they are; "C:\Tools\" loses the backslash.
  if (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/') &&
      folder[folder.size() - 2] != L':')
    folder.remove_suffix(1);
  return std::wstring(folder);
}

RequestTexts requestItemTexts(const RequestFacts& facts) {
  RequestTexts out;
  const uint32_t f = facts.flags;
  const bool web = (f & kItemUrl) != 0;
  const bool idList = (f & kItemIdList) != 0;
  const bool shellNamed = (f & (kItemIdList | kItemFolder | kItemPrompt)) != 0;
  const std::wstring& named = facts.program.empty() ? facts.target : facts.program;

  out.title = facts.title;
  if (web) {
    out.title = withoutExtension(facts.title);
    if (out.title.empty()) out.title = facts.target;  // a button needs a name to be filed under
  } else if (out.title.empty()) {
    out.title = shellNamed && !facts.displayName.empty() ? facts.displayName : titleFromPath(named);
  }

  if ((f & (kItemFolder | kItemPrompt)) && !idList) {
    out.keepTarget = false;
    out.folder = facts.target;
    out.iconSource = (f & kItemPrompt) == 0;
  } else if (!facts.folder.empty()) {
    out.folder = facts.folder;
  } else if (idList) {
    if (facts.argumentsSplit) out.folder = folderOfPath(facts.program);
  } else if (!web) {
    out.folder = folderOfPath(named);
  }
  return out;
}

uint32_t showBitsFromShowCommand(int showCommand) {
  switch (showCommand) {
    case 2:  // minimized
    case 6:  // minimize
    case 7:  // minimized without activation
      return 1;
    case 3:  // maximized
      return 2;
    default:
      return 0;
  }
}

uint32_t addRequestFlags(uint32_t value) {
  return (value & (kItemUrl | kItemIdList)) | ((value & 2) ? kItemFolder : 0);
}

bool pictureFileDeletable(std::wstring_view file, std::wstring_view dataFolder) {
  if (dataFolder.empty() || file.size() <= dataFolder.size() + 4) return false;
  if (!equalNoCase(file.substr(0, dataFolder.size()), dataFolder)) return false;
  std::wstring_view name = file.substr(dataFolder.size());
  if (name.find_first_of(L"\\/:") != std::wstring_view::npos || name.find(L"..") != std::wstring_view::npos)
    return false;
  return equalNoCase(name.substr(name.size() - 4), L".jpg");
}

std::wstring deletablePicturePath(std::wstring_view named, std::wstring_view dataFolder) {
  std::wstring path = isBarePictureName(named) ? std::wstring(dataFolder) + std::wstring(named) : std::wstring(named);
  return pictureFileDeletable(path, dataFolder) ? path : std::wstring();
}

int activeAfterRemoval(int active, int removed, int placeholderAfter) {
  if (removed < active) --active;
  return std::clamp(active, 1, std::max(1, placeholderAfter - 1));
}

bool removeGroup(GroupTable& table, int index) {
  if (!groupDeletable(table, index)) return false;
  const int active = table.activeGroup;
  const int offset = table.dispGroupOffset;
  std::vector<uint32_t> sections;
  for (size_t i = 0; i < table.placeholderIndex(); ++i)
    if (static_cast<int>(i) != index) sections.push_back(table[i].sectionNumber);
  // What only memory holds is written first: the table is read back below.
  table.saveGroupOffsets();
  table.saveGroupHeader(index, false);
  table.profile().setString(kSettingsSection, L"Order", formatOrder(sections));
  table.loadGroups();
  const int placeholder = static_cast<int>(table.placeholderIndex());
  table.activeGroup = activeAfterRemoval(active, index, placeholder);
  table.dispGroupOffset = std::clamp(offset, 0, placeholder);
  return true;
}

std::optional<std::wstring> pictureKey(uint32_t flags, std::wstring_view iconFile, int iconIndex,
                                       std::wstring_view path) {
  if (flags & (kItemUrl | kItemIdList)) return std::nullopt;
  if (path.empty() && iconFile.empty()) return std::nullopt;
  // The icon file's length is part of the key: any text may come as a
  // file name, so no separator alone keeps two requests apart.
  return std::to_wstring(flags) + L':' + std::to_wstring(iconIndex) + L':' + std::to_wstring(iconFile.size()) +
         L':' + std::wstring(iconFile) + std::wstring(path);
}

std::optional<SlotPlace> findItemByIdentity(const GroupTable& table, SlotPlace hint, uint64_t identity) {
  if (const Item* at = table.item(hint.group, hint.slot); at && at->identity.value() == identity) return hint;
  for (size_t g = 0; g < table.size(); ++g) {
    const auto& items = table[g].items;
    for (size_t slot = 0; slot < items.size(); ++slot)
      if (items[slot] && items[slot]->identity.value() == identity)
        return SlotPlace{static_cast<int>(g), static_cast<int>(slot)};
  }
  return std::nullopt;
}

}  // namespace vorbin
