// The bar's way into the item dialogs: an occupied slot opens the item's
// property sheet, an empty one the new-item wizard; the result is filed in the
// profile and the button painted again.
#include <shlobj.h>

#include "launcher/bar/bar_window.h"
#include "launcher/bar/hot_key_capture.h"
#include "launcher/dialogs/item_sheet.h"
#include "launcher/dialogs/item_sheet_rules.h"
#include "launcher/dialogs/new_item_wizard.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/shortcut_files.h"

namespace vorbin {
namespace {

// The name the item's value has in the profile now, exactly as stored.
std::wstring storedName(const GroupTable& groups, int group, int slot, const std::wstring& title) {
  std::vector<std::wstring> names;
  for (const ProfileValue& value : groups.profile().values(groups.groupSectionName(group)))
    names.push_back(value.name);
  return storedItemName(names, title, slot).value_or(itemValueName(title, slot));
}

}  // namespace

void CBarWindow::editItem(int group, int slot) {
  GroupTable& groups = m_context.groups;
  if (!groups.group(group) || slot < 0 || slot >= kMaxItemSlots) return;
  ItemSheetContext context{&groups, &m_context.settings, static_cast<HINSTANCE>(resourceModule())};
  Item* item = groups.item(group, slot);

  if (!item) {
    CNewPropertySheet wizard(context);
    const std::optional<NewItemChoice> choice = wizard.run(m_hwnd);
    if (!choice) return;
    NewItemRequest request;
    request.flags = choice->flags;
    request.target = choice->target;
    request.idList = choice->idList;
    request.title = choice->title;
    request.slot = slot;
    const auto added = m_adder.addItemFromRequest(std::move(request), group);
    if (!added) return;
    if (Item* made = groups.item(added->group, added->slot); made && !choice->pattern.empty()) {
      made->text3 = choice->pattern;
      groups.saveItem(added->group, added->slot, false);
    }
    repaintAll();
    InvalidateRect(m_hwnd, nullptr, FALSE);
    return;
  }

  const std::wstring oldName = storedName(groups, group, slot, item->title);
  // A web link shows the shell's pages of a temporary shortcut; a key typed
  // on them becomes the item's, not the file's.
  std::wstring urlFile;
  const bool webLink = (item->flags & kItemUrl) != 0;
  if (webLink) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    urlFile = uniqueFileName(folder, L".url");
    if (!urlFile.empty()) urlFile = folder + urlFile;
    if (!urlFile.empty() && !writeShortcut(*item, urlFile)) urlFile.clear();
    beginHotKeyCapture();
  }
  CSetApplSheet sheet(*item, item->image.bits.empty() ? 1u : 0u, context);
  const bool accepted = sheet.run(m_hwnd, urlFile);
  if (webLink) {
    endHotKeyCapture();
    if (accepted && hotKeyCaptured()) groups.setItemHotKey(*item, capturedHotKey());
    if (!urlFile.empty()) DeleteFileW(urlFile.c_str());
  }
  if (!accepted) return;
  deleteUnnamedPicture(groups, sheet.replacedPicture());

  // The old value goes first, by its exact name: written first, a new name
  // that differs only in case would be deleted with it.
  const RenamePlan plan = renamePlan(oldName, item->title, slot);
  if (plan.deleteFirst) groups.profile().deleteValue(groups.groupSectionName(group), *plan.deleteFirst);
  groups.saveItem(group, slot, false);
  repaintButton(group, slot);
}

}  // namespace vorbin
