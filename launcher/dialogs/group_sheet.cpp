// The group sheet: its group and registration pages, the write-back on OK,
// and the folder scan that hands every file to the bar under the progress dialog.
#include "launcher/dialogs/group_sheet.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "framework/trace.h"
#include "launcher/bar/bar_messages.h"
#include "launcher/bar/modal_busy.h"
#include "launcher/dialogs/group_sheet_pages.h"
#include "launcher/render/icon_convert.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/find_files.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/monitor_helpers.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/shortcut_reader.h"
#include "launcher/widgets/progress_dialog.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {
namespace {

// The group mark of the program's own icons: a group without a picture of its own.
constexpr int kStandardGroupIcon = 102;
// How often the scan lets the dialog and the bar handle their messages.
constexpr DWORD kPumpIntervalMs = 40;
// How many found files the bar turns into buttons at a time during a scan.
constexpr unsigned kAddBatch = 16;

std::wstring libraryString(HINSTANCE resources, unsigned id) {
  return resourceStringOrLoaded(resources, id, kMediumString);
}

HICON standardIcon() {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kStandardGroupIcon), IMAGE_ICON, 32, 32, 0));
}

void setIcon(HWND dialog, HICON icon) {
  SendDlgItemMessageW(dialog, IDC_GROUP_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

bool isFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where the folder browser starts next time, for the whole run.
std::wstring& lastBrowsedFolder() {
  static std::wstring folder;
  return folder;
}

int CALLBACK browseCallback(HWND window, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

void GroupSheetState::setOkButton(HWND sheet, const std::wstring& label, bool enabled) const {
  if (!sheet) return;
  HWND ok = GetDlgItem(sheet, IDOK);
  if (!label.empty()) SetWindowTextW(ok, label.c_str());
  EnableWindow(ok, enabled);
}

// ---- Group page -------------------------------------------------------------

CSetGroupPage::CSetGroupPage(GroupSheetState& state)
    : CMappedDialog(IDD_GROUP_PAGE, state.context.resources), m_state(state) {
  m_title = state.group.title;
  m_checks = startUpChecksFromValue(state.group.startUp);
  m_buttonMode = std::clamp(state.group.buttonMode, 0, 2);
  if (!state.group.image.bits.empty()) m_icon.reset(iconFromImage(state.group.image));
  m_standard = !m_icon;
}

std::span<const fw::CommandEntry<CSetGroupPage>> CSetGroupPage::commandMap() {
  using P = CSetGroupPage;
  static const fw::CommandEntry<P> entries[] = {
      {IDC_GROUP_START, BN_CLICKED, &P::onStartClick},
      {IDC_GROUP_START_MINIMIZED, BN_CLICKED, &P::onMinimizedClick},
      {IDC_GROUP_START_HIDDEN, BN_CLICKED, &P::onHiddenClick},
      {IDC_GROUP_TITLE, EN_CHANGE, &P::onTitleEdited},
      {IDC_GROUP_CHANGE_ICON, BN_CLICKED, &P::onChangeIcon},
      {IDC_GROUP_STANDARD_ICON, BN_CLICKED, &P::onStandardPicture},
  };
  return entries;
}

bool CSetGroupPage::onInitDialog() {
  SendDlgItemMessageW(m_hwnd, IDC_GROUP_TITLE, EM_SETLIMITTEXT, 260, 0);
  for (unsigned id = IDS_BUTTON_MODE_LARGE; id <= IDS_BUTTON_MODE_SMALL; ++id)
    SendDlgItemMessageW(m_hwnd, IDC_GROUP_BUTTON_MODE, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(libraryString(m_state.context.resources, id).c_str()));
  if (!m_icon) m_icon.reset(standardIcon());
  updateData(false);
  showChecks();
  showIcon();
  return true;
}

void CSetGroupPage::doDataExchange(fw::DataExchange& dx) {
  dx.text(IDC_GROUP_TITLE, m_title);
  dx.comboSelection(IDC_GROUP_BUTTON_MODE, m_buttonMode);
  if (m_buttonMode < 0) m_buttonMode = 0;
}

bool CSetGroupPage::onSetActive() {
  m_state.registrationLast = false;
  updateOk();
  return true;
}

bool CSetGroupPage::onApply() {
  m_state.accepted = true;
  return true;
}

void CSetGroupPage::showChecks() {
  CheckDlgButton(m_hwnd, IDC_GROUP_START, m_checks.start ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hwnd, IDC_GROUP_START_MINIMIZED, m_checks.second ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hwnd, IDC_GROUP_START_HIDDEN, m_checks.third ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(item(IDC_GROUP_START_MINIMIZED), m_checks.start);
  EnableWindow(item(IDC_GROUP_START_HIDDEN), m_checks.start);
}

void CSetGroupPage::showIcon() {
  setIcon(m_hwnd, m_icon.get());
  EnableWindow(item(IDC_GROUP_STANDARD_ICON), !m_standard);
}

void CSetGroupPage::updateOk() {
  const bool titled = GetWindowTextLengthW(item(IDC_GROUP_TITLE)) > 0;
  m_state.setOkButton(sheetWindow(), m_state.okLabel, titled);
}

void CSetGroupPage::startClicked(int id, StartUpBox box) {
  m_checks = afterStartUpClick(m_checks, box, IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED);
  showChecks();
}

void CSetGroupPage::onStartClick() { startClicked(IDC_GROUP_START, StartUpBox::kStart); }
void CSetGroupPage::onMinimizedClick() { startClicked(IDC_GROUP_START_MINIMIZED, StartUpBox::kSecond); }
void CSetGroupPage::onHiddenClick() { startClicked(IDC_GROUP_START_HIDDEN, StartUpBox::kThird); }

void CSetGroupPage::onTitleEdited() { updateOk(); }

void CSetGroupPage::onChangeIcon() {
  if (!m_picker)
    m_picker = std::make_unique<IconPicker>(
        m_state.context.resources,
        m_state.context.settings ? &m_state.context.settings->iconDirectory : nullptr);
  // The group's picture and those of its items; the picker copies them.
  std::vector<fw::IconHandle> owned;
  IconSource source;
  source.kind = IconSource::Kind::kGroup;
  if (!m_state.group.image.bits.empty()) {
    owned.emplace_back(iconFromImage(m_state.group.image));
    source.groupPicture = owned.back().get();
  }
  for (const auto& it : m_state.group.items) {
    if (!it) continue;
    IconSource::GroupItem entry;
    if (!(it->flags & kItemIdList) && it->hasTarget()) entry.target = it->targetPath();
    if (!it->image.bits.empty()) {
      owned.emplace_back(iconFromImage(it->image));
      entry.picture = owned.back().get();
    }
    source.items.push_back(std::move(entry));
  }
  m_picker->setSource(std::move(source));
  auto choice = m_picker->pick(m_hwnd);
  if (!choice || !choice->icon) return;
  m_icon = std::move(choice->icon);
  m_standard = false;
  m_pictureChanged = true;
  showIcon();
}

void CSetGroupPage::onStandardPicture() {
  m_icon.reset(standardIcon());
  m_standard = true;
  m_pictureChanged = true;
  showIcon();
}

IconImage CSetGroupPage::pictureImage() const {
  if (m_standard || !m_icon) return {};
  return imageFromIcon(m_icon.get(), false, true);
}

// ---- Registration page ------------------------------------------------------

CRegGroupPage::CRegGroupPage(GroupSheetState& state, const CSetGroupPage* groupPage,
                             const RegisterFolder* given)
    : CMappedDialog(IDD_REGISTER_PAGE, state.context.resources), m_state(state), m_groupPage(groupPage) {
  if (state.context.settings) m_options = registerOptionsFromValue(state.context.settings->howGetSubFolder);
  m_options = shownRegisterOptions(m_options);
  if (given && (!given->path.empty() || !given->idList.empty())) {
    IdListBytes list = given->idList;
    std::wstring path = given->path;
    // A shell folder that has a path is taken as that path.
    if (!list.empty()) {
      if (PIDLIST_ABSOLUTE shell = idListToShell(list)) {
        wchar_t buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListW(shell, buffer) && buffer[0]) {
          path = buffer;
          list.clear();
        }
        CoTaskMemFree(shell);
      }
    }
    if (!list.empty()) {
      m_idList = std::move(list);
      m_folder = shellDisplayName(L"", m_idList);
      m_kind = 2;
    } else {
      m_folder = path;
      m_kind = 1;
    }
    m_newGroup = BST_CHECKED;
  }
  // A group still to be made cannot be left out: the files make it.
  if (state.group.sectionNumber == 0) m_newGroup = BST_INDETERMINATE;
}

std::span<const fw::CommandEntry<CRegGroupPage>> CRegGroupPage::commandMap() {
  using P = CRegGroupPage;
  static const fw::CommandEntry<P> entries[] = {
      {IDC_REG_SUBFOLDERS, BN_CLICKED, &P::onOptionClick},
      {IDC_REG_GROUP_PER_FOLDER, BN_CLICKED, &P::onOptionClick},
      {IDC_REG_FOLDERS_AS_ITEMS, BN_CLICKED, &P::onOptionClick},
      {IDC_REG_ONLY_WITH_FILES, BN_CLICKED, &P::onOptionClick},
      {IDC_REG_NEW_GROUP, BN_CLICKED, &P::onNewGroupClick},
      {IDC_REG_FOLDER, EN_CHANGE, &P::onFolderEdited},
      {IDC_REG_PATTERN, CBN_CLOSEUP, &P::onPatternClosed},
      {IDC_REG_BROWSE, BN_CLICKED, &P::onBrowse},
  };
  return entries;
}

bool CRegGroupPage::onInitDialog() {
  SendDlgItemMessageW(m_hwnd, IDC_REG_FOLDER, EM_SETLIMITTEXT, MAX_PATH, 0);
  SendDlgItemMessageW(m_hwnd, IDC_REG_PATTERN, CB_LIMITTEXT, 260, 0);
  const Settings* settings = m_state.context.settings;
  const std::wstring filter = libraryString(m_state.context.resources, IDS_ITEM_BROWSE_FILTER);
  for (const std::wstring& p : registerPatterns(filter, settings ? settings->wildCard : std::wstring()))
    SendDlgItemMessageW(m_hwnd, IDC_REG_PATTERN, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.c_str()));
  const int remembered = settings ? settings->selectDirectory.numbers[0] - 1 : 0;
  if (SendDlgItemMessageW(m_hwnd, IDC_REG_PATTERN, CB_SETCURSEL, std::max(0, remembered), 0) == CB_ERR)
    SendDlgItemMessageW(m_hwnd, IDC_REG_PATTERN, CB_SETCURSEL, 0, 0);
  SetDlgItemTextW(m_hwnd, IDC_REG_FOLDER, m_folder.c_str());
  if (m_kind != 0) {
    SendDlgItemMessageW(m_hwnd, IDC_REG_FOLDER, EM_SETREADONLY, TRUE, 0);
    EnableWindow(item(IDC_REG_BROWSE), FALSE);
  }
  if (m_kind == 2) EnableWindow(item(IDC_REG_PATTERN), FALSE);
  CheckDlgButton(m_hwnd, IDC_REG_NEW_GROUP, m_newGroup);
  EnableWindow(item(IDC_REG_NEW_GROUP), m_newGroup != BST_INDETERMINATE);
  showOptions();
  return true;
}

bool CRegGroupPage::onSetActive() {
  const std::wstring title = m_groupPage && m_groupPage->initialized()
                                 ? fw::windowText(GetDlgItem(*m_groupPage, IDC_GROUP_TITLE))
                                 : m_state.group.title;
  SetDlgItemTextW(m_hwnd, IDC_REG_GROUP_TITLE, title.c_str());
  HICON icon = m_groupPage && m_groupPage->initialized() ? m_groupPage->shownIcon() : nullptr;
  if (!icon) {
    if (!m_standardIcon) m_standardIcon.reset(standardIcon());
    icon = m_standardIcon.get();
  }
  setIcon(m_hwnd, icon);
  m_state.registrationLast = true;
  updateOk();
  return true;
}

bool CRegGroupPage::onKillActive() {
  m_folder = fw::windowText(item(IDC_REG_FOLDER));
  m_pattern = effectivePattern(fw::windowText(item(IDC_REG_PATTERN)));
  if (m_idList.empty() && !m_folder.empty()) {
    if (!isFolder(m_folder)) {
      showMessage(
          sheetWindow(),
          {.text = IDS_REGISTER_NO_FOLDER, .caption = IDS_REGISTER_NO_FOLDER_CAPTION, .insert = m_folder},
          MB_OK | MB_ICONEXCLAMATION);
      SetFocus(item(IDC_REG_FOLDER));
      return false;
    }
    lastBrowsedFolder() = m_folder;
  }
  return true;
}

bool CRegGroupPage::onApply() {
  m_state.accepted = true;
  if (m_state.context.settings) m_state.context.settings->howGetSubFolder = howGetSubFolderValue(m_options);
  return true;
}

RegisterFolder CRegGroupPage::folder() const {
  RegisterFolder out;
  if (!m_idList.empty())
    out.idList = m_idList;
  else
    out.path = m_folder;
  return out;
}

void CRegGroupPage::showOptions() {
  const RegisterEnabling enabled = registerEnabling(m_options);
  CheckDlgButton(m_hwnd, IDC_REG_SUBFOLDERS, m_options.subfolders ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hwnd, IDC_REG_GROUP_PER_FOLDER, m_options.groupPerFolder ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hwnd, IDC_REG_FOLDERS_AS_ITEMS, m_options.foldersAsItems ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hwnd, IDC_REG_ONLY_WITH_FILES, m_options.onlyWithFiles ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(item(IDC_REG_GROUP_PER_FOLDER), enabled.groupPerFolder);
  EnableWindow(item(IDC_REG_FOLDERS_AS_ITEMS), enabled.foldersAsItems);
  EnableWindow(item(IDC_REG_ONLY_WITH_FILES), enabled.onlyWithFiles);
}

void CRegGroupPage::updateOk() {
  const bool named = GetWindowTextLengthW(item(IDC_REG_FOLDER)) > 0;
  m_state.setOkButton(sheetWindow(), libraryString(m_state.context.resources, IDS_REGISTER_BUTTON), named);
}

void CRegGroupPage::onOptionClick() {
  static constexpr struct {
    int id;
    RegisterBox box;
  } boxes[] = {{IDC_REG_SUBFOLDERS, RegisterBox::kSubfolders},
               {IDC_REG_GROUP_PER_FOLDER, RegisterBox::kGroupPerFolder},
               {IDC_REG_FOLDERS_AS_ITEMS, RegisterBox::kFoldersAsItems},
               {IDC_REG_ONLY_WITH_FILES, RegisterBox::kOnlyWithFiles}};
  const bool shown[] = {m_options.subfolders, m_options.groupPerFolder, m_options.foldersAsItems,
                        m_options.onlyWithFiles};
  for (size_t i = 0; i < std::size(boxes); ++i) {
    const bool checked = IsDlgButtonChecked(m_hwnd, boxes[i].id) == BST_CHECKED;
    if (checked != shown[i]) {
      m_options = afterRegisterClick(m_options, boxes[i].box, checked);
      break;
    }
  }
  showOptions();
}

void CRegGroupPage::onNewGroupClick() {
  UINT state = IsDlgButtonChecked(m_hwnd, IDC_REG_NEW_GROUP);
  // The third state belongs to a group still to be made, never to a click.
  if (state == BST_INDETERMINATE) state = BST_UNCHECKED;
  CheckDlgButton(m_hwnd, IDC_REG_NEW_GROUP, state);
  m_newGroup = state;
}

void CRegGroupPage::onFolderEdited() { updateOk(); }

void CRegGroupPage::onPatternClosed() {
  const LRESULT selected = SendDlgItemMessageW(m_hwnd, IDC_REG_PATTERN, CB_GETCURSEL, 0, 0);
  if (selected != CB_ERR && m_state.context.settings)
    m_state.context.settings->selectDirectory.numbers[0] = static_cast<int>(selected) + 1;
}

void CRegGroupPage::onBrowse() {
  const std::wstring title = libraryString(m_state.context.resources, IDS_REGISTER_BROWSE_TITLE);
  const std::wstring start = lastBrowsedFolder();
  BROWSEINFOW info{};
  info.hwndOwner = m_hwnd;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_NEWDIALOGSTYLE;
  info.lpfn = browseCallback;
  info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return;
  wchar_t path[MAX_PATH] = {};
  if (SHGetPathFromIDListW(chosen, path) && path[0]) {
    m_idList.clear();
    m_folder = path;
    SendDlgItemMessageW(m_hwnd, IDC_REG_FOLDER, EM_SETREADONLY, FALSE, 0);
    EnableWindow(item(IDC_REG_PATTERN), TRUE);
  } else {
    m_idList = idListCopy(idListBytes(chosen));
    m_folder = shellDisplayName(L"", m_idList);
    SendDlgItemMessageW(m_hwnd, IDC_REG_FOLDER, EM_SETREADONLY, TRUE, 0);
    EnableWindow(item(IDC_REG_PATTERN), FALSE);
  }
  CoTaskMemFree(chosen);
  SetDlgItemTextW(m_hwnd, IDC_REG_FOLDER, m_folder.c_str());
  updateOk();
}

// ---- The sheet --------------------------------------------------------------

class CSetGroupSheet : public fw::CPropertySheet {
 public:
  CSetGroupSheet(GroupSheetState& state, const RegisterFolder* given)
      : m_state(state), m_given(given != nullptr) {
    if (!given) {
      m_groupPage = std::make_unique<CSetGroupPage>(state);
      addPage(m_groupPage.get());
    }
    m_regPage = std::make_unique<CRegGroupPage>(state, m_groupPage.get(), given);
    addPage(m_regPage.get());
    const std::wstring& title = state.group.title;
    setCaption(title.empty() ? libraryString(state.context.resources, IDS_GROUP_UNTITLED) : title);
    setFlags(PSH_PROPTITLE | PSH_NOAPPLYNOW);
  }
  CSetGroupPage* groupPage() const { return m_groupPage.get(); }
  CRegGroupPage* regPage() const { return m_regPage.get(); }

 protected:
  void onInitialized() override {
    m_state.okLabel = fw::windowText(GetDlgItem(hwnd(), IDOK));
    if (m_given) {
      // A dropped folder: in the middle of the screen.
      RECT sheet{};
      GetWindowRect(hwnd(), &sheet);
      POINT centre{GetSystemMetrics(SM_CXSCREEN) / 2,
                   GetSystemMetrics(SM_CYSCREEN) / 2 + (sheet.bottom - sheet.top) / 3};
      placeWindow(hwnd(), &centre, PlaceZ::Keep, true, 0);
    } else {
      POINT pointer{};
      GetCursorPos(&pointer);
      placeWindow(hwnd(), &pointer, PlaceZ::Keep, true, 0);
    }
  }

 private:
  GroupSheetState& m_state;
  bool m_given;
  std::unique_ptr<CSetGroupPage> m_groupPage;
  std::unique_ptr<CRegGroupPage> m_regPage;
};

namespace {

// Runs the scan under the progress dialog; false when it was cancelled.
bool scanIntoBar(HWND owner, const RegisterFolder& folder, uint32_t mode, const std::wstring& patterns,
                 const GroupSheetContext& context) {
  ProgressDialog progress(context.resources);
  if (!progress.open(owner, IDS_REGISTER_PROGRESS)) FW_TRACE_FAILURE("ProgressDialog::open");
  bool stopped = false;
  DWORD lastPump = GetTickCount();
  unsigned queued = 0;
  // Listing a folder is quick and making a button is not: the bar makes the
  // queued buttons a few at a time, so that Cancel is seen between them.
  // Pumping lets the Cancel button work; doing it for every file would
  // repaint the bar for every file.
  const CancelCheck cancelled = [&] {
    if (++queued >= kAddBatch && context.bar) {
      queued = 0;
      SendMessageW(context.bar, kMsgAddRequestsQueued, 0, 0);
    }
    const DWORD now = GetTickCount();
    if (now - lastPump < kPumpIntervalMs) return false;
    lastPump = now;
    stopped = progress.cancelled();
    return stopped;
  };
  if (!folder.idList.empty()) {
    PIDLIST_ABSOLUTE list = idListToShell(folder.idList);
    if (list) findFiles(list, mode, context.bar, cancelled);
    CoTaskMemFree(list);
  } else {
    findFiles(folder.path, mode, patterns, context.bar, cancelled);
  }
  // The last requests wait in the bar's queue: it takes them now, while the
  // group they belong to is still the active one (work deferred behind the
  // sheet may change that as soon as the sheet ends).
  if (context.bar) SendMessageW(context.bar, kMsgAddRequestsQueued, 0, 0);
  if (progress.cancelled()) stopped = true;
  progress.close();
  return !stopped;
}

// Applies the group page to the group (made now when it is still the placeholder).
int applyGroupPage(GroupTable& groups, int index, const CSetGroupPage& page) {
  const std::wstring title = page.title();
  if (static_cast<size_t>(index) == groups.placeholderIndex()) {
    const auto made = groups.ensureGroup(index, &title, false);
    if (!made) return -1;
    index = *made;
  }
  Group& g = groups[static_cast<size_t>(index)];
  g.title = title;
  g.startUp = page.startUp();
  g.buttonMode = page.buttonMode();
  if (page.pictureChanged()) g.image = page.pictureImage();
  groups.saveGroupHeader(index, true);
  groups.saveOrder();
  return index;
}

bool runSheet(HWND owner, int group, const RegisterFolder* given, const GroupSheetContext& context) {
  if (!context.groups) return false;
  GroupTable& groups = *context.groups;
  if (group < 1 || static_cast<size_t>(group) > groups.placeholderIndex()) return false;
  ModalBusy::Scope modal(context.busy);
  // The sheet works on a copy: anything that runs while it is open cannot
  // pull the group from under it.
  Group copy;
  {
    const Group& g = groups[static_cast<size_t>(group)];
    copy.title = g.title;
    copy.startUp = g.startUp;
    copy.buttonMode = g.buttonMode;
    copy.sectionNumber = g.sectionNumber;
    copy.image = g.image;
    for (const auto& it : g.items) copy.items.push_back(it ? std::make_unique<Item>(*it) : nullptr);
  }
  GroupSheetState state{context, copy, false, false, {}};
  CSetGroupSheet sheet(state, given);
  // Wine answers a positive number for OK as for Finish: OK is what the pages saw.
  sheet.doModal(owner);
  if (!state.accepted) return false;

  // The group again, by its section: its index may have changed meanwhile.
  int index = groupIndexBySection(groups, copy.sectionNumber);
  if (index < 1) return false;
  const CSetGroupPage* page = sheet.groupPage();
  if (state.registrationLast) {
    const CRegGroupPage& reg = *sheet.regPage();
    const bool newGroup = reg.newGroup();
    if (!newGroup && page) {
      index = applyGroupPage(groups, index, *page);
    } else if (!newGroup && static_cast<size_t>(index) == groups.placeholderIndex()) {
      // A folder dropped on the empty end of the bar: a group named after it.
      const RegisterFolder folder = reg.folder();
      std::wstring title = shellDisplayName(folder.path, folder.idList);
      const auto made = groups.ensureGroup(index, title.empty() ? nullptr : &title, false);
      index = made ? *made : -1;
    }
    if (index < 1) return false;
    groups.activeGroup = index;
    const int how =
        context.settings ? context.settings->howGetSubFolder : howGetSubFolderValue(reg.options());
    scanIntoBar(owner, reg.folder(), registerScanMode(how, newGroup), reg.pattern(), context);
    return true;
  }
  if (page) applyGroupPage(groups, index, *page);
  return true;
}

}  // namespace

bool openGroupSheet(HWND owner, int group, const GroupSheetContext& context) {
  return runSheet(owner, group, nullptr, context);
}

bool registerDroppedFolder(HWND owner, int group, const RegisterFolder& folder,
                           const GroupSheetContext& context) {
  return runSheet(owner, group, &folder, context);
}

RegisterFolder systemFolder(int csidl, bool asIdList) {
  RegisterFolder out;
  PIDLIST_ABSOLUTE list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return out;
  wchar_t path[MAX_PATH] = {};
  if (!asIdList && SHGetPathFromIDListW(list, path) && path[0])
    out.path = path;
  else
    out.idList = idListCopy(idListBytes(list));
  CoTaskMemFree(list);
  return out;
}

bool registerFolderNow(HWND owner, int group, const RegisterFolder& folder, int howGetSubFolder,
                       const std::wstring& patterns, const GroupSheetContext& context) {
  if (!context.groups || (folder.path.empty() && folder.idList.empty())) return false;
  if (folder.idList.empty() && !isFolder(folder.path)) return false;
  GroupTable& groups = *context.groups;
  if (group < 1 || static_cast<size_t>(group) > groups.placeholderIndex()) return false;
  ModalBusy::Scope modal(context.busy);
  groups.activeGroup = group;
  return scanIntoBar(owner, folder, registerScanMode(howGetSubFolder, false), effectivePattern(patterns),
                     context);
}

}  // namespace vorbin
