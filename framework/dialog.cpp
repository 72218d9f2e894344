// Dialog base class: binds the dialog object at WM_INITDIALOG, routes messages,
// and exchanges data between controls and variables.
#include "framework/dialog.h"

#include <commctrl.h>

#include <climits>

#include "framework/app.h"
#include "framework/trace.h"

namespace fw {

namespace {

// Messages whose result is the dialog procedure's return value itself rather
// than DWLP_MSGRESULT.
bool returnsResultDirectly(UINT msg) {
  switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// A whole decimal number with optional sign and surrounding blanks; nothing else.
bool parseInteger(const std::wstring& text, long long& out) {
  size_t i = 0, end = text.size();
  while (i < end && isBlank(text[i])) ++i;
  while (end > i && isBlank(text[end - 1])) --end;
  bool negative = false;
  if (i < end && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  if (i == end) return false;
  long long value = 0;
  for (; i < end; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return false;
  }
  out = negative ? -value : value;
  return true;
}
}  // namespace

std::wstring windowText(HWND control) {
  int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  int got = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

void ensureCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                                        ICC_USEREX_CLASSES | ICC_DATE_CLASSES |
                                                        ICC_LINK_CLASS};
    if (InitCommonControlsEx(&controls)) return true;
    FW_TRACE_FAILURE("InitCommonControlsEx");
    return false;
  }();
  (void)done;
}

// ---------------------------------------------------------------------------
// DataExchange

void DataExchange::fail(int id) {
  if (!m_failedControl) m_failedControl = id;
}

void DataExchange::text(int id, std::wstring& value, int maxLength) {
  if (failed()) return;
  HWND control = GetDlgItem(m_dialog, id);
  if (!saving()) {
    if (maxLength > 0) SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
    SetWindowTextW(control, value.c_str());
    return;
  }
  std::wstring text = windowText(control);
  if (maxLength > 0 && text.size() > static_cast<size_t>(maxLength))
    text.resize(static_cast<size_t>(maxLength));
  value = std::move(text);
}

void DataExchange::check(int id, bool& value) {
  if (failed()) return;
  if (!saving()) {
    CheckDlgButton(m_dialog, id, value ? BST_CHECKED : BST_UNCHECKED);
    return;
  }
  value = IsDlgButtonChecked(m_dialog, id) == BST_CHECKED;
}

void DataExchange::integer(int id, int& value, int minValue, int maxValue) {
  if (failed()) return;
  HWND control = GetDlgItem(m_dialog, id);
  if (!saving()) {
    SetWindowTextW(control, std::to_wstring(value).c_str());
    return;
  }
  long long parsed = 0;
  if (!parseInteger(windowText(control), parsed) || parsed < minValue || parsed > maxValue) {
    fail(id);
    return;
  }
  value = static_cast<int>(parsed);
}

void DataExchange::comboSelection(int id, int& index) {
  if (failed()) return;
  if (!saving()) {
    SendDlgItemMessageW(m_dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    return;
  }
  LRESULT selected = SendDlgItemMessageW(m_dialog, id, CB_GETCURSEL, 0, 0);
  index = selected == CB_ERR ? -1 : static_cast<int>(selected);
}

// ---------------------------------------------------------------------------
// CDialog

CDialog::CDialog(UINT templateId, HINSTANCE resources) : m_templateId(templateId), m_resources(resources) {}

CDialog::~CDialog() {
  if (m_hwnd && IsWindow(m_hwnd)) {
    SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
    DestroyWindow(m_hwnd);
  }
}

HINSTANCE CDialog::resources() const {
  if (m_resources) return m_resources;
  if (CApplication* app = CApplication::instance(); app && app->resourceInstance())
    return app->resourceInstance();
  return GetModuleHandleW(nullptr);
}

INT_PTR CDialog::doModal(HWND parent) {
  m_modal = true;
  if (m_usesCommonControls) ensureCommonControls();
  INT_PTR result = DialogBoxParamW(resources(), MAKEINTRESOURCEW(m_templateId), parent,
                                   &CDialog::dialogProcedure, reinterpret_cast<LPARAM>(this));
  if (result == -1) FW_TRACE_FAILURE("DialogBoxParamW");
  m_modal = false;
  return result;
}

bool CDialog::create(HWND parent) {
  m_modal = false;
  if (m_usesCommonControls) ensureCommonControls();
  HWND h = CreateDialogParamW(resources(), MAKEINTRESOURCEW(m_templateId), parent, &CDialog::dialogProcedure,
                              reinterpret_cast<LPARAM>(this));
  if (!h) FW_TRACE_FAILURE("CreateDialogParamW");
  return h != nullptr && h == m_hwnd;
}

void CDialog::endDialog(INT_PTR result) {
  if (!m_hwnd) return;
  if (m_modal) {
    EndDialog(m_hwnd, result);
  } else {
    DestroyWindow(m_hwnd);
  }
}

bool CDialog::updateData(bool save) {
  DataExchange dx(m_hwnd, save ? DataExchange::Direction::kSave : DataExchange::Direction::kLoad);
  doDataExchange(dx);
  if (!dx.failed()) return true;
  HWND control = item(dx.failedControl());
  // WM_NEXTDLGCTL moves the focus the dialog way (default button, edit selection).
  if (control) SendMessageW(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  onDataRefused(dx.failedControl());
  return false;
}

bool CDialog::onInitDialog() {
  updateData(false);
  return true;
}

void CDialog::onOK() {
  if (updateData(true)) endDialog(IDOK);
}

void CDialog::onCancel() { endDialog(IDCANCEL); }

void CDialog::onDataRefused(int) { MessageBeep(MB_ICONEXCLAMATION); }

bool CDialog::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_INITDIALOG:
      result = onInitDialog() ? TRUE : FALSE;
      return true;
    case WM_COMMAND:
      // Buttons send BN_CLICKED; the dialog manager's Enter and Escape come
      // with no control (lParam 0).
      if (HIWORD(wParam) != BN_CLICKED && lParam != 0) return false;
      if (LOWORD(wParam) == IDOK) {
        onOK();
      } else if (LOWORD(wParam) == IDCANCEL) {
        onCancel();
      } else {
        return false;
      }
      result = 0;
      return true;
    default:
      return false;
  }
}

// The object sits in the dialog's user slot, a local lookup (see CWindow::fromHandle).
CDialog* CDialog::fromHandle(HWND hwnd) {
  return reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
}

INT_PTR CALLBACK CDialog::dialogProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CDialog* self = fromHandle(hwnd);
  if (!self && msg == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    if (self) {
      self->m_hwnd = hwnd;
      SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
  }
  // Messages before WM_INITDIALOG (WM_SETFONT) get the default handling.
  if (!self) return FALSE;

  LRESULT result = 0;
  bool handled = self->handleMessage(msg, wParam, lParam, result);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->m_hwnd = nullptr;
    self->onFinalMessage();  // may delete self
    return FALSE;
  }
  if (!handled) return FALSE;
  if (returnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace fw
