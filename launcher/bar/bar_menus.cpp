// The bar's context menus, the bar menu and the commands they run.
#include "launcher/bar/bar_menus.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>

#include "framework/trace.h"
#include "launcher/bar/bar_messages.h"
#include "launcher/bar/item_adder.h"
#include "launcher/bar/item_request_rules.h"
#include "launcher/bar/menu_rules.h"
#include "launcher/dialogs/group_sheet.h"
#include "launcher/dialogs/skin_rules.h"
#include "launcher/dialogs/help_popup.h"
#include "launcher/interact/hit_areas.h"
#include "launcher/model/group_table.h"
#include "launcher/model/profile.h"
#include "launcher/model/settings.h"
#include "launcher/interact/item_launch.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/process_info.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/text_chars.h"
#include "launcher/services/text_format.h"
#include "launcher/services/thumbnail_capture.h"
#include "launcher/widgets/program_picker.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {

using namespace menu_cmd;

namespace {

// A loaded menu resource, destroyed with its sub-menus (the merged shell pop-up included).
class LoadedMenu {
 public:
  explicit LoadedMenu(UINT id)
      : m_menu(LoadMenuW(static_cast<HINSTANCE>(resourceModule()), MAKEINTRESOURCEW(id))) {
    if (!m_menu) FW_TRACE_FAILURE("LoadMenuW");
  }
  ~LoadedMenu() {
    if (m_menu) DestroyMenu(m_menu);
  }
  LoadedMenu(const LoadedMenu&) = delete;
  LoadedMenu& operator=(const LoadedMenu&) = delete;
  HMENU popup() const { return m_menu ? GetSubMenu(m_menu, 0) : nullptr; }

 private:
  HMENU m_menu;
};

std::wstring menuText(HMENU menu, UINT id) {
  wchar_t text[kMediumString] = {};
  GetMenuStringW(menu, id, text, static_cast<int>(std::size(text)), MF_BYCOMMAND);
  return text;
}

// GetMenuState puts a pop-up's item count where the separator flag would be.
bool isSeparator(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

// Removing entries can leave separators at an edge or two in a row.
void tidySeparators(HMENU menu) {
  bool lastWasSeparator = true;
  for (int i = 0; i < GetMenuItemCount(menu);) {
    const bool separator = isSeparator(menu, i);
    if (separator && lastWasSeparator) {
      DeleteMenu(menu, i, MF_BYPOSITION);
      continue;
    }
    lastWasSeparator = separator;
    ++i;
  }
  const int count = GetMenuItemCount(menu);
  if (count > 0 && isSeparator(menu, count - 1)) DeleteMenu(menu, count - 1, MF_BYPOSITION);
}

void applyPlan(HMENU popup, const MenuPlan& plan) {
  for (int id : plan.remove) DeleteMenu(popup, id, MF_BYCOMMAND);
  for (int id : plan.checked) CheckMenuItem(popup, id, MF_BYCOMMAND | MF_CHECKED);
  for (int id : plan.grayed) EnableMenuItem(popup, id, MF_BYCOMMAND | MF_GRAYED);
}

// The position of the entry with that id in the menu itself (not its sub-menus), or -1.
int positionOf(HMENU menu, UINT id) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    if (GetMenuItemID(menu, i) == id) return i;
  return -1;
}

// Puts the shell's pop-up in place of the placeholder entry, under its text.
bool mergeShellMenu(HMENU popup, ShellMenu& shell, const std::wstring& path) {
  HMENU shellPopup = CreatePopupMenu();
  if (!shellPopup) return false;
  if (path.empty() || !shell.fill(shellPopup, path, kShellFirst, kShellLast) ||
      GetMenuItemCount(shellPopup) <= 0) {
    DestroyMenu(shellPopup);
    shell.reset();
    return false;
  }
  shell.disableDelete(shellPopup);
  const std::wstring text = menuText(popup, kShellMenu);
  if (!ModifyMenuW(popup, kShellMenu, MF_BYCOMMAND | MF_POPUP | MF_STRING,
                   reinterpret_cast<UINT_PTR>(shellPopup), text.c_str())) {
    DestroyMenu(shellPopup);
    shell.reset();
    return false;
  }
  return true;
}

// The web shortcut's plain text commands, with their checks, before the start entry.
bool mergeWebCommands(HMENU popup, ShellMenu& web, const std::wstring& path) {
  HMENU scratch = CreatePopupMenu();
  bool merged = false;
  if (scratch && web.fillWebShortcut(scratch, path, kWebFirst, kWebLast)) {
    for (int i = 0; i < GetMenuItemCount(scratch); ++i) {
      const UINT state = GetMenuState(scratch, i, MF_BYPOSITION);
      const UINT id = GetMenuItemID(scratch, i);
      if (state & (MF_POPUP | MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW) || id == static_cast<UINT>(-1))
        continue;
      wchar_t text[kMediumString] = {};
      if (GetMenuStringW(scratch, i, text, static_cast<int>(std::size(text)), MF_BYPOSITION) <= 0) continue;
      InsertMenuW(popup, kStart, MF_BYCOMMAND | MF_STRING | (state & MF_CHECKED), id, text);
      merged = true;
    }
  }
  if (scratch) DestroyMenu(scratch);
  if (!merged) web.reset();
  return merged;
}

// The bar menu's entries after the system's own (separators included).
void appendBarMenu(HMENU target, HMENU barMenu) {
  for (int i = 0; i < GetMenuItemCount(barMenu); ++i) {
    const UINT id = GetMenuItemID(barMenu, i);
    if (isSeparator(barMenu, i)) {
      AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    wchar_t text[kMediumString] = {};
    GetMenuStringW(barMenu, i, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    AppendMenuW(target, MF_STRING, id, text);
  }
}

// Exit shows the system's close glyph.
void closeGlyph(HMENU menu) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_BITMAP;
  info.hbmpItem = HBMMENU_POPUP_CLOSE;
  SetMenuItemInfoW(menu, kCmdExit, FALSE, &info);
}

UserMessage messageOf(unsigned text, unsigned caption = 0) {
  UserMessage message;
  message.text = text;
  message.caption = caption;
  return message;
}

std::wstring propertiesPath(const Item& item) {
  return (item.flags & kItemPrompt) ? item.folder : item.targetPath();
}

}  // namespace

ShutdownActions ShutdownActions::system() {
  ShutdownActions actions;
  const char* probe = std::getenv("VORBIN_TEST_SHUTDOWN");
  const std::string test = probe ? probe : "";
  actions.enablePrivilege = [test] { return test != "deny" && vorbin::enablePrivilege(SE_SHUTDOWN_NAME); };
  actions.powerOff = [test] {
    if (test.empty()) {
      if (ExitWindowsEx(EWX_POWEROFF | EWX_SHUTDOWN, SHTDN_REASON_FLAG_PLANNED)) return true;
      FW_TRACE_FAILURE("ExitWindowsEx");
      return false;
    }
    HANDLE file = CreateFileA(test.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, "power off", 9, &written, nullptr);
    CloseHandle(file);
    return true;
  };
  return actions;
}

Item* BarMenus::find(const ItemRef& ref) const {
  Item* item = m_bar.groups().item(ref.group, ref.slot);
  return item && ref.identity && item->identity.value() == ref.identity ? item : nullptr;
}

std::vector<BarMenus::ItemRef> BarMenus::selectionRefs(int group, int slot) const {
  // The selection when the slot belongs to it (or no slot is focused), else the slot alone.
  std::vector<int> slots = m_bar.selectionIn(group);
  if (!slots.empty() && slot >= 0 && std::find(slots.begin(), slots.end(), slot) == slots.end())
    slots.assign(1, slot);
  if (slots.empty()) slots.assign(1, slot);
  std::vector<ItemRef> refs;
  for (int s : slots)
    if (const Item* item = m_bar.groups().item(group, s)) refs.push_back({group, s, item->identity.value()});
  return refs;
}

UINT BarMenus::track(HMENU popup, POINT at, UINT flags) {
  if (!popup) return 0;
  HWND bar = m_bar.window();
  SetForegroundWindow(bar);
  m_tracking = true;
  const UINT command = static_cast<UINT>(TrackPopupMenuEx(
      popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | flags, at.x, at.y, bar, nullptr));
  m_tracking = false;
  // The menu's loop ends on the next message: this one makes sure it comes.
  PostMessageW(bar, WM_NULL, 0, 0);
  return command;
}

bool BarMenus::menuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!m_tracking) return false;
  return m_shell.handleMenuMessage(msg, wParam, lParam, result) ||
         m_web.handleMenuMessage(msg, wParam, lParam, result);
}

void BarMenus::openButtonMenu(int group, int slot, POINT screen) {
  GroupTable& groups = m_bar.groups();
  const Settings& s = m_bar.settings();
  const Item* item = groups.item(group, slot);
  const std::vector<ItemRef> selection = selectionRefs(group, slot);
  if (item && GetKeyState(VK_CONTROL) < 0 && selection.size() <= 1) {
    showTargetProperties(group, slot);
    return;
  }
  HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  LoadedMenu menu(IDM_BUTTON_MENU);
  HMENU popup = menu.popup();
  const std::wstring path = item && !(item->flags & kItemIdList) ? propertiesPath(*item) : std::wstring();
  ButtonMenuFacts facts;
  facts.kind = itemKind(item);
  facts.flags = item ? item->flags : 0;
  facts.path = path;
  facts.selectedCount = static_cast<int>(selection.size());
  facts.fontSize = s.fontSize;
  if (const Group* g = groups.group(group)) facts.buttonMode = g->buttonMode;
  const MenuPlan plan = buttonMenuPlan(facts);
  if (popup) {
    applyPlan(popup, plan);
    if (plan.newItemText) {
      const std::wstring text = resourceString(IDS_NEW_ITEM_ENTRY);
      ModifyMenuW(popup, kProperties, MF_BYCOMMAND | MF_STRING, kProperties, text.c_str());
    }
    if (plan.shellMenu && !mergeShellMenu(popup, m_shell, path)) DeleteMenu(popup, kShellMenu, MF_BYCOMMAND);
    if (plan.webShortcutCommands && mergeWebCommands(popup, m_web, path)) {
      if (plan.thumbnail) {
        const std::wstring text = resourceString(IDS_THUMBNAIL_ENTRY);
        InsertMenuW(popup, kStart, MF_BYCOMMAND | MF_STRING, kThumbnail, text.c_str());
      }
      DeleteMenu(popup, kStart, MF_BYCOMMAND);
    } else if (plan.thumbnail) {
      const std::wstring text = resourceString(IDS_THUMBNAIL_ENTRY);
      const int at = positionOf(popup, kStart);
      InsertMenuW(popup, at >= 0 ? static_cast<UINT>(at + 1) : 0, MF_BYPOSITION | MF_STRING, kThumbnail,
                  text.c_str());
    }
    tidySeparators(popup);
  }
  SetCursor(before);
  const ItemRef ref{group, slot, item ? item->identity.value() : 0};
  const UINT command = track(popup, screen);
  runButtonCommand(command, ref, selection, screen);
  m_shell.reset();
  m_web.reset();
}

void BarMenus::runButtonCommand(UINT command, const ItemRef& ref, const std::vector<ItemRef>& selection,
                                POINT at) {
  const int id = static_cast<int>(command);
  switch (commandOwner(id)) {
    case CommandOwner::kNone:
      return;
    case CommandOwner::kShell:
      if (find(ref)) m_shell.invoke(m_bar.window(), command, at);
      return;
    case CommandOwner::kWebShortcut:
      if (find(ref)) m_web.invoke(m_bar.window(), command, at);
      return;
    case CommandOwner::kLauncher:
      break;
  }
  if (const auto size = fontSizeOfCommand(id)) {
    setFontSize(*size);
    return;
  }
  if (id >= kButtonModeFirst && id <= kButtonModeLast) {
    GroupTable& groups = m_bar.groups();
    if (Group* g = groups.group(ref.group)) {
      g->buttonMode = id - kButtonModeFirst;
      groups.saveGroupHeader(ref.group, true);
      m_bar.relayout();
    }
    return;
  }
  switch (id) {
    case kDelete:
      deleteRefs(selection);
      break;
    case kProperties:
      editItem(ref);
      break;
    case kStart:
    case kStartItem:
      if (find(ref)) m_bar.launchItem(ref.group, ref.slot);
      break;
    case kStartWith:
      startWithParameters(ref);
      break;
    case kSort:
    case kCloseUp:
      closeUp(ref.group, id == kSort);
      break;
    case kOpenExplorer:
    case kOpenRoot:
    case kSearch:
      toggleFolder(ref, id);
      break;
    case kThumbnail:
      thumbnailDialog(ref);
      break;
    default:
      break;
  }
}

void BarMenus::setFontSize(int size) {
  Settings& s = m_bar.settings();
  if (s.fontSize == size) return;
  s.fontSize = size;
  saveOptions(m_bar.profile(), s);
  m_bar.relayout();
}

void BarMenus::toggleFolder(const ItemRef& ref, int command) {
  Item* item = find(ref);
  if (!item) return;
  const uint32_t flags = toggleFolderFlag(item->flags, command);
  if (flags == item->flags) return;
  item->flags = flags;
  m_bar.groups().saveItem(ref.group, ref.slot, false);
  m_bar.repaintButton(ref.group, ref.slot);
}

void BarMenus::editItem(const ItemRef& ref) {
  // An empty slot opens the new-item wizard; an item must still be the one the menu was for.
  if (ref.identity && !find(ref)) return;
  m_bar.editItem(ref.group, ref.slot);
}

bool BarMenus::pressOpensMenu(int area, int index) {
  constexpr int kHelpKey = 6;
  const bool help = area == hit_area::kFunctionKeys && index == kHelpKey;
  if (!help && area != hit_area::kLogo) return false;
  const RECT box = m_bar.boxOnScreen(help ? kHelpKey : -1);
  if (help) {
    openHelpMenu(box);
  } else {
    POINT at{};
    GetCursorPos(&at);
    openLogoMenu(at);
  }
  // The menu took the button's release: the press ends here, the box drawn released.
  m_bar.endPress();
  return true;
}

void BarMenus::deleteKey(int area, int group, int slot) {
  if (area == hit_area::kTabs) {
    if (!m_bar.taskMode()) deleteGroup(group);
    return;
  }
  if (area != hit_area::kGrid && area != hit_area::kQuick) return;
  deleteRefs(selectionRefs(group, slot));
}

void BarMenus::propertiesKey(int area, int group, int slot) {
  if (area == hit_area::kTabs) {
    if (!m_bar.taskMode()) groupProperties(group);
    return;
  }
  if (area != hit_area::kGrid && area != hit_area::kQuick) return;
  const Item* item = m_bar.groups().item(group, slot);
  editItem({group, slot, item ? item->identity.value() : 0});
}

void BarMenus::startWithParameters(const ItemRef& ref) {
  // The item's program, once per document the user picks for it.
  const Item* item = find(ref);
  if (!item) return;
  PickRequest request;
  request.owner = m_bar.window();
  request.resources = static_cast<HINSTANCE>(resourceModule());
  request.title = substituteName(resourceString(IDS_START_WITH_TITLE), item->title);
  request.filter = resourceString(IDS_START_WITH_FILTER);
  request.initialFolder = item->folder;
  request.flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | pick_flag::kMultiSelect;
  const PickResult picked = pickProgram(request);
  if (!picked.accepted) return;
  // The picker ran a loop: the item may have gone or changed.
  item = find(ref);
  if (!item) return;
  const LaunchContext context = m_bar.launchContext();
  for (const std::wstring& file : picked.files) launchItem(launchRequestFor(*item, file), context);
}
void BarMenus::thumbnailDialog(const ItemRef& ref) {
  const Item* item = find(ref);
  if (!item || !(item->flags & kItemUrl)) return;
  // The item's own picture file is photographed over; one that copies of
  // the button share gets a fresh file for this button.
  std::wstring current = item->text4;
  GroupTable& groups = m_bar.groups();
  int namers = 0;
  for (size_t g = 0; g < groups.size() && !current.empty(); ++g)
    for (const auto& other : groups[g].items)
      if (other && (other->flags & kItemUrl) && equalsFoldingAscii(other->text4, current)) ++namers;
  if (namers > 1) current.clear();
  const ThumbnailContext context{.settings = &m_bar.settings(),
                                 .profile = &m_bar.profile(),
                                 .resources = static_cast<HINSTANCE>(resourceModule())};
  const std::wstring name = makeThumbnail(item->targetPath(), current, m_bar.window(), context);
  if (name.empty()) return;
  // The dialog ran a loop: the item may have gone meanwhile.
  Item* now = find(ref);
  if (!now) {
    deleteUnnamedPicture(groups, name);
    return;
  }
  now->text4 = name;
  groups.saveItem(ref.group, ref.slot, false);
  m_bar.repaintButton(ref.group, ref.slot);
}
void BarMenus::groupProperties(int group) {
  const GroupSheetContext context{.groups = &m_bar.groups(),
                                  .settings = &m_bar.settings(),
                                  .bar = m_bar.window(),
                                  .resources = static_cast<HINSTANCE>(resourceModule()),
                                  .busy = m_bar.modalBusy()};
  if (openGroupSheet(m_bar.window(), group, context)) m_bar.groupsChanged();
}
void BarMenus::windowDetails(HWND window) { showWindowDetails(window, m_bar.window()); }

void BarMenus::closeUp(int group, bool sort) {
  HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  closeUpGroup(m_bar.groups(), group, sort);
  SetCursor(before);
  m_bar.groupsChanged();
}

void BarMenus::deleteButtons(int group, const std::vector<int>& slots) {
  std::vector<ItemRef> refs;
  for (int s : slots)
    if (const Item* item = m_bar.groups().item(group, s)) refs.push_back({group, s, item->identity.value()});
  deleteRefs(refs);
}

void BarMenus::deleteRefs(const std::vector<ItemRef>& chosen) {
  // Only the buttons that are still there (the menu's loop may have removed some).
  std::vector<ItemRef> refs;
  for (const ItemRef& ref : chosen)
    if (find(ref)) refs.push_back(ref);
  if (refs.empty()) return;
  m_bar.stopBlinking();
  UserMessage question = messageOf(IDS_DELETE_ONE, IDS_DELETE_CAPTION);
  std::wstring title;
  if (refs.size() == 1) {
    title = find(refs.front())->title;
    question.insert = title;
  } else {
    question.text = IDS_DELETE_MANY;
    question.count = static_cast<int>(refs.size());
  }
  const bool confirmed = showMessage(m_bar.window(), question, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
  GroupTable& groups = m_bar.groups();
  if (confirmed) {
    bool quickChanged = false;
    for (const ItemRef& ref : refs) {
      Item* item = find(ref);
      if (!item) continue;  // gone or replaced while the question was open
      const std::wstring picture = (item->flags & kItemUrl) ? item->text4 : std::wstring();
      groups.saveItem(ref.group, ref.slot, true);
      groups.removeItem(ref.group, ref.slot);
      quickChanged = quickChanged || ref.group == 0;
      deleteUnnamedPicture(groups, picture);
    }
    if (quickChanged) closeUpGroup(groups, 0, false);
  }
  m_bar.groupsChanged();
}

void BarMenus::deleteGroup(int group) {
  GroupTable& groups = m_bar.groups();
  if (!groupDeletable(groups, group)) return;
  const uint64_t identity = groups[group].identity.value();
  const std::wstring title = groups[group].title;
  UserMessage question = messageOf(IDS_DELETE_ONE, IDS_DELETE_CAPTION);
  question.insert = title;
  const int answer = showMessage(m_bar.window(), question, MB_OKCANCEL | MB_ICONINFORMATION);
  // The group may have moved in the table while the question was open.
  int index = -1;
  for (size_t i = 0; i < groups.size(); ++i)
    if (groups[i].identity.value() == identity) index = static_cast<int>(i);
  if (answer != IDOK || index < 0) {
    m_bar.repaintContent();
    return;
  }
  // Reading the table again releases every hot key of the group's items.
  if (removeGroup(groups, index)) m_bar.groupRemoved(index);
  m_bar.groupsChanged();
}

void BarMenus::showTargetProperties(int group, int slot) {
  const Item* item = m_bar.groups().item(group, slot);
  if (!item) return;
  PIDLIST_ABSOLUTE list = nullptr;
  if (item->flags & kItemIdList) {
    list = idListToShell(item->target);
  } else {
    const std::wstring path = propertiesPath(*item);
    if (!path.empty() && shellExists(path.c_str())) list = pathToIdList(path.c_str());
  }
  if (!list || !shellExists(list)) {
    if (list) CoTaskMemFree(list);
    showMessage(m_bar.window(), messageOf(IDS_NO_PROPERTIES), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
  info.hwnd = m_bar.window();
  info.lpVerb = L"properties";
  info.lpIDList = list;
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) FW_TRACE_FAILURE("ShellExecuteExW");
  CoTaskMemFree(list);
}

void BarMenus::openTabMenu(int group, POINT screen) {
  GroupTable& groups = m_bar.groups();
  const Settings& s = m_bar.settings();
  LoadedMenu menu(IDM_TAB_MENU);
  HMENU popup = menu.popup();
  if (popup)
    applyPlan(popup, tabMenuPlan({.deletable = groupDeletable(groups, group),
                                  .fontSize = s.fontSize,
                                  .groupDispMode = s.groupDispMode}));
  const int id = static_cast<int>(track(popup, screen));
  if (const auto size = fontSizeOfCommand(id)) {
    setFontSize(*size);
  } else if (id >= kGroupDispFirst && id <= kGroupDispLast) {
    m_bar.settings().groupDispMode = id - kGroupDispFirst;
    m_bar.relayout();
    m_bar.saveWindowState();
  } else if (id == kDelete) {
    deleteGroup(group);
  } else if (id == kProperties) {
    groupProperties(group);
  }
}

void BarMenus::openTaskMenu(int entry, POINT screen) {
  const TaskTable& tasks = m_bar.tasks();
  if (entry < 1 || static_cast<size_t>(entry) >= tasks.size()) return;
  HWND window = static_cast<HWND>(tasks[static_cast<size_t>(entry)].window);
  const std::wstring program = queryProcess(window).imagePath;
  LoadedMenu menu(IDM_TASK_MENU);
  HMENU popup = menu.popup();
  const MenuPlan plan =
      taskMenuPlan({.programKnown = !program.empty(), .fontSize = m_bar.settings().fontSize});
  if (popup) {
    applyPlan(popup, plan);
    if (plan.shellMenu && !mergeShellMenu(popup, m_shell, program))
      DeleteMenu(popup, kShellMenu, MF_BYCOMMAND);
    tidySeparators(popup);
  }
  const UINT command = track(popup, screen);
  const int id = static_cast<int>(command);
  if (commandOwner(id) == CommandOwner::kShell) {
    m_shell.invoke(m_bar.window(), command, screen);
  } else if (const auto size = fontSizeOfCommand(id)) {
    setFontSize(*size);
  } else if (id == kStart && !program.empty()) {
    LaunchRequest request;
    request.target = L"\"" + program + L"\"";
    request.folder = folderOfPath(program);
    launchItem(request, m_bar.launchContext());
  } else if (id == kWindowDetails && IsWindow(window)) {
    windowDetails(window);
  }
  m_shell.reset();
}

void BarMenus::prepareSystemMenu(HMENU menu) {
  // Once per menu: the merged entries carry the options command.
  if (!menu || GetMenuState(menu, kCmdOptions, MF_BYCOMMAND) != static_cast<UINT>(-1)) return;
  LoadedMenu bar(IDM_BAR_MENU);
  if (!bar.popup()) return;
  DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND);
  tidySeparators(menu);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  appendBarMenu(menu, bar.popup());
  closeGlyph(menu);
}

void BarMenus::openLogoMenu(POINT screen) {
  LoadedMenu menu(IDM_BAR_MENU);
  HMENU popup = menu.popup();
  if (!popup) return;
  SetMenuDefaultItem(popup, kCmdExit, FALSE);
  closeGlyph(popup);
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_STYLE;
  info.dwStyle = MNS_NOCHECK;
  SetMenuInfo(popup, &info);
  if (const UINT command = track(popup, screen, TPM_LEFTBUTTON))
    PostMessageW(m_bar.window(), WM_SYSCOMMAND, command, 0);
  m_bar.repaintAll();
}

void BarMenus::openHelpMenu(const RECT& key) {
  LoadedMenu menu(IDM_HELP_MENU);
  if (const UINT command = track(menu.popup(), {key.left, key.bottom}, TPM_LEFTBUTTON | TPM_TOPALIGN))
    PostMessageW(m_bar.window(), WM_SYSCOMMAND, command, 0);
}

void BarMenus::openTrayMenu(POINT screen) {
  LoadedMenu menu(IDM_BAR_MENU);
  HMENU popup = menu.popup();
  if (!popup) return;
  SetMenuDefaultItem(popup, kCmdExit, FALSE);
  if (const UINT command = track(popup, screen)) PostMessageW(m_bar.window(), WM_SYSCOMMAND, command, 0);
}

void BarMenus::exitKey() {
  Settings& s = m_bar.settings();
  if (!s.fastExit) {
    m_bar.endSession();
    return;
  }
  m_bar.saveWindowState();
  if (!m_shutdown.enablePrivilege()) {
    showMessage(m_bar.window(), messageOf(IDS_NO_SHUTDOWN_PRIVILEGE), MB_OK | MB_ICONSTOP);
    return;
  }
  m_shutdown.powerOff();
}

}  // namespace vorbin
