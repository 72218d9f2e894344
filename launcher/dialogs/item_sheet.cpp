// The item property sheet: its two pages, the write-back on OK, and the
// shell's own pages and property sheet of the target.
#include "launcher/dialogs/item_sheet.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "framework/com.h"
#include "framework/trace.h"
#include "launcher/dialogs/item_sheet_pages.h"
#include "launcher/dialogs/item_sheet_rules.h"
#include "launcher/dialogs/url_page.h"
#include "launcher/interact/launch_item.h"
#include "launcher/render/icon_convert.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/shell_pages.h"
#include "launcher/services/shortcut_files.h"
#include "launcher/services/shortcut_reader.h"
#include "launcher/widgets/program_picker.h"
#include "launcher/widgets/user_message.h"

namespace vorbin {
namespace {

std::wstring itemText(HWND dialog, int id) { return fw::windowText(GetDlgItem(dialog, id)); }

std::wstring libraryString(HINSTANCE resources, unsigned id) {
  return resourceStringOrLoaded(resources, id, kMediumString);
}

// The program part of a command (the folder itself for folder items), resolved.
std::wstring resolvedTarget(const std::wstring& command, uint32_t flags) {
  Win32LaunchSystem sys;
  const std::wstring path =
      (flags & kItemFolder) ? withoutQuotes(command) : splitCommand(command, sys).program;
  if (path.empty()) return {};
  const FoundFile found = findFile(path, sys);
  return found.result ? found.path : path;
}

}  // namespace

// ---- Common page ------------------------------------------------------------

CSetApplComPage::CSetApplComPage(Item& item, unsigned options, const ItemSheetContext& context)
    : CMappedDialog(IDD_ITEM_COMMON, context.resources),
      m_item(item),
      m_context(context),
      m_noImage((options & 1) != 0),
      m_iconPicker(context.resources, context.settings ? &context.settings->iconDirectory : nullptr) {
  m_title = item.title;
  m_showIndex = static_cast<int>(item.flags & kItemShowMask);
  m_flags = item.flags & ~kItemShowMask & kItemFlagBits;
  if ((item.flags & kItemIdList) && item.hasTarget()) {
    m_idList = item.target;
    m_idListTarget = true;
  } else if (item.flags & kItemFolder) {
    m_command = item.folder;
  } else {
    m_command = item.targetPath();
    m_folder = item.folder;
  }
  m_hotKey = item.hotKey;
  m_comment = item.text5;
  m_runAs = (item.flags & kItemRunAs) != 0;
  m_separate = (item.flags & kItemSeparateVdm) != 0;
  m_before = pictureSource();
}

PictureSource CSetApplComPage::pictureSource() const {
  PictureSource source;
  source.flags = m_flags;
  source.idList = m_idList;
  if (!m_idListTarget) {
    Win32LaunchSystem sys;
    source.path = (m_flags & kItemFolder) ? withoutQuotes(m_command) : splitCommand(m_command, sys).program;
  }
  return source;
}

std::span<const fw::CommandEntry<CSetApplComPage>> CSetApplComPage::commandMap() {
  using P = CSetApplComPage;
  static const fw::CommandEntry<P> entries[] = {
      {IDC_ITEM_COMMAND, EN_CHANGE, &P::onTargetEdited},
      {IDC_ITEM_FOLDER, CBN_EDITCHANGE, &P::onTargetEdited},
      {IDC_ITEM_FOLDER, CBN_SELCHANGE, &P::onTargetEdited},
      {IDC_ITEM_BROWSE, BN_CLICKED, &P::onBrowse},
      {IDC_ITEM_CHANGE_ICON, BN_CLICKED, &P::onChangeIcon},
      {IDC_ITEM_TARGET_PROPERTIES, BN_CLICKED, &P::onTargetProperties},
  };
  return entries;
}

bool CSetApplComPage::onInitDialog() {
  if (m_idListTarget) m_command = shellDisplayName(L"", m_idList);
  verifyTarget(1);
  SendDlgItemMessageW(m_hwnd, IDC_ITEM_COMMAND, EM_SETLIMITTEXT, kMaxCommandChars, 0);
  // The folder text stays as stored (variables and all) until the user moves through the combo.
  m_folderCombo.attach(item(IDC_ITEM_FOLDER), m_folder, false);
  SendDlgItemMessageW(m_hwnd, IDC_ITEM_FOLDER, CB_LIMITTEXT, kMaxCommandChars, 0);
  SendDlgItemMessageW(m_hwnd, IDC_ITEM_COMMENT, EM_SETLIMITTEXT, kMaxCommentChars, 0);
  SendDlgItemMessageW(m_hwnd, IDC_ITEM_TITLE, EM_SETLIMITTEXT, kMaxCommandChars, 0);
  for (unsigned id = IDS_SHOW_NORMAL; id <= IDS_SHOW_HIDDEN; ++id)
    SendDlgItemMessageW(m_hwnd, IDC_ITEM_SHOW, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(libraryString(m_context.resources, id).c_str()));
  // A key typed without a modifier gets Control+Alt, as the item stores it.
  SendDlgItemMessageW(m_hwnd, IDC_ITEM_HOT_KEY, HKM_SETRULES, HKCOMB_NONE, HOTKEYF_CONTROL | HOTKEYF_ALT);
  if (!m_noImage) m_icon.reset(iconFromImage(m_item.image));
  if (!m_icon) {
    // No picture of its own: the one the target would give it.
    const std::wstring path = m_idListTarget ? L"" : resolvedTarget(m_command, m_flags);
    ItemIconSource source{
        .iconFile = {},
        .iconIndex = 0,
        .path = path,
        .idList = m_idListTarget ? std::span<const uint8_t>(m_idList) : std::span<const uint8_t>(),
        .flags = m_flags};
    IconImage shown;
    m_icon.reset(imageForItem(source, shown, nullptr, false));
  }
  showIcon();
  if (m_idListTarget) SendDlgItemMessageW(m_hwnd, IDC_ITEM_COMMAND, EM_SETREADONLY, TRUE, 0);
  updateRunAs(true);
  updateData(false);
  updateButtons();
  return true;
}

void CSetApplComPage::doDataExchange(fw::DataExchange& dx) {
  dx.text(IDC_ITEM_TITLE, m_title);
  dx.text(IDC_ITEM_COMMAND, m_command);
  dx.text(IDC_ITEM_FOLDER, m_folder);
  dx.text(IDC_ITEM_TYPE_NAME, m_typeName);
  dx.text(IDC_ITEM_KIND_TEXT, m_kindText);
  dx.text(IDC_ITEM_COMMENT, m_comment);
  dx.comboSelection(IDC_ITEM_SHOW, m_showIndex);
  dx.check(IDC_ITEM_RUN_AS, m_runAs);
  dx.check(IDC_ITEM_SEPARATE, m_separate);
  if (dx.saving()) {
    m_hotKey = itemHotKeyFromControl(
        static_cast<uint16_t>(SendDlgItemMessageW(m_hwnd, IDC_ITEM_HOT_KEY, HKM_GETHOTKEY, 0, 0)));
    m_separateEnabled = IsWindowEnabled(item(IDC_ITEM_SEPARATE)) != FALSE;
    if (m_showIndex < 0) m_showIndex = 0;
  } else {
    SendDlgItemMessageW(m_hwnd, IDC_ITEM_HOT_KEY, HKM_SETHOTKEY, m_hotKey, 0);
  }
}

bool CSetApplComPage::onSetActive() {
  const bool folderItem = (m_flags & kItemFolder) != 0;
  EnableWindow(item(IDC_ITEM_FOLDER), !folderItem && !m_idListTarget);
  if (folderItem) {
    if (!m_folder.empty()) {
      m_command = m_folder;
      m_folder.clear();
    }
    m_kindText = libraryString(m_context.resources,
                               (m_flags & kItemRootOrFind) ? IDS_KIND_FOLDER_ROOT_OR_FIND : IDS_KIND_FOLDER);
    if (m_flags & kItemExplorer) m_kindText += L" " + libraryString(m_context.resources, IDS_KIND_EXPLORER);
  } else if (m_flags & kItemPrompt) {
    Win32LaunchSystem sys;
    if (m_folder.empty() && !m_command.empty() && sys.isFolder(withoutQuotes(m_command))) {
      m_folder = withoutQuotes(m_command);
      m_command.clear();
    }
    m_kindText = libraryString(m_context.resources, IDS_KIND_PROMPT);
  } else {
    m_kindText = libraryString(m_context.resources, (m_flags & kItemUrl) ? IDS_KIND_URL : IDS_KIND_PROGRAM);
  }
  updateData(false);
  updateButtons();
  return true;
}

bool CSetApplComPage::onKillActive() {
  if (!updateData(true)) return false;
  if (!verifyTarget(-1)) return false;
  updateData(false);
  // The working folder must exist too; the check reports a bad one itself.
  if (!(m_flags & kItemFolder) && !trimBlanks(m_folder).empty()) {
    std::wstring folder = m_folder;
    LaunchContext context{m_hwnd, m_context.resources, {}};
    if (!checkFolder(folder, true, false, context)) return false;
  }
  return true;
}

bool CSetApplComPage::onApply() {
  m_accepted = true;
  return true;
}

bool CSetApplComPage::verifyTarget(int mode) {
  if (m_idListTarget) {
    PIDLIST_ABSOLUTE list = idListToShell(m_idList);
    m_targetExists = list && shellExists(list);
    if (list) CoTaskMemFree(list);
    m_typeName = shellTypeName(L"", m_idList);
    return true;
  }
  if (m_flags & kItemUrl) return true;
  Win32LaunchSystem sys;
  const bool folderItem = (m_flags & kItemFolder) != 0;
  std::wstring path, arguments;
  if (folderItem) {
    path = withoutQuotes(m_command);
  } else {
    SplitCommand split = splitCommand(m_command, sys);
    path = std::move(split.program);
    arguments = std::move(split.arguments);
  }
  if (path.empty()) {
    // A prompting item may have only its folder.
    m_targetExists = false;
    m_typeName.clear();
    return true;
  }
  const FoundFile found = findFile(path, sys);
  if (found.result == 0) {
    m_targetExists = false;
    if (mode == 1) {
      m_typeName =
          libraryString(m_context.resources, folderItem ? IDS_TYPE_FOLDER_MISSING : IDS_TYPE_FILE_MISSING);
      return true;
    }
    reportNotFound(path, folderItem, false, LaunchContext{m_hwnd, m_context.resources, {}});
    return false;
  }
  if (found.result == 1) path = found.path;
  if (mode == -1) {
    const ULONG attributes = shellAttributes(found.path.c_str(), SFGAO_FOLDER | SFGAO_FILESYSTEM);
    if (attributes & SFGAO_FOLDER)
      m_flags |= kItemFolder;
    else if (attributes & SFGAO_FILESYSTEM)
      m_flags &= ~kItemFolder;
  }
  m_command = (m_flags & kItemFolder) ? path : joinCommand(path, arguments);
  m_typeName = shellTypeName(found.path, {});
  m_targetExists = true;
  // Only 16-bit Windows programs, PIFs and the like may run in a space of their own.
  DWORD binaryType = 0;
  const bool ownSpaceMatters = GetBinaryTypeW(found.path.c_str(), &binaryType) && (binaryType & 2);
  if (m_hwnd && !ownSpaceMatters) {
    CheckDlgButton(m_hwnd, IDC_ITEM_SEPARATE, BST_CHECKED);
    m_separate = true;
  }
  if (m_hwnd) EnableWindow(item(IDC_ITEM_SEPARATE), ownSpaceMatters);
  return true;
}

void CSetApplComPage::updateRunAs(bool fromItem) {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  // The version is only compared with 5 (Windows 2000), which every supported system passes.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&version);
#pragma GCC diagnostic pop
  if (version.dwMajorVersion < 5) {
    ShowWindow(item(IDC_ITEM_RUN_AS), SW_HIDE);
    return;
  }
  const bool program = !(m_flags & (kItemFolder | kItemPrompt | kItemIdList | kItemUrl));
  const std::wstring target = program ? resolvedTarget(m_command, m_flags) : L"";
  const bool can = !target.empty() && hasVerb(target.c_str(), L"runas");
  EnableWindow(item(IDC_ITEM_RUN_AS), can);
  if (fromItem) m_runAs = can && m_runAs;
}

void CSetApplComPage::updateButtons() {
  const std::wstring command = itemText(m_hwnd, IDC_ITEM_COMMAND);
  const std::wstring folder = itemText(m_hwnd, IDC_ITEM_FOLDER);
  const bool ok = sheetAcceptable(command, folder, m_flags) || m_idListTarget;
  if (HWND sheet = sheetWindow()) EnableWindow(GetDlgItem(sheet, IDOK), ok);
  EnableWindow(item(IDC_ITEM_CHANGE_ICON), ok);
  EnableWindow(item(IDC_ITEM_TARGET_PROPERTIES), ok && m_targetExists && !(m_flags & kItemUrl));
}

void CSetApplComPage::onTargetEdited() {
  // Typing changes what the target is: whether it exists is known again when the page is left.
  updateButtons();
}

void CSetApplComPage::showIcon() {
  HICON shown = m_pickedIcon ? m_pickedIcon.get() : m_icon.get();
  SendDlgItemMessageW(m_hwnd, IDC_ITEM_ICON, STM_SETICON, reinterpret_cast<WPARAM>(shown), 0);
}

void CSetApplComPage::onBrowse() {
  updateData(true);
  PickRequest request;
  request.owner = m_hwnd;
  request.resources = m_context.resources;
  request.title = libraryString(m_context.resources, IDS_ITEM_BROWSE_TITLE);
  request.filter = libraryString(m_context.resources, IDS_ITEM_BROWSE_FILTER);
  if (m_context.settings) {
    request.filter += m_context.settings->wildCard;
    request.initialFolder = m_context.settings->selectDirectory.path;
    request.filterIndex = std::max(1, m_context.settings->selectDirectory.numbers[0]);
  }
  request.flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  const PickResult result = pickProgram(request);
  if (m_context.settings) {
    m_context.settings->selectDirectory.path = result.folder;
    m_context.settings->selectDirectory.numbers[0] = result.filterIndex;
  }
  std::wstring iconFile;
  int iconIndex = 0;
  if (result.folderButton && !result.folder.empty()) {
    m_folder.clear();
    m_flags = (m_flags & ~(kItemPrompt | kItemIdList)) | kItemFolder;
    m_idListTarget = false;
    m_idList.clear();
    m_command = result.folder;
  } else if (result.accepted && !result.files.empty()) {
    const std::wstring& chosen = result.files.front();
    if (auto link =
            readShortcutRecord(chosen, m_hwnd, libraryString(m_context.resources, IDS_SHORTCUT_DECORATION))) {
      m_showIndex = static_cast<int>(link->flags & kItemShowMask);
      m_hotKey = link->hotKey;
      if (!link->title.empty()) m_title = link->title;
      if (!link->comment.empty()) m_comment = link->comment;
      iconFile = link->iconFile;
      iconIndex = link->iconIndex;
      if (link->flags & kItemIdList) {
        m_idList = link->idList;
        m_idListTarget = true;
        m_flags = (m_flags & ~(kItemPrompt | kItemFolder)) | kItemIdList | (link->flags & kItemFolder);
        m_command = shellDisplayName(L"", m_idList);
      } else if (link->flags & (kItemFolder | kItemPrompt)) {
        m_flags = (m_flags & ~(kItemPrompt | kItemFolder | kItemIdList)) | (link->flags & kKindAndOptionBits);
        m_command = link->target;
        m_folder = (link->flags & kItemPrompt) ? link->folder : L"";
        m_idListTarget = false;
      } else {
        m_flags &= ~(kItemFolder | kItemPrompt | kItemIdList);
        m_command = link->target;
        m_folder = link->folder;
        m_idListTarget = false;
      }
    } else {
      m_command = quotedIfBlank(chosen);
      m_flags &= ~(kItemFolder | kItemIdList);
      m_idListTarget = false;
      m_idList.clear();
    }
  } else {
    return;
  }
  SendDlgItemMessageW(m_hwnd, IDC_ITEM_COMMAND, EM_SETREADONLY, m_idListTarget, 0);
  verifyTarget(1);
  rebuildShownIcon(iconFile, iconIndex);
  updateRunAs(false);
  updateData(false);
  onSetActive();
}

void CSetApplComPage::rebuildShownIcon(const std::wstring& iconFile, int iconIndex) {
  const std::wstring path = m_idListTarget ? L"" : resolvedTarget(m_command, m_flags);
  ItemIconSource source{
      .iconFile = iconFile,
      .iconIndex = iconIndex,
      .path = path,
      .idList = m_idListTarget ? std::span<const uint8_t>(m_idList) : std::span<const uint8_t>(),
      .flags = m_flags};
  IconImage image;
  imageForItem(source, image, nullptr, true);
  if (image.bits.empty()) return;
  m_pickedImage = std::move(image);
  m_pickedIcon.reset(iconFromImage(m_pickedImage));
  showIcon();
}

void CSetApplComPage::onChangeIcon() {
  updateData(true);
  if (m_idListTarget)
    m_iconPicker.setSource(IconSource::shellIdList(m_idList));
  else if (m_flags & kItemFolder)
    m_iconPicker.setSource(IconSource::folder(resolvedTarget(m_command, m_flags)));
  else
    m_iconPicker.setSource(IconSource::file(resolvedTarget(m_command, m_flags)));
  auto choice = m_iconPicker.pick(m_hwnd);
  if (!choice || !choice->icon) return;
  m_pickedImage = imageFromIcon(choice->icon.get(), false, true);
  m_pickedIcon = std::move(choice->icon);
  showIcon();
}

void CSetApplComPage::onTargetProperties() {
  updateData(true);
  showTargetProperties(m_command, m_folder, m_flags, m_idList, m_hwnd);
}

// ---- Option page ------------------------------------------------------------

CSetApplOptPage::CSetApplOptPage(Item& item, CSetApplComPage& common, const ItemSheetContext& context)
    : CMappedDialog(IDD_ITEM_OPTIONS, context.resources), m_common(common), m_context(context) {
  m_pattern = (item.flags & kItemPrompt) ? item.text3 : L"";
}

std::span<const fw::CommandEntry<CSetApplOptPage>> CSetApplOptPage::commandMap() {
  using P = CSetApplOptPage;
  static const fw::CommandEntry<P> entries[] = {
      {IDC_KIND_FIRST, BN_CLICKED, &P::onKind},      {IDC_KIND_SECOND, BN_CLICKED, &P::onKind},
      {IDC_KIND_THIRD, BN_CLICKED, &P::onKind},      {IDC_OPTION_EXPLORER, BN_CLICKED, &P::onExplorer},
      {IDC_OPTION_ROOTED, BN_CLICKED, &P::onRooted}, {IDC_OPTION_FIND, BN_CLICKED, &P::onFind},
  };
  return entries;
}

bool CSetApplOptPage::onInitDialog() {
  SendDlgItemMessageW(m_hwnd, IDC_ITEM_PATTERN, CB_LIMITTEXT, kMaxPatternChars, 0);
  if (m_context.settings)
    for (const std::wstring& pattern : wildCardPatterns(m_context.settings->wildCard))
      SendDlgItemMessageW(m_hwnd, IDC_ITEM_PATTERN, CB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(pattern.c_str()));
  SetDlgItemTextW(m_hwnd, IDC_ITEM_PATTERN, m_pattern.c_str());
  return true;
}

bool CSetApplOptPage::onSetActive() {
  m_options = kindOptionsFromFlags(m_common.flags());
  SetDlgItemTextW(m_hwnd, IDC_ITEM_KIND_TEXT, m_common.title().c_str());
  showOptions();
  return true;
}

bool CSetApplOptPage::onKillActive() {
  m_pattern = itemText(m_hwnd, IDC_ITEM_PATTERN).substr(0, kMaxPatternChars);
  m_common.setFlags(flagsWithKindOptions(m_common.flags(), m_options));
  return true;
}

void CSetApplOptPage::showOptions() {
  CheckRadioButton(m_hwnd, IDC_KIND_FIRST, IDC_KIND_THIRD, IDC_KIND_FIRST + m_options.kind);
  CheckDlgButton(m_hwnd, IDC_OPTION_EXPLORER, m_options.explorer ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hwnd, IDC_OPTION_ROOTED, m_options.rooted ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(m_hwnd, IDC_OPTION_FIND, m_options.find ? BST_CHECKED : BST_UNCHECKED);
  const OptionEnabling enabled = optionEnabling(m_options);
  for (int id = IDC_KIND_FIRST; id <= IDC_KIND_THIRD; ++id) EnableWindow(item(id), !m_common.idListTarget());
  EnableWindow(item(IDC_ITEM_PATTERN), enabled.pattern);
  EnableWindow(item(IDC_OPTION_EXPLORER), enabled.explorer);
  EnableWindow(item(IDC_OPTION_ROOTED), enabled.rooted);
  EnableWindow(item(IDC_OPTION_FIND), enabled.find);
}

void CSetApplOptPage::onKind() {
  for (int k = 0; k < 3; ++k)
    if (IsDlgButtonChecked(m_hwnd, IDC_KIND_FIRST + k) == BST_CHECKED) m_options.kind = k;
  showOptions();
}

void CSetApplOptPage::onOption(OptionBox box, int id) {
  m_options = afterOptionClick(m_options, box, IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED);
  showOptions();
}

// ---- The sheet --------------------------------------------------------------

CSetApplSheet::CSetApplSheet(Item& item, unsigned options, const ItemSheetContext& context)
    : m_item(item), m_context(context) {
  m_common = std::make_unique<CSetApplComPage>(item, options, context);
  m_options = std::make_unique<CSetApplOptPage>(item, *m_common, context);
  addPage(m_common.get());
  addPage(m_options.get());
  if (item.flags & kItemUrl) {
    m_url = std::make_unique<CSetUrl>(
        item.text4, [this] { return m_common->command(); },
        ThumbnailContext{.settings = context.settings, .profile = nullptr, .resources = context.resources});
    addPage(m_url.get());
  }
  setCaption(item.title);
  // "Properties for <title>"; OK and Cancel only.
  setFlags(PSH_PROPTITLE | PSH_NOAPPLYNOW);
}

CSetApplSheet::~CSetApplSheet() = default;

void CSetApplSheet::onInitialized() {
  // At the pointer: centred across it, a third of the sheet above it, inside the monitor's work area.
  POINT pointer{};
  GetCursorPos(&pointer);
  RECT sheet{};
  GetWindowRect(hwnd(), &sheet);
  const int width = sheet.right - sheet.left, height = sheet.bottom - sheet.top;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  int x = pointer.x - width / 2, y = pointer.y - height / 3;
  x = std::max<int>(work.left, std::min<int>(x, work.right - width));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  addShellPagesFor(m_shellFile);
}

void CSetApplSheet::addShellPagesFor(const std::wstring& file) {
  if (file.empty()) return;
  const size_t dot = file.rfind(L'.');
  if (dot == std::wstring::npos || file.find(L'\\', dot) != std::wstring::npos) return;
  // The data object the handlers are initialised with: the file through its parent folder.
  PIDLIST_ABSOLUTE list = pathToIdList(file.c_str());
  if (!list) return;
  fw::ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD child = nullptr;
  fw::ComPtr<IDataObject> data;
  if (SUCCEEDED(SHBindToParent(list, IID_IShellFolder, parent.putVoid(), &child)))
    parent->GetUIObjectOf(hwnd(), 1, &child, IID_IDataObject, nullptr, data.putVoid());
  CoTaskMemFree(list);
  if (!data) return;
  std::vector<HPROPSHEETPAGE> pages;
  addShellPages(file.c_str() + dot, data.get(), pages, CLSID_NULL);
  for (HPROPSHEETPAGE page : pages)
    if (!PropSheet_AddPage(hwnd(), page)) DestroyPropertySheetPage(page);
}

bool CSetApplSheet::run(HWND owner, const std::wstring& shellFile) {
  m_shellFile = shellFile;
  if (m_shellFile.empty() && !(m_item.flags & (kItemIdList | kItemUrl)))
    m_shellFile = resolvedTarget(m_common->command(), m_item.flags);
  // The sheet's own result differs between systems (Wine answers a positive
  // number for OK as for Finish): OK is what the pages saw. Moving through
  // the folder combo changes the process's current folder: it is put back.
  wchar_t current[MAX_PATH] = {};
  const DWORD currentLength = GetCurrentDirectoryW(MAX_PATH, current);
  doModal(owner);
  if (currentLength > 0 && currentLength < MAX_PATH) SetCurrentDirectoryW(current);
  if (!m_common->accepted()) {
    if (m_url) m_url->discardNewFile();
    return false;
  }
  m_common->commit(m_options->pattern());
  if (m_url) m_replacedPicture = m_url->commitTo(m_item);
  return true;
}

void CSetApplComPage::commit(const std::wstring& pattern) {
  Item& it = m_item;
  uint32_t flags = m_flags;
  const bool folderItem = (flags & kItemFolder) != 0;
  if (!folderItem) flags &= ~(kItemExplorer | kItemRootOrFind);
  if (folderItem && !trimBlanks(m_folder).empty()) {
    m_command = m_folder;
    m_folder.clear();
  }
  // The picture: a picked one unless it equals the item's; otherwise made
  // again only when what it shows changed.
  PictureSource after = pictureSource();
  after.flags = flags;
  if (!m_pickedImage.bits.empty()) {
    if (!(m_pickedImage.bits == it.image.bits && m_pickedImage.depth == it.image.depth))
      it.image = m_pickedImage;
  } else if (pictureNeedsRebuild(m_before, after)) {
    const std::wstring path = m_idListTarget ? L"" : resolvedTarget(m_command, flags);
    ItemIconSource source{
        .iconFile = {},
        .iconIndex = 0,

        .path = path,
        .idList = m_idListTarget ? std::span<const uint8_t>(m_idList) : std::span<const uint8_t>(),
        .flags = flags};
    IconImage image;
    imageForItem(source, image, nullptr, true);
    if (!image.bits.empty()) it.image = std::move(image);
  }
  if (trimBlanks(m_title).empty())
    m_title = shellDisplayName(m_idListTarget ? L"" : resolvedTarget(m_command, flags),
                               m_idListTarget ? m_idList : IdListBytes{});

  flags = (flags & ~(kItemShowMask | kItemSeparateVdm | kItemRunAs)) | static_cast<uint32_t>(m_showIndex & 3);
  if (m_separateEnabled && m_separate) flags |= kItemSeparateVdm;
  if (m_runAs && !m_idListTarget && !folderItem && !trimBlanks(m_command).empty() &&
      hasVerb(resolvedTarget(m_command, flags).c_str(), L"runas"))
    flags |= kItemRunAs;

  it.flags = (it.flags & ~kItemFlagBits) | flags;
  it.title = trimBlanks(m_title);
  if (m_idListTarget) {
    it.target = m_idList;
  } else if (folderItem) {
    it.target.clear();
    it.folder = withoutQuotes(m_command);
  } else {
    it.setTargetPath(trimBlanks(m_command));
    it.folder = withoutQuotes(m_folder);
  }
  if (m_context.groups)
    m_context.groups->setItemHotKey(it, m_hotKey);
  else
    it.hotKey = m_hotKey;
  // A web link keeps its icon location in the pattern's text.
  if (!(flags & kItemUrl)) it.text3 = (flags & kItemPrompt) ? pattern : L"";
  it.text5 = boundedComment(m_comment);
}

// ---- The target's own properties --------------------------------------------

namespace {

// The "properties" command of the target's own context menu, found by its
// verb (the command numbers differ between systems).
bool propertiesFromContextMenu(PCIDLIST_ABSOLUTE list, HWND owner) {
  fw::ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD child = nullptr;
  fw::ComPtr<IContextMenu> menu;
  if (FAILED(SHBindToParent(list, IID_IShellFolder, parent.putVoid(), &child)) ||
      FAILED(parent->GetUIObjectOf(owner, 1, &child, IID_IContextMenu, nullptr, menu.putVoid())) || !menu)
    return false;
  HMENU popup = CreatePopupMenu();
  if (!popup) return false;
  constexpr UINT kFirst = 1, kLast = 0x7FFF;
  bool invoked = false;
  if (SUCCEEDED(menu->QueryContextMenu(popup, 0, kFirst, kLast, CMF_NORMAL))) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count && !invoked; ++i) {
      const UINT id = GetMenuItemID(popup, i);
      if (id == static_cast<UINT>(-1) || id < kFirst) continue;
      char verb[64] = {};
      if (FAILED(menu->GetCommandString(id - kFirst, GCS_VERBA, nullptr, verb, sizeof(verb) - 1))) continue;
      if (lstrcmpiA(verb, "properties") != 0) continue;
      CMINVOKECOMMANDINFO info{};
      info.cbSize = sizeof(info);
      info.hwnd = owner;
      info.lpVerb = MAKEINTRESOURCEA(id - kFirst);
      info.nShow = SW_SHOWNORMAL;
      const HRESULT hr = menu->InvokeCommand(&info);
      if (FAILED(hr)) FW_TRACE_FAILURE_CODE("IContextMenu::InvokeCommand", static_cast<DWORD>(hr));
      invoked = SUCCEEDED(hr);
    }
  }
  DestroyMenu(popup);
  return invoked;
}

}  // namespace

bool showTargetProperties(const std::wstring& command, const std::wstring& folder, uint32_t flags,
                          const std::vector<uint8_t>& idList, HWND owner) {
  if (flags & kItemUrl) return false;
  PIDLIST_ABSOLUTE list = nullptr;
  std::wstring path;
  if ((flags & kItemIdList) && !idList.empty()) {
    list = idListToShell(idList);
  } else {
    path = (flags & kItemPrompt) && !trimBlanks(folder).empty() ? withoutQuotes(folder)
                                                                : resolvedTarget(command, flags);
    if (!path.empty() && shellExists(path.c_str())) list = pathToIdList(path.c_str());
  }
  if (!list) {
    showMessage(owner,
                {.text = IDS_NO_PROPERTIES,
                 .caption = 0,
                 .insert = path.empty() ? command : path,
                 .count = std::nullopt,
                 .library = nullptr},
                MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  // The target's own context menu first: Wine's ShellExecuteEx ignores the
  // verb and would start the program instead of showing its properties.
  bool opened = propertiesFromContextMenu(list, owner);
  if (!opened) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = owner;
    info.lpVerb = L"properties";
    info.lpIDList = list;
    info.nShow = SW_SHOW;
    opened = ShellExecuteExW(&info) != FALSE;
    if (!opened) FW_TRACE_FAILURE("ShellExecuteExW");
  }
  SetCursor(previous);
  CoTaskMemFree(list);
  return opened;
}

}  // namespace vorbin
