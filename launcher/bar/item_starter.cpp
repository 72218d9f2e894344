#include "launcher/bar/item_starter.h"

#include "launcher/bar/hot_keys.h"
#include "launcher/bar/pointer_actions.h"
#include "launcher/dialogs/file_pick_start.h"
#include "launcher/interact/file_pick.h"
#include "launcher/interact/item_launch.h"
#include "launcher/services/language_strings.h"

namespace vorbin {

void ItemStarter::start(HWND bar, int group, int slot) {
  const Item* item = m_context.groups.item(group, slot);
  if (!item) return;
  LaunchRequest request = launchRequestFor(*item);
  const LaunchContext context = m_context.launchContext(true);
  if (request.flags & kItemPrompt) {
    m_context.actions.animatePromptButton(group, slot);
    Win32LaunchSystem sys;
    const FilePickCheck check = checkFilePick(request, sys);
    m_context.repaintButton(group, slot, m_context.marks.look(group, slot));
    if (check.stop != FilePickStop::kNone) {
      reportNotFound(check.missing, check.stop == FilePickStop::kFolderNotFound, check.noAssociation,
                     context);
      return;
    }
    // The file-pick start: the documents picked in the browser, one start each.
    // The browser runs a loop of its own: Program Manager commands, drops and
    // a close wait for it, and the choices go to the item only when the slot
    // still holds it.
    ModalBusy::Scope modal(&m_context.modal);
    Item choices = *item;
    const uint64_t identity = item->identity.value();
    POINT anchor{};
    GetCursorPos(&anchor);
    const auto starts = pickDocumentStarts(bar, static_cast<HINSTANCE>(resourceModule()), choices, request,
                                           check, m_context.settings.wildCard, anchor);
    if (!starts) return;
    if (Item* kept = m_context.groups.item(group, slot); kept && kept->identity.value() == identity) {
      kept->text4 = choices.text4;
      kept->promptOptions = choices.promptOptions;
      m_context.groups.saveItem(group, slot, false);
    }
    for (const LaunchRequest& start : *starts) launchItem(start, context);
    return;
  }
  launchItem(request, context);
}

void ItemStarter::hotKey(HWND bar, int group, int slot) {
  const Item* item = m_context.groups.item(group, slot);
  if (!item) return;
  if (item->flags & 0x0020) {
    // A prompting item: its group comes forward and the run prompt opens at
    // the item, as a click on it runs it.
    m_context.showGroup(group);
    start(bar, group, slot);
  } else if (!restoreWindowWithHotKey(item->hotKey)) {
    start(bar, group, slot);
  }
}

}  // namespace vorbin
