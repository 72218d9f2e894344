// Property sheets and pages: the page object answers the sheet's
// notifications; the sheet object finds its window through a creation hook.
#include "framework/property_sheet.h"

#include "framework/app.h"
#include "framework/trace.h"

namespace fw {

namespace {
// The sheet being created on this thread; the system's callback has no user data.
thread_local CPropertySheet* t_creatingSheet = nullptr;
}  // namespace

CPropertyPage::CPropertyPage(UINT templateId, HINSTANCE resources)
    : CDialog(templateId, resources), m_pageTemplate(templateId), m_pageResources(resources) {}

PROPSHEETPAGEW CPropertyPage::pageDescription() {
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof(page);
  page.dwFlags = PSP_DEFAULT;
  // Same source as CDialog: the given library, else the application's resources.
  HINSTANCE res = m_pageResources;
  if (!res) {
    CApplication* app = CApplication::instance();
    res = app && app->resourceInstance() ? app->resourceInstance() : GetModuleHandleW(nullptr);
  }
  page.hInstance = res;
  page.pszTemplate = MAKEINTRESOURCEW(m_pageTemplate);
  page.pfnDlgProc = &CPropertyPage::pageProcedure;
  page.lParam = reinterpret_cast<LPARAM>(this);
  if (!m_title.empty()) {
    page.dwFlags |= PSP_USETITLE;
    page.pszTitle = m_title.c_str();
  }
  return page;
}

HPROPSHEETPAGE CPropertyPage::createPageHandle() {
  PROPSHEETPAGEW page = pageDescription();
  HPROPSHEETPAGE handle = CreatePropertySheetPageW(&page);
  if (!handle) FW_TRACE_FAILURE("CreatePropertySheetPageW");
  return handle;
}

void CPropertyPage::setModified(bool modified) {
  HWND sheet = sheetWindow();
  if (!sheet) return;
  SendMessageW(sheet, modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hwnd), 0);
}

INT_PTR CALLBACK CPropertyPage::pageProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The sheet passes the page description; the object is in its lParam.
  if (msg == WM_INITDIALOG && lParam && !CDialog::fromHandle(hwnd)) {
    auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    return CDialog::dialogProcedure(hwnd, msg, wParam, page->lParam);
  }
  return CDialog::dialogProcedure(hwnd, msg, wParam, lParam);
}

bool CPropertyPage::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_NOTIFY && lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
      case PSN_SETACTIVE:
        result = onSetActive() ? 0 : -1;
        return true;
      case PSN_KILLACTIVE:
        result = onKillActive() ? FALSE : TRUE;
        return true;
      case PSN_APPLY:
        result = onApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return true;
      case PSN_RESET:
        onReset();
        result = 0;
        return true;
      case PSN_WIZBACK:
        result = onWizardBack();
        return true;
      case PSN_WIZNEXT:
        result = onWizardNext();
        return true;
      case PSN_WIZFINISH:
        result = onWizardFinish() ? FALSE : TRUE;
        return true;
      case PSN_QUERYCANCEL:
        result = onQueryCancel() ? FALSE : TRUE;
        return true;
      default:
        break;
    }
  }
  return CDialog::handleMessage(msg, wParam, lParam, result);
}

CPropertySheet::CPropertySheet(std::wstring caption) : m_caption(std::move(caption)) {}

CPropertySheet::~CPropertySheet() { destroy(); }

PROPSHEETHEADERW CPropertySheet::header(HWND parent, std::vector<PROPSHEETPAGEW>& pages, bool modeless) {
  pages.clear();
  for (CPropertyPage* page : m_pages) pages.push_back(page->pageDescription());
  PROPSHEETHEADERW h{};
  h.dwSize = sizeof(h);
  h.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | m_extraFlags;
  if (m_wizard) h.dwFlags |= PSH_WIZARD;
  if (modeless) h.dwFlags |= PSH_MODELESS;
  h.hwndParent = parent;
  h.hInstance = GetModuleHandleW(nullptr);
  h.pszCaption = m_caption.c_str();
  h.nPages = static_cast<UINT>(pages.size());
  h.nStartPage = m_startPage < pages.size() ? m_startPage : 0;
  h.ppsp = pages.data();
  h.pfnCallback = &CPropertySheet::sheetCallback;
  return h;
}

int CALLBACK CPropertySheet::sheetCallback(HWND hwnd, UINT msg, LPARAM) {
  if (msg == PSCB_INITIALIZED && t_creatingSheet) {
    CPropertySheet* sheet = t_creatingSheet;
    t_creatingSheet = nullptr;
    sheet->m_hwnd = hwnd;
    sheet->onInitialized();
  }
  return 0;
}

INT_PTR CPropertySheet::doModal(HWND parent) {
  if (m_pages.empty()) return -1;
  std::vector<PROPSHEETPAGEW> pages;
  PROPSHEETHEADERW h = header(parent, pages, false);
  ensureCommonControls();
  t_creatingSheet = this;
  INT_PTR result = PropertySheetW(&h);
  t_creatingSheet = nullptr;
  if (result == -1) FW_TRACE_FAILURE("PropertySheetW");
  m_hwnd = nullptr;
  return result;
}

bool CPropertySheet::create(HWND parent) {
  if (m_pages.empty() || m_hwnd) return false;
  std::vector<PROPSHEETPAGEW> pages;
  PROPSHEETHEADERW h = header(parent, pages, true);
  ensureCommonControls();
  t_creatingSheet = this;
  INT_PTR result = PropertySheetW(&h);
  t_creatingSheet = nullptr;
  if (result <= 0) {
    FW_TRACE_FAILURE("PropertySheetW");
    return false;
  }
  m_hwnd = reinterpret_cast<HWND>(result);
  return true;
}

bool CPropertySheet::preTranslateMessage(MSG& msg) {
  if (!m_hwnd || !IsWindow(m_hwnd)) return false;
  return PropSheet_IsDialogMessage(m_hwnd, &msg) != FALSE;
}

bool CPropertySheet::finished() const { return m_hwnd && PropSheet_GetCurrentPageHwnd(m_hwnd) == nullptr; }

void CPropertySheet::destroy() {
  if (m_hwnd && IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
  m_hwnd = nullptr;
}

int CPropertySheet::activeIndex() const {
  if (!m_hwnd) return -1;
  return static_cast<int>(SendMessageW(m_hwnd, PSM_HWNDTOINDEX,
                                       reinterpret_cast<WPARAM>(PropSheet_GetCurrentPageHwnd(m_hwnd)), 0));
}

bool CPropertySheet::setActiveIndex(int index) {
  return m_hwnd && PropSheet_SetCurSel(m_hwnd, nullptr, index) != FALSE;
}

bool CPropertySheet::pressButton(int button) {
  if (!m_hwnd) return false;
  PropSheet_PressButton(m_hwnd, button);
  return true;
}

}  // namespace fw
