// The bar's side of a drag from another program (see drop_handler.h).
#include "launcher/bar/drop_handler.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <windowsx.h>

#include "framework/com.h"
#include "framework/trace.h"
#include "launcher/bar/bar_menus.h"
#include "launcher/bar/bar_messages.h"
#include "launcher/bar/bar_timers.h"
#include "launcher/bar/button_marks.h"
#include "launcher/bar/hover_timers.h"
#include "launcher/bar/item_adder.h"
#include "launcher/bar/modal_busy.h"
#include "launcher/bar/pointer_actions.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"
#include "launcher/bar/drop_legacy.h"
#include "launcher/bar/drop_moves.h"
#include "launcher/bar/item_request_rules.h"
#include "launcher/dialogs/group_sheet.h"
#include "launcher/interact/item_launch.h"
#include "launcher/interact/launch_item.h"
#include "launcher/interact/launch_rules.h"
#include "launcher/model/item_record.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {
namespace {

// The effects a drag out of the bar allows: move and link, and a private
// value that only the bar's own drop answers with (dropped back on the bar).
constexpr DWORD kEffectBackOnBar = 0x0100;
constexpr DWORD kDragOutEffects = DROPEFFECT_MOVE | DROPEFFECT_LINK | 0x0100 | 0x0200;

FORMATETC formatOf(CLIPFORMAT format) { return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool offers(IDataObject* data, CLIPFORMAT format) {
  FORMATETC f = formatOf(format);
  return data->QueryGetData(&f) == S_OK;
}

// Hands the memory block of a format to read; false when the data gave none.
template <class Read>
bool readBlock(IDataObject* data, CLIPFORMAT format, Read&& read) {
  FORMATETC f = formatOf(format);
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&f, &medium))) return false;
  bool ok = false;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    // The block's size bounds every read: the other program's header does not.
    const SIZE_T size = GlobalSize(medium.hGlobal);
    if (const void* p = GlobalLock(medium.hGlobal)) {
      read(std::span<const uint8_t>(static_cast<const uint8_t*>(p), size));
      GlobalUnlock(medium.hGlobal);
      ok = true;
    }
  }
  ReleaseStgMedium(&medium);
  return ok;
}

CLIPFORMAT registered(const wchar_t* name) { return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name)); }

// False when the data offers a "Shell IDList Array" that names lists outside
// its own block (or cannot be read).
bool idListsWhole(IDataObject* data) {
  const CLIPFORMAT idLists = registered(CFSTR_SHELLIDLIST);
  if (!offers(data, idLists)) return true;
  bool whole = false;
  readBlock(data, idLists, [&](std::span<const uint8_t> b) { whole = idListArrayIsWhole(b); });
  return whole;
}

bool isFolderPath(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFolderIdList(const IdListBytes& list) {
  SHFILEINFOW info{};
  info.dwAttributes = SFGAO_FOLDER | SFGAO_STREAM;
  if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list.data()), 0, &info, sizeof info,
                      SHGFI_PIDL | SHGFI_ATTRIBUTES | SHGFI_ATTR_SPECIFIED))
    return false;
  // A zip file is a folder to the shell but a file to the bar.
  return (info.dwAttributes & SFGAO_FOLDER) && !(info.dwAttributes & SFGAO_STREAM);
}

DropFacts dropFacts() {
  DropFacts facts;
  facts.isFolder = isFolderPath;
  facts.idListIsFolder = isFolderIdList;
  return facts;
}

// What DragAcceptFiles does (it only sets the window's WS_EX_ACCEPTFILES),
// without loading the shell library for it: the drop target is attached
// before the bar's first paint, and the shell is loaded later off that way.
void acceptFiles(HWND window, bool accept) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  const LONG_PTR wanted =
      accept ? (style | WS_EX_ACCEPTFILES) : (style & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES));
  if (wanted != style) SetWindowLongPtrW(window, GWL_EXSTYLE, wanted);
}

}  // namespace

IDropTarget* shellDropTargetOf(HWND owner, PCIDLIST_ABSOLUTE list) {
  fw::ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD child = nullptr;
  if (!list || FAILED(SHBindToParent(list, IID_IShellFolder, parent.putVoid(), &child))) return nullptr;
  IDropTarget* target = nullptr;
  if (FAILED(parent->GetUIObjectOf(owner, 1, &child, IID_IDropTarget, nullptr, reinterpret_cast<void**>(&target))))
    return nullptr;
  return target;
}

IDropTarget* shellDropTargetOf(HWND owner, const std::wstring& path) {
  if (path.empty() || path.size() > kMaxDropPathChars) return nullptr;
  PIDLIST_ABSOLUTE list = nullptr;
  if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &list, 0, nullptr)) || !list) return nullptr;
  IDropTarget* target = shellDropTargetOf(owner, list);
  CoTaskMemFree(list);
  return target;
}

void DropHandler::attach(HWND bar) {
  m_hwnd = bar;
  m_target = registerDropTarget(bar, *this);
  // Programs that drop by the older protocol still reach the bar.
  acceptFiles(bar, true);
}

void DropHandler::detach() {
  dragLeave();
  acceptFiles(m_hwnd, false);
  revokeDropTarget(m_hwnd, m_target);
}

DropPlace DropHandler::placeAt(POINT screen, DWORD keys) const {
  DropPlace place;
  place.keys = keys;
  POINT client = screen;
  ScreenToClient(m_hwnd, &client);
  const Hit hit = m_context.actions.hitAt(client);
  place.area = hit.area;
  if (hit.area == hit_area::kGrid || hit.area == hit_area::kQuick) {
    const Item* item = m_context.groups.item(m_context.actions.groupOfArea(hit.area), hit.index);
    place.occupied = item != nullptr && hit.index >= 0;
    place.handsToShell = item && ((item->flags & kItemFolder) || !item->hasTarget());
  }
  return place;
}

IDropTarget* DropHandler::shellTargetAt(POINT screen) const {
  POINT client = screen;
  ScreenToClient(m_hwnd, &client);
  const Hit hit = m_context.actions.hitAt(client);
  if (hit.area != hit_area::kGrid && hit.area != hit_area::kQuick) return nullptr;
  const Item* item = m_context.groups.item(m_context.actions.groupOfArea(hit.area), hit.index);
  if (!item) return nullptr;
  if (item->flags & kItemIdList) {
    if (idListSize(item->target) == 0) return nullptr;
    return shellDropTargetOf(m_hwnd, reinterpret_cast<PCIDLIST_ABSOLUTE>(item->target.data()));
  }
  // A folder item opens its folder text (cleaned up as for opening it: blanks,
  // quotes, a bare drive letter); any other its program.
  std::wstring path;
  if (item->flags & (kItemFolder | kItemPrompt)) {
    const std::wstring text = trimBlanks(item->folder);
    if (text.size() > kMaxDropPathChars + 2) return nullptr;  // not cut into another folder
    path = normaliseFolderText(text);
  } else {
    path = item->targetPath();
    findProgram(path, false, m_context.launchContext(false));
  }
  return shellDropTargetOf(m_hwnd, path);
}

void DropHandler::hover(POINT screen) {
  POINT client = screen;
  ScreenToClient(m_hwnd, &client);
  const Hit hit = m_context.actions.hitAt(client);
  GroupTable& groups = m_context.groups;
  if (hit.area == hit_area::kTabs && hit.index > 0 && hit.index != groups.activeGroup && !m_context.settings.taskMode) {
    // Resting on another tab opens its group, as for the bar's own drags.
    m_context.timers.hovered(hit.index);
    m_context.timers.arm({{kTimerHoverGroup, m_context.settings.intervalAtDrop}});
  }
  if (hit.area == hit_area::kGrid || hit.area == hit_area::kQuick)
    m_context.marks.showHot(m_context.actions.groupOfArea(hit.area), hit.index, m_context.actions.buttonRepainter());
  else
    clearHover();
}

void DropHandler::clearHover() { m_context.marks.showHot(-1, -1, m_context.actions.buttonRepainter()); }

DWORD DropHandler::dragEnter(IDataObject* data, DWORD keys, POINT screen, DWORD allowed) {
  SetForegroundWindow(m_hwnd);
  m_context.timers.forgetHover();
  m_dragActive = true;
  m_keysAtEntry = keys;
  if (data) data->AddRef();
  m_data = fw::ComPtr<IDataObject>::attach(data);
  // What the data holds decides whether a folder button may hand it to the
  // shell: nothing readable, or a block that lies about its contents, is
  // never passed on (the shell's targets read it without checks).
  const std::vector<NewItemRequest> requests = dropRequests(readOffer(data), DropFacts{});
  m_offerWebOnly = onlyWebAddresses(requests);
  m_offerUsable = !requests.empty() && data && idListsWhole(data);
  return dragOver(keys, screen, allowed);
}

DWORD DropHandler::dragOver(DWORD keys, POINT screen, DWORD allowed) {
  if (!m_dragActive) return DROPEFFECT_NONE;
  hover(screen);
  // The bar's own drag came back: its buttons move (or copy with Control).
  if (m_outgoing) return (keys & MK_CONTROL) ? (allowed & DROPEFFECT_COPY ? DROPEFFECT_COPY : kEffectBackOnBar)
                                             : kEffectBackOnBar;
  const DWORD dragKeys = m_keysAtEntry | (keys & MK_RBUTTON);
  DropPlace place = placeAt(screen, dragKeys);
  // Web addresses make buttons even over a folder button (see drop).
  if (m_offerWebOnly) {
    place.handsToShell = false;
    place.keys &= ~kDragKeyRight;
  }
  if (const std::optional<uint32_t> effect = outsideDragEffect(place, allowed)) {
    leave(m_shell);
    return *effect;
  }
  // A folder button (or a right-button drag on a button): the shell's target
  // of its folder answers, as it would over the folder itself.
  return overShellTarget(screen, keys, allowed);
}

DWORD DropHandler::overShellTarget(POINT screen, DWORD keys, DWORD allowed) {
  POINT client = screen;
  ScreenToClient(m_hwnd, &client);
  const Hit hit = m_context.actions.hitAt(client);
  const POINTL at{screen.x, screen.y};
  DWORD effect = allowed;
  if (m_shell.area == hit.area && m_shell.index == hit.index) {
    if (!m_shell.target) return DROPEFFECT_NONE;
    if (FAILED(m_shell.target->DragOver(keys, at, &effect))) effect = DROPEFFECT_NONE;
    return m_shell.shown = effect & allowed;
  }
  leave(m_shell);
  m_shell.area = hit.area;
  m_shell.index = hit.index;
  if (!m_offerUsable || !m_data) return DROPEFFECT_NONE;
  m_shell.target = shellTargetAt(screen);
  if (!m_shell.target) return DROPEFFECT_NONE;
  if (FAILED(m_shell.target->DragEnter(m_data.get(), keys, at, &effect))) {
    std::exchange(m_shell.target, nullptr)->Release();
    return DROPEFFECT_NONE;
  }
  return m_shell.shown = effect & allowed;
}

void DropHandler::leave(ShellHover& hover) {
  if (IDropTarget* target = std::exchange(hover.target, nullptr)) {
    target->DragLeave();
    target->Release();
  }
  hover = ShellHover{};
}

void DropHandler::dragLeave() {
  leave(m_shell);
  m_data.reset();
  if (!m_dragActive) return;
  m_dragActive = false;
  m_context.timers.forgetHover();
  clearHover();
}

DropOffer DropHandler::readOffer(IDataObject* data) const {
  DropOffer offer;
  if (!data) return offer;
  const CLIPFORMAT idLists = registered(CFSTR_SHELLIDLIST);
  const CLIPFORMAT descriptorsW = registered(CFSTR_FILEDESCRIPTORW);
  const CLIPFORMAT descriptorsA = registered(CFSTR_FILEDESCRIPTORA);
  // Only the first format offered counts; one that cannot be read gives nothing.
  if (offers(data, CF_HDROP)) {
    offer.files.emplace();
    readBlock(data, CF_HDROP, [&](std::span<const uint8_t> b) { offer.files = parseDropFiles(b, dropTextFromAnsi); });
    return offer;
  }
  if (offers(data, idLists)) {
    offer.idLists.emplace();
    readBlock(data, idLists, [&](std::span<const uint8_t> b) { offer.idLists = parseIdListArray(b); });
    return offer;
  }
  auto readText = [&] {
    if (offers(data, CF_UNICODETEXT))
      readBlock(data, CF_UNICODETEXT,
                [&](std::span<const uint8_t> b) { offer.text = parseDroppedText(b, true, dropTextFromAnsi); });
    else if (offers(data, CF_TEXT))
      readBlock(data, CF_TEXT,
                [&](std::span<const uint8_t> b) { offer.text = parseDroppedText(b, false, dropTextFromAnsi); });
  };
  const bool wideDescriptors = offers(data, descriptorsW);
  if (wideDescriptors || offers(data, descriptorsA)) {
    const std::wstring cut = resourceString(IDS_SHORTCUT_DECORATION);
    offer.links.emplace();
    readBlock(data, wideDescriptors ? descriptorsW : descriptorsA, [&](std::span<const uint8_t> b) {
      offer.links = parseLinkDescriptors(b, wideDescriptors, cut, dropTextFromAnsi);
    });
    readText();
    return offer;
  }
  readText();
  return offer;
}

DWORD DropHandler::drop(IDataObject* data, DWORD keys, POINT screen, DWORD allowed) {
  const DWORD dragKeys = m_keysAtEntry | (keys & MK_RBUTTON);
  const bool wasActive = m_dragActive;
  // The shell's target the drag rests on takes the drop (it has seen it come in).
  ShellHover shell = std::exchange(m_shell, ShellHover{});
  dragLeave();
  if (!wasActive || !data) {
    leave(shell);
    return DROPEFFECT_NONE;
  }
  if (m_outgoing) {
    // Dropped back on the bar: handled here, and the drag's end must not
    // take it for a move out of the bar.
    leave(shell);
    POINT client = screen;
    ScreenToClient(m_hwnd, &client);
    const DragItems items = *m_outgoing;
    dropInside(items, client, (keys & MK_CONTROL) != 0);
    return kEffectBackOnBar;
  }
  std::vector<NewItemRequest> requests = dropRequests(readOffer(data), dropFacts());
  const DropPlace place = placeAt(screen, dragKeys);
  const bool toShell = !requests.empty() && dropGoesToShell(place, onlyWebAddresses(requests));
  if (!toShell) leave(shell);
  if (requests.empty()) return DROPEFFECT_NONE;
  if (toShell) {
    // The folder (or the program) takes the drop itself, as the shell
    // decides; without a drop target there nothing happens, and data that
    // lies about its contents is not passed on.
    POINT client = screen;
    ScreenToClient(m_hwnd, &client);
    const Hit hit = m_context.actions.hitAt(client);
    if (shell.target && shell.area == hit.area && shell.index == hit.index)
      return dropOnShellTarget(std::exchange(shell.target, nullptr), data, keys, dragKeys, screen, allowed, shell.shown);
    leave(shell);
    if (!idListsWhole(data)) return DROPEFFECT_NONE;
    IDropTarget* target = shellTargetAt(screen);
    return target ? dropOnShellTarget(target, data, keys, dragKeys, screen, allowed, std::nullopt) : DROPEFFECT_NONE;
  }
  // The buttons are made after the drag-and-drop loop has returned: the
  // questions asked meanwhile must not hold the other program's drag.
  queueDrop(std::move(requests), screen, (dragKeys & MK_RBUTTON) != 0);
  return outsideDragEffect(place, allowed).value_or(DROPEFFECT_COPY) & allowed;
}

void DropHandler::queueDrop(std::vector<NewItemRequest> requests, POINT screen, bool rightButton) {
  if (m_queue.empty()) m_rightDrop = false;
  m_rightDrop = m_rightDrop || rightButton;
  for (NewItemRequest& r : requests) m_queue.push_back(std::move(r));
  PostMessageW(m_hwnd, kMsgDropsQueued, 0,
               MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(screen.x)), static_cast<WORD>(static_cast<SHORT>(screen.y))));
}

void DropHandler::dropFiles(HDROP drop) {
  const DroppedFiles dropped = takeDroppedFiles(drop, m_hwnd);
  DropOffer offer;
  offer.files = dropped.files;
  std::vector<NewItemRequest> requests = dropRequests(offer, dropFacts());
  if (requests.empty()) return;
  if (dropGoesToShell(placeAt(dropped.screen, 0), false)) {
    filesToShell(dropped.files, dropped.screen);
    return;
  }
  queueDrop(std::move(requests), dropped.screen, false);
}

void DropHandler::filesToShell(const std::vector<std::wstring>& files, POINT screen) {
  // The shell names its objects within their folder: one handing-over per
  // run of files from one folder. The older protocol only ever copies.
  for (size_t i = 0; i < files.size();) {
    const std::wstring folder = folderOfPath(files[i]);
    std::vector<std::wstring> names;
    for (; i < files.size() && folderOfPath(files[i]) == folder; ++i) {
      const size_t slash = files[i].find_last_of(L"\\/");
      names.push_back(slash == std::wstring::npos ? files[i] : files[i].substr(slash + 1));
    }
    IDropTarget* shell = shellTargetAt(screen);
    if (!shell) return;
    fw::ComPtr<IDataObject> data = fw::ComPtr<IDataObject>::attach(shellDataObject(m_hwnd, folder, names));
    if (!data) {
      shell->Release();
      continue;
    }
    dropOnShellTarget(shell, data.get(), 0, 0, screen, DROPEFFECT_COPY, std::nullopt);
  }
}

DWORD DropHandler::dropOnShellTarget(IDropTarget* shell, IDataObject* data, DWORD keys, DWORD dragKeys, POINT screen,
                                     DWORD allowed, std::optional<DWORD> shown) {
  // A right-button drop offers every effect (the shell then asks which);
  // otherwise the drag's own. A target that has not seen the drag come in
  // is asked first, and one that refuses it gets no drop.
  const POINTL at{screen.x, screen.y};
  const DWORD offered = (dragKeys & MK_RBUTTON) ? (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK) : allowed;
  DWORD effect = offered;
  if (!shown) {
    if (FAILED(shell->DragEnter(data, keys, at, &effect)) || !(effect & offered)) {
      shell->DragLeave();
      shell->Release();
      return DROPEFFECT_NONE;
    }
    shown = effect & offered;
  }
  effect = offered;
  DWORD done = DROPEFFECT_NONE;
  if (SUCCEEDED(shell->Drop(data, keys, at, &effect))) done = effect & offered;
  shell->Release();
  // A target answers the one effect it carried out; one that leaves several
  // standing has said nothing, and the effect it showed stands for it.
  if (done & (done - 1)) done &= *shown ? *shown : done;
  return done;
}

void DropHandler::dragOverNow() {
  if (!m_dragActive) return;
  POINT at{};
  GetCursorPos(&at);
  hover(at);
}

void DropHandler::processQueue(LPARAM point) {
  // The questions and dialogs below run message loops in which another drop
  // may arrive: this drop works on its own copy.
  std::vector<NewItemRequest> requests = std::move(m_queue);
  m_queue.clear();
  const bool right = std::exchange(m_rightDrop, false);
  if (requests.empty()) return;
  // A monitor left of or above the primary one gives negative coordinates.
  POINT client{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  ScreenToClient(m_hwnd, &client);
  const Hit hit = m_context.actions.hitAt(client);
  const int group = m_context.actions.groupOfArea(hit.area);
  const bool onButton = (hit.area == hit_area::kGrid || hit.area == hit_area::kQuick) && hit.index >= 0;
  const bool occupied = onButton && m_context.groups.item(group, hit.index) != nullptr;
  const QueuedDropPlan plan = planQueuedDrop(onButton || hit.area == hit_area::kTabs ? hit.area : hit_area::kNone,
                                             occupied, hit.index, right, requests.size());
  switch (plan.kind) {
    case QueuedDropKind::kNothing:
      return;
    case QueuedDropKind::kAddAtSlot:
      if (plan.askReplace) {
        UserMessage question;
        question.text = IDS_DROP_REPLACE;
        question.caption = IDS_DROP_REPLACE_CAPTION;
        if (showMessage(m_hwnd, question, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
      }
      addAt(group, hit.index, std::move(requests));
      return;
    case QueuedDropKind::kAddAtFreeSlots:
      if (plan.selectGroup) {
        if (*plan.selectGroup > 0) m_context.actions.selectGroup(*plan.selectGroup);
        addAt(m_context.groups.activeGroup, -1, std::move(requests));
      } else {
        addAt(group, -1, std::move(requests));
      }
      return;
    case QueuedDropKind::kStartWithEach:
      launchWithEach(group, hit.index, requests);
      return;
    case QueuedDropKind::kElsewhere:
      dropElsewhere(std::move(requests));
      return;
  }
}

void DropHandler::addAt(int group, int slot, std::vector<NewItemRequest> requests) {
  std::optional<ItemAdder::Added> last;
  for (NewItemRequest& r : requests) {
    r.slot = slot;
    if (auto added = m_context.adder.addItemFromRequest(std::move(r), group)) last = added;
  }
  m_context.groupsChanged();
  if (last && m_context.slotShown(last->group, last->slot))
    m_context.marks.showHot(last->group, last->slot, m_context.actions.buttonRepainter());
}

void DropHandler::launchWithEach(int group, int slot, const std::vector<NewItemRequest>& requests) {
  const Item* item = m_context.groups.item(group, slot);
  if (!item) return;
  const Item copy = *item;  // a launch may run a loop in which the bar changes
  for (const NewItemRequest& r : requests) {
    std::wstring document = r.target;
    if (r.flags & kItemIdList) {
      wchar_t path[MAX_PATH] = {};
      if (idListSize(r.idList) == 0 ||
          !SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(r.idList.data()), path))
        continue;
      document = path;
    }
    launchItem(launchRequestFor(copy, document), m_context.launchContext(true));
  }
}

void DropHandler::dropElsewhere(std::vector<NewItemRequest> requests) {
  m_context.repaintAll();
  GroupTable& groups = m_context.groups;
  for (NewItemRequest& r : requests) {
    const int active = groups.activeGroup;
    if (r.flags & kItemFolder) {
      // A folder is registered through the group's sheet; Cancel there stops
      // the rest of the drop. The bar paints first.
      UpdateWindow(m_hwnd);
      Sleep(100);
      GroupSheetContext context;
      context.groups = &groups;
      context.settings = &m_context.settings;
      context.bar = m_hwnd;
      context.resources = static_cast<HINSTANCE>(resourceModule());
      context.busy = &m_context.modal;
      const RegisterFolder folder{(r.flags & kItemIdList) ? std::wstring() : r.target, r.idList};
      const bool accepted = registerDroppedFolder(m_hwnd, active, folder, context);
      m_context.groupsChanged();
      if (!accepted) return;
      continue;
    }
    std::vector<NewItemRequest> one;
    one.push_back(std::move(r));
    addAt(active, -1, std::move(one));
  }
}

void DropHandler::dropInside(const DragItems& items, POINT client, bool copy) {
  const Hit hit = m_context.actions.hitAt(client);
  if (hit.area == hit_area::kCaption) {
    // The caption row is the bar's waste basket: as the delete command.
    if (items.tab)
      m_context.menus.deleteGroup(items.group);
    else
      m_context.menus.deleteButtons(items.group, items.slots);
    return;
  }
  if (items.tab) {
    if (hit.area == hit_area::kTabs) moveTab(items.group, hit.index);
    return;
  }
  moveButtons(items, hit, copy);
}

void DropHandler::moveTab(int group, int onto) {
  GroupTable& groups = m_context.groups;
  const std::optional<int> to = tabDropIndex(group, onto, static_cast<int>(groups.placeholderIndex()));
  if (!to) return;
  // The groups in between move up or down a place.
  for (int i = group; i < *to; ++i) std::swap(groups[i], groups[i + 1]);
  for (int i = group; i > *to; --i) std::swap(groups[i], groups[i - 1]);
  groups.activeGroup = *to;
  groups.saveOrder();
  m_context.groupsChanged();
}

void DropHandler::moveButtons(const DragItems& items, const Hit& hit, bool copy) {
  GroupTable& groups = m_context.groups;
  int target = -1;
  std::optional<int> cell;
  if (hit.area == hit_area::kTabs && hit.index >= 1) {
    target = hit.index;
    if (target == items.group) {
      // Their own tab: nothing moves; the group takes the first one's picture.
      auto occupied = [&](int slot) { return groups.item(target, slot) != nullptr; };
      const std::optional<int> source = ownTabPictureSlot(items.slots, occupied, kMaxItemSlots);
      if (!source) return;
      copyImage(groups[target].image, groups.item(target, *source)->image);
      groups.saveGroupHeader(target, true);
      m_context.groupsChanged();
      return;
    }
  } else if ((hit.area == hit_area::kGrid || hit.area == hit_area::kQuick) && hit.index >= 0) {
    target = m_context.actions.groupOfArea(hit.area);
    cell = hit.index;
  } else {
    return;
  }
  if (target < 0 || static_cast<size_t>(target) > groups.placeholderIndex()) return;
  if (static_cast<size_t>(target) == groups.placeholderIndex()) {
    const std::optional<int> made = groups.ensureGroup(target, nullptr, false);
    if (!made) return;
    target = *made;
  }
  auto occupied = [&](int slot) { return groups.item(target, slot) != nullptr; };
  const std::vector<ButtonMove> moves =
      target == items.group ? planMovesWithinGroup(items.slots, items.pressedSlot, *cell, copy, occupied, kMaxItemSlots)
                            : planMovesToGroup(items.slots, cell, copy, occupied, kMaxItemSlots);
  for (const ButtonMove& m : moves) groups.moveItem(items.group, m.from, target, m.to, m.mode);
  m_context.groupsChanged();
}

void DropHandler::dragOut(const DragItems& items) {
  std::optional<DragFolder> folder = DragFolder::create();
  if (!folder) return;
  const std::vector<std::wstring> names = writeDragFiles(m_context.groups, items, folder->path(), L"Item");
  fw::ComPtr<IDataObject> data =
      fw::ComPtr<IDataObject>::attach(shellDataObject(m_hwnd, folder->path(), names));
  if (!data) return;
  BarDropSource source(items.rightButton);
  m_outgoing = items;
  const std::optional<DWORD> effect = runDragOut(data.get(), &source, kDragOutEffects);
  m_outgoing.reset();
  // Moved out to another place: the buttons leave the bar without a question.
  if (effect && !items.tab && moveOutDeletes(*effect, items.rightButton))
    m_context.menus.deleteButtons(items.group, items.slots);
}

}  // namespace vorbin
