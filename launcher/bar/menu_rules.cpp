// The bar's context menus without windows: entries by item kind, the
// commands' flag and size rules, and closing up a group safely.
#include "launcher/bar/menu_rules.h"

#include <algorithm>
#include <set>

#include "launcher/bar/item_request_rules.h"
#include "launcher/services/text_chars.h"

namespace vorbin {

using namespace menu_cmd;

namespace {

void removeRange(std::vector<int>& out, int first, int last) {
  for (int id = first; id <= last; ++id) out.push_back(id);
}

void checkFont(MenuPlan& plan, int fontSize) {
  if (const auto id = fontCommandOfSize(fontSize)) plan.checked.push_back(*id);
}

std::wstring folded(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = foldAscii(c);
  return out;
}

}  // namespace

ItemKind itemKind(const Item* item) {
  if (!item) return ItemKind::kEmpty;
  if (item->flags & kItemIdList) return ItemKind::kIdList;
  if (item->flags & kItemUrl) return ItemKind::kUrl;
  if (item->flags & (kItemPrompt | kItemFolder)) return ItemKind::kFolder;
  return ItemKind::kFile;
}

MenuPlan buttonMenuPlan(const ButtonMenuFacts& f) {
  MenuPlan plan;
  checkFont(plan, f.fontSize);
  if (f.buttonMode >= 0 && f.buttonMode <= kButtonModeLast - kButtonModeFirst)
    plan.checked.push_back(kButtonModeFirst + f.buttonMode);
  if (f.kind == ItemKind::kEmpty) {
    // Nothing to act on but the slot itself: its properties make a new item.
    plan.newItemText = true;
    plan.grayed.push_back(kDelete);
    for (int id : {kShellMenu, kStart, kOpenExplorer, kOpenRoot, kSearch, kStartWith, kStartItem})
      plan.remove.push_back(id);
    return plan;
  }
  const bool single = f.selectedCount <= 1;
  plan.shellMenu = single && !f.path.empty() && (f.kind == ItemKind::kFile || f.kind == ItemKind::kFolder);
  if (!plan.shellMenu) plan.remove.push_back(kShellMenu);
  plan.webShortcutCommands = single && isWebShortcutPath(f.path);
  plan.thumbnail = single && (f.kind == ItemKind::kUrl || plan.webShortcutCommands);
  // "Start" stays only for web links without a shortcut file of their own;
  // with one, the shortcut's own commands take its place.
  if (f.kind != ItemKind::kUrl && !plan.webShortcutCommands) plan.remove.push_back(kStart);
  if (f.kind == ItemKind::kFolder) {
    const bool explorer = f.flags & kItemExplorer, rootOrFind = f.flags & kItemRootOrFind;
    if (explorer) plan.checked.push_back(kOpenExplorer);
    if (explorer && rootOrFind) plan.checked.push_back(kOpenRoot);
    if (!explorer) plan.grayed.push_back(kOpenRoot);
    if (rootOrFind && !explorer) plan.checked.push_back(kSearch);
  } else {
    removeRange(plan.remove, kOpenExplorer, kSearch);
  }
  // Starting with other parameters asks about a program's file; several
  // buttons start together with the plain start.
  if (f.kind != ItemKind::kFile || !single) plan.remove.push_back(kStartWith);
  if (!single) plan.remove.push_back(kStartItem);
  return plan;
}

MenuPlan tabMenuPlan(const TabMenuFacts& f) {
  MenuPlan plan;
  checkFont(plan, f.fontSize);
  if (!f.deletable) plan.grayed.push_back(kDelete);
  if (f.groupDispMode >= 0 && f.groupDispMode <= kGroupDispLast - kGroupDispFirst)
    plan.checked.push_back(kGroupDispFirst + f.groupDispMode);
  return plan;
}

MenuPlan taskMenuPlan(const TaskMenuFacts& f) {
  MenuPlan plan;
  checkFont(plan, f.fontSize);
  plan.shellMenu = f.programKnown;
  if (!f.programKnown) {
    plan.remove.push_back(kShellMenu);
    plan.grayed.push_back(kStart);
  }
  return plan;
}

std::optional<int> fontSizeOfCommand(int command) {
  if (command < kFontFirst || command > kFontLast) return std::nullopt;
  return (kFontFirst + 2) - command;
}

std::optional<int> fontCommandOfSize(int size) {
  if (size < -2 || size > 2) return std::nullopt;
  return (kFontFirst + 2) - size;
}

uint32_t toggleFolderFlag(uint32_t flags, int command) {
  const bool explorer = flags & kItemExplorer, rootOrFind = flags & kItemRootOrFind;
  switch (command) {
    case kOpenExplorer:
      // Explorer and the search verb exclude each other.
      return explorer ? flags & ~kItemExplorer : (flags | kItemExplorer) & ~kItemRootOrFind;
    case kOpenRoot:
      return explorer ? flags ^ kItemRootOrFind : flags;
    case kSearch:
      if (rootOrFind && !explorer) return flags & ~kItemRootOrFind;
      return (flags | kItemRootOrFind) & ~kItemExplorer;
    default:
      return flags;
  }
}

CommandOwner commandOwner(int command) {
  // The launcher's ids are looked at first; the shell owns only its own band.
  if (command == kThumbnail || (command >= kDelete && command <= kButtonModeLast))
    return CommandOwner::kLauncher;
  if (command >= kShellFirst && command <= kShellLast) return CommandOwner::kShell;
  if (command >= kWebFirst && command <= kWebLast) return CommandOwner::kWebShortcut;
  return CommandOwner::kNone;
}

bool isDeleteVerb(std::string_view verb) {
  constexpr std::string_view kVerb = "delete";
  return verb.size() == kVerb.size() &&
         std::equal(verb.begin(), verb.end(), kVerb.begin(), [](char a, char b) {
           return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
         });
}

bool isWebShortcutPath(std::wstring_view path) {
  return path.size() > 4 && equalsFoldingAscii(path.substr(path.size() - 4), L".url");
}

bool pictureStillNamed(const GroupTable& table, std::wstring_view path, std::wstring_view dataFolder) {
  if (path.empty()) return false;
  for (size_t g = 0; g < table.size(); ++g) {
    for (const auto& item : table[g].items)
      if (item && (item->flags & kItemUrl) && !item->text4.empty() &&
          equalsFoldingAscii(deletablePicturePath(item->text4, dataFolder), path))
        return true;
  }
  return false;
}

std::vector<int> closeUpOrder(const Group& group, bool sort) {
  std::vector<int> order;
  for (size_t slot = 0; slot < group.items.size(); ++slot)
    if (group.items[slot]) order.push_back(static_cast<int>(slot));
  if (sort) {
    // Neighbours are exchanged only when out of order: a stable sort gives the same.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      return folded(group.items[a]->title) < folded(group.items[b]->title);
    });
  }
  return order;
}

bool closeUpGroup(GroupTable& table, int groupIndex, bool sort) {
  Group* g = table.group(groupIndex);
  if (!g) return false;
  const std::vector<int> order = closeUpOrder(*g, sort);
  std::vector<std::wstring> oldNames;
  for (int slot : order) oldNames.push_back(itemValueName(g->items[slot]->title, slot));

  std::vector<std::unique_ptr<Item>> items;
  for (int slot : order) {
    items.push_back(std::move(g->items[slot]));
    items.back()->selectionLink = 0;
  }
  g->items = std::move(items);

  const std::wstring section = table.groupSectionName(groupIndex);
  std::set<std::wstring> oldFolded, newNames;
  for (const std::wstring& name : oldNames) oldFolded.insert(folded(name));
  bool written = true;
  for (size_t slot = 0; slot < g->items.size() && written; ++slot) {
    const int s = static_cast<int>(slot);
    const std::wstring name = itemValueName(g->items[slot]->title, s);
    // The stored name keeps its case when written over: one differing only
    // in case (another item's old name) goes first, or the title would not change.
    for (const std::wstring& o : oldNames)
      if (o != name && folded(o) == folded(name)) table.profile().deleteValue(section, o);
    written = table.saveItem(groupIndex, s, false);
    newNames.insert(folded(name));
  }
  if (!written) {
    // Back to the old slots, in memory and stored: new names that are no old
    // ones go again, and an old name written over (equal titles) is written back.
    for (size_t i = 0; i < g->items.size(); ++i) {
      const std::wstring name = itemValueName(g->items[i]->title, static_cast<int>(i));
      if (!oldFolded.count(folded(name))) table.profile().deleteValue(section, name);
    }
    std::vector<std::unique_ptr<Item>> back;
    if (!order.empty()) back.resize(static_cast<size_t>(*std::max_element(order.begin(), order.end())) + 1);
    for (size_t i = 0; i < order.size(); ++i) back[static_cast<size_t>(order[i])] = std::move(g->items[i]);
    g->items = std::move(back);
    for (size_t i = 0; i < order.size(); ++i)
      if (newNames.count(folded(oldNames[i]))) table.saveItem(groupIndex, order[i], false);
    return false;
  }
  for (const std::wstring& name : oldNames)
    if (!newNames.count(folded(name))) table.profile().deleteValue(section, name);
  return true;
}

}  // namespace vorbin
