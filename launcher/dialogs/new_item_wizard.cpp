// The new-item wizard's two pages.
#include "launcher/dialogs/new_item_wizard.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "launcher/bar/item_request_rules.h"
#include "launcher/dialogs/item_sheet_rules.h"
#include "launcher/interact/launch_item.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/shell_helpers.h"
#include "launcher/services/shortcut_reader.h"

namespace vorbin {
namespace {

std::wstring dialogText(HWND dialog, int id) { return fw::windowText(GetDlgItem(dialog, id)); }

std::wstring libraryString(HINSTANCE resources, unsigned id) {
  return resourceStringOrLoaded(resources, id, kMediumString);
}

int CALLBACK browseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
  // Start where the last browse ended.
  if (msg == BFFM_INITIALIZED && data) SendMessageW(hwnd, BFFM_SETSELECTIONW, FALSE, data);
  return 0;
}

}  // namespace

// ---- Page 1: the target -----------------------------------------------------

class CNewPageTarget : public fw::CMappedDialog<CNewPageTarget, fw::CPropertyPage> {
 public:
  CNewPageTarget(CNewPropertySheet& sheet, const ItemSheetContext& context)
      : CMappedDialog(IDD_WIZARD_TARGET, context.resources), m_sheet(sheet), m_context(context) {}

  static std::span<const fw::CommandEntry<CNewPageTarget>> commandMap() {
    using P = CNewPageTarget;
    static const fw::CommandEntry<P> entries[] = {
        {IDC_WIZARD_TARGET, EN_CHANGE, &P::updateButtons},
        {IDC_ITEM_BROWSE, BN_CLICKED, &P::onBrowse},
    };
    return entries;
  }

 protected:
  bool onInitDialog() override {
    SendDlgItemMessageW(m_hwnd, IDC_WIZARD_TARGET, EM_SETLIMITTEXT, kMaxUrlFieldChars, 0);
    return true;
  }

  bool onSetActive() override {
    SetDlgItemTextW(m_hwnd, IDC_WIZARD_TARGET, m_sheet.m_choice.target.c_str());
    updateButtons();
    return true;
  }

  LRESULT onWizardNext() override {
    NewItemChoice& choice = m_sheet.m_choice;
    std::wstring text = trimBlanks(dialogText(m_hwnd, IDC_WIZARD_TARGET));
    const WizardTargetKind kind = wizardTargetKind(text, !m_browsedList.empty() && m_readOnly);
    switch (kind) {
      case WizardTargetKind::kIdList:
        choice.idList = m_browsedList;
        choice.title = shellDisplayName(L"", choice.idList);
        choice.target = text;
        choice.flags = wizardFlagsAfterTarget(kind, choice.flags, false);
        return 0;
      case WizardTargetKind::kUrl:
        choice.idList.clear();
        choice.target = text;
        choice.title = libraryString(m_context.resources, IDS_WEB_LINK_TITLE);
        choice.flags = wizardFlagsAfterTarget(kind, choice.flags, false);
        return 0;
      case WizardTargetKind::kPath:
        break;
    }
    if (text.size() > kMaxCommandChars) text.resize(kMaxCommandChars);
    Win32LaunchSystem sys;
    const SplitCommand split = splitCommand(text, sys);
    const FoundFile found = findFile(split.program, sys);
    if (split.program.empty() || found.result == 0) {
      // The user hears what is missing and stays on the page.
      reportNotFound(split.program.empty() ? text : split.program, false, false,
                     LaunchContext{m_hwnd, m_context.resources, {}});
      return -1;
    }
    if (found.result == 1) text = joinCommand(found.path, split.arguments);
    const std::wstring path = found.path.empty() ? split.program : found.path;
    const bool isFolder = sys.isFolder(path);
    choice.idList.clear();
    choice.target = text;
    choice.title = shellDisplayName(path, {});
    if (choice.title.empty()) choice.title = titleFromPath(path);
    choice.flags = wizardFlagsAfterTarget(kind, choice.flags, isFolder);
    return 0;
  }

 private:
  void updateButtons() {
    const bool filled = !trimBlanks(dialogText(m_hwnd, IDC_WIZARD_TARGET)).empty();
    if (HWND sheet = sheetWindow()) PropSheet_SetWizButtons(sheet, filled ? PSWIZB_NEXT : 0);
  }

  void onBrowse() {
    const std::wstring title = libraryString(m_context.resources, IDS_WIZARD_BROWSE_TITLE);
    PIDLIST_ABSOLUTE start = m_lastList.empty() ? nullptr : idListToShell(m_lastList);
    BROWSEINFOW info{};
    info.hwndOwner = m_hwnd;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_BROWSEINCLUDEFILES;
    info.lpfn = browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(start);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (start) CoTaskMemFree(start);
    if (!chosen) return;
    m_lastList = idListCopy(idListBytes(chosen));
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(chosen, path) && path[0]) {
      m_browsedList.clear();
      m_readOnly = false;
      SetDlgItemTextW(m_hwnd, IDC_WIZARD_TARGET, quotedIfBlank(path).c_str());
    } else {
      // A virtual object has no path: its name is shown and its list kept.
      m_browsedList = m_lastList;
      m_readOnly = true;
      SetDlgItemTextW(m_hwnd, IDC_WIZARD_TARGET, shellDisplayName(L"", m_browsedList).c_str());
    }
    SendDlgItemMessageW(m_hwnd, IDC_WIZARD_TARGET, EM_SETREADONLY, m_readOnly, 0);
    CoTaskMemFree(chosen);
    updateButtons();
  }

  CNewPropertySheet& m_sheet;
  ItemSheetContext m_context;
  std::vector<uint8_t> m_lastList, m_browsedList;
  bool m_readOnly = false;
};

// ---- Page 2: title, kind and options ----------------------------------------

class CNewPageName : public fw::CMappedDialog<CNewPageName, fw::CPropertyPage> {
 public:
  CNewPageName(CNewPropertySheet& sheet, const ItemSheetContext& context)
      : CMappedDialog(IDD_WIZARD_NAME, context.resources), m_sheet(sheet), m_context(context) {}

  static std::span<const fw::CommandEntry<CNewPageName>> commandMap() {
    using P = CNewPageName;
    static const fw::CommandEntry<P> entries[] = {
        {IDC_KIND_FIRST, BN_CLICKED, &P::onKind},      {IDC_KIND_SECOND, BN_CLICKED, &P::onKind},
        {IDC_KIND_THIRD, BN_CLICKED, &P::onKind},      {IDC_WIZARD_EXPLORER, BN_CLICKED, &P::onExplorer},
        {IDC_WIZARD_ROOTED, BN_CLICKED, &P::onRooted}, {IDC_WIZARD_FIND, BN_CLICKED, &P::onFind},
    };
    return entries;
  }

 protected:
  bool onInitDialog() override {
    SendDlgItemMessageW(m_hwnd, IDC_WIZARD_TITLE, EM_SETLIMITTEXT, kMaxCommandChars, 0);
    SendDlgItemMessageW(m_hwnd, IDC_ITEM_PATTERN, CB_LIMITTEXT, kMaxPatternChars, 0);
    if (m_context.settings)
      for (const std::wstring& pattern : wildCardPatterns(m_context.settings->wildCard))
        SendDlgItemMessageW(m_hwnd, IDC_ITEM_PATTERN, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(pattern.c_str()));
    return true;
  }

  bool onSetActive() override {
    if (HWND sheet = sheetWindow()) PropSheet_SetWizButtons(sheet, PSWIZB_BACK | PSWIZB_FINISH);
    const NewItemChoice& choice = m_sheet.m_choice;
    SetDlgItemTextW(m_hwnd, IDC_WIZARD_TITLE, choice.title.c_str());
    m_options = kindOptionsFromFlags(choice.flags);
    showOptions();
    return true;
  }

  LRESULT onWizardBack() override {
    keepChoice();
    return 0;
  }

  bool onWizardFinish() override {
    keepChoice();
    NewItemChoice& choice = m_sheet.m_choice;
    choice.flags = flagsWithKindOptions(choice.flags, m_options);
    if (!(choice.flags & kItemPrompt)) choice.pattern.clear();
    m_sheet.m_finished = true;
    return true;
  }

 private:
  void keepChoice() {
    NewItemChoice& choice = m_sheet.m_choice;
    choice.title = trimBlanks(dialogText(m_hwnd, IDC_WIZARD_TITLE));
    choice.pattern = dialogText(m_hwnd, IDC_ITEM_PATTERN).substr(0, kMaxPatternChars);
  }

  int wizardKind() const { return wizardKindFromOptionKind(m_options.kind); }

  void showOptions() {
    const uint32_t flags = m_sheet.m_choice.flags;
    const bool idList = (flags & kItemIdList) != 0, url = (flags & kItemUrl) != 0;
    const int kind = wizardKind();
    CheckRadioButton(m_hwnd, IDC_KIND_FIRST, IDC_KIND_THIRD, IDC_KIND_FIRST + kind);
    CheckDlgButton(m_hwnd, IDC_WIZARD_EXPLORER, m_options.explorer ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_WIZARD_ROOTED, m_options.rooted ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hwnd, IDC_WIZARD_FIND, m_options.find ? BST_CHECKED : BST_UNCHECKED);
    // A program stays a program; prompting and folder targets may switch between the two.
    const bool radios = (kind == 0 || kind == 1) && !idList && !url;
    EnableWindow(item(IDC_KIND_FIRST), radios);
    EnableWindow(item(IDC_KIND_SECOND), radios);
    EnableWindow(item(IDC_KIND_THIRD), FALSE);
    EnableWindow(item(IDC_WIZARD_KIND_GROUP), kind == 1 || radios);
    EnableWindow(item(IDC_ITEM_PATTERN), kind == 0);
    EnableWindow(item(IDC_WIZARD_PATTERN_LABEL), kind == 0);
    for (int id : {IDC_WIZARD_EXPLORER, IDC_WIZARD_FIND, IDC_WIZARD_EXPLORER_NOTE, IDC_WIZARD_FIND_NOTE})
      EnableWindow(item(id), kind == 1);
    EnableWindow(item(IDC_WIZARD_ROOTED), kind == 1 && m_options.explorer);
  }

  void onKind() {
    for (int k = 0; k < 3; ++k)
      if (IsDlgButtonChecked(m_hwnd, IDC_KIND_FIRST + k) == BST_CHECKED)
        m_options.kind = optionKindFromWizardKind(k);
    showOptions();
  }
  void onOption(OptionBox box, int id) {
    m_options = afterOptionClick(m_options, box, IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED);
    showOptions();
  }
  void onExplorer() { onOption(OptionBox::kExplorer, IDC_WIZARD_EXPLORER); }
  void onRooted() { onOption(OptionBox::kRooted, IDC_WIZARD_ROOTED); }
  void onFind() { onOption(OptionBox::kFind, IDC_WIZARD_FIND); }

  CNewPropertySheet& m_sheet;
  ItemSheetContext m_context;
  KindOptions m_options;
};

// ---- The wizard -------------------------------------------------------------

CNewPropertySheet::CNewPropertySheet(const ItemSheetContext& context) {
  m_target = std::make_unique<CNewPageTarget>(*this, context);
  m_name = std::make_unique<CNewPageName>(*this, context);
  addPage(m_target.get());
  addPage(m_name.get());
  // The pages carry the caption too: some systems show the page's title over a wizard.
  const std::wstring caption = libraryString(context.resources, IDS_WIZARD_CAPTION);
  m_target->setTitle(caption);
  m_name->setTitle(caption);
  setCaption(caption);
  setWizardMode();
}

CNewPropertySheet::~CNewPropertySheet() = default;

std::optional<NewItemChoice> CNewPropertySheet::run(HWND owner) {
  m_finished = false;
  m_choice = {};
  // The sheet's result for Finish differs between systems; the page saw it.
  doModal(owner);
  if (!m_finished) return std::nullopt;
  return m_choice;
}

}  // namespace vorbin
