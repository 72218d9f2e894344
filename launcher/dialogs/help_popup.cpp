// The help popup and the window-details report.
#include "launcher/dialogs/help_popup.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/gdi.h"
#include "framework/trace.h"
#include "launcher/dialogs/help_rules.h"
#include "launcher/render/bitmap_ids.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"
#include "launcher/services/process_info.h"

namespace vorbin {
namespace {

// Posted to itself on losing the activation: closing inside WM_ACTIVATE would
// destroy the window while the system still activates the next one.
constexpr UINT kCloseLater = WM_USER + 0x999;

class CHelpPopup : public fw::CMappedDialog<CHelpPopup> {
 public:
  CHelpPopup(int context, int element, std::wstring text, POINT anchor)
      : CMappedDialog(IDD_HELP_POPUP, static_cast<HINSTANCE>(resourceModule())),
        m_context(context),
        m_element(element),
        m_text(std::move(text)),
        m_anchor(anchor) {
    m_usesCommonControls = false;
  }
  bool shows(int context, int element) const {
    return m_hwnd && m_context == context && m_element == element;
  }
  const std::wstring& text() const { return m_text; }

  static std::span<const fw::MessageEntry<CHelpPopup>> messageMap() {
    static const fw::MessageEntry<CHelpPopup> map[] = {
        {WM_PAINT, &CHelpPopup::onPaint},           {WM_ERASEBKGND, &CHelpPopup::onEraseBackground},
        {WM_GETDLGCODE, &CHelpPopup::onGetDlgCode}, {WM_LBUTTONDOWN, &CHelpPopup::onPress},
        {WM_KEYDOWN, &CHelpPopup::onKeyDown},       {WM_LBUTTONUP, &CHelpPopup::onRelease},
        {WM_KEYUP, &CHelpPopup::onKeyUp},           {WM_ACTIVATE, &CHelpPopup::onActivate},
        {kCloseLater, &CHelpPopup::onCloseLater},   {WM_CONTEXTMENU, &CHelpPopup::onContextMenu},
    };
    return map;
  }

 protected:
  bool onInitDialog() override {
    // The text is also the window's own, for readers of the screen.
    SetWindowTextW(m_hwnd, m_text.c_str());
    layOut();
    ShowWindow(m_hwnd, SW_SHOW);
    return false;
  }
  void onOK() override {}
  void onCancel() override { DestroyWindow(m_hwnd); }

 private:
  std::vector<std::wstring> lines() const {
    std::vector<std::wstring> out;
    size_t start = 0;
    while (true) {
      const size_t end = m_text.find(L'\n', start);
      out.push_back(m_text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
      if (end == std::wstring::npos) break;
      start = end + 1;
    }
    return out;
  }

  void layOut() {
    fw::WindowDC screen(nullptr);
    fw::SelectScope font(screen, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    m_lineHeight = std::max<int>(metrics.tmHeight, 1);
    std::vector<PopupLine> measured;
    for (const std::wstring& line : lines()) {
      const DWORD extent =
          GetTabbedTextExtentW(screen, line.c_str(), static_cast<int>(line.size()), 0, nullptr);
      measured.push_back({LOWORD(extent), line.find(L'\t') != std::wstring::npos});
    }
    m_size = popupSize(measured, m_lineHeight);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(m_anchor, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const PopupRect place =
        placePopup(m_anchor.x, m_anchor.y, m_size, {work.left, work.top, work.right, work.bottom});
    SetWindowPos(m_hwnd, HWND_TOPMOST, place.left, place.top, m_size.width, m_size.height, SWP_NOACTIVATE);
  }

  LRESULT onPaint(WPARAM, LPARAM) {
    fw::PaintDC dc(m_hwnd);
    const int w = m_size.width, h = m_size.height, s = std::max(m_size.shadow, 1);
    // The shadow: the outer rectangle less the note, darkened through the halftone.
    fw::Region shadow(CreateRectRgn(s, s, w, h));
    fw::Region note(CreateRectRgn(0, 0, w - s, h - s));
    CombineRgn(shadow.get(), shadow.get(), note.get(), RGN_DIFF);
    fw::Bitmap pattern(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PRESS_PATTERN), IMAGE_BITMAP, 0, 0, LR_MONOCHROME)));
    if (pattern) {
      fw::Brush brush(CreatePatternBrush(pattern.get()));
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      const int oldMix = SetROP2(dc, R2_MASKPEN);
      FillRgn(dc, shadow.get(), brush.get());
      SetROP2(dc, oldMix);
    }
    // The note: light yellow with a black border and a light grey inner line.
    fw::Brush paper(CreateSolidBrush(RGB(255, 255, 235)));
    RECT body{0, 0, w - s, h - s};
    FillRect(dc, &body, paper.get());
    fw::Brush black(CreateSolidBrush(RGB(0, 0, 0)));
    FrameRect(dc, &body, black.get());
    RECT inner{1, 1, w - s - 1, h - s - 1};
    fw::Brush grey(CreateSolidBrush(RGB(192, 192, 192)));
    FrameRect(dc, &inner, grey.get());

    fw::SelectScope font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    const int lh = m_lineHeight;
    int y = lh / 2 + 1;
    for (const std::wstring& line : lines()) {
      RECT r{2 * lh / 3 + 2, y, w - s - 2, y + lh};
      DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r,
                DT_EXPANDTABS | DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
      y += 3 * lh / 2;
    }
    return 0;
  }
  LRESULT onEraseBackground(WPARAM, LPARAM) { return 1; }
  LRESULT onGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTALLKEYS; }
  LRESULT onPress(WPARAM, LPARAM) {
    m_closer.press(false);
    return 0;
  }
  LRESULT onKeyDown(WPARAM key, LPARAM) {
    m_closer.press(key == VK_F1);
    return 0;
  }
  LRESULT onRelease(WPARAM, LPARAM) {
    if (m_closer.release(false)) DestroyWindow(m_hwnd);
    return 0;
  }
  LRESULT onKeyUp(WPARAM key, LPARAM) {
    if (m_closer.release(key == VK_F1)) DestroyWindow(m_hwnd);
    return 0;
  }
  LRESULT onActivate(WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) == WA_INACTIVE) PostMessageW(m_hwnd, kCloseLater, 0, 0);
    return notHandled();
  }
  LRESULT onCloseLater(WPARAM, LPARAM) {
    // The activation may have come back meanwhile (the context menu's loop).
    if (GetActiveWindow() != m_hwnd) DestroyWindow(m_hwnd);
    return 0;
  }
  LRESULT onContextMenu(WPARAM, LPARAM lParam) {
    HMENU menu = LoadMenuW(static_cast<HINSTANCE>(resourceModule()), MAKEINTRESOURCEW(IDM_HELP_POPUP));
    if (!menu) {
      FW_TRACE_FAILURE("LoadMenuW");
      return 0;
    }
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (at.x == -1 && at.y == -1) at = {m_size.width / 2, m_size.height / 2}, ClientToScreen(m_hwnd, &at);
    const UINT command =
        TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hwnd, nullptr);
    DestroyMenu(menu);
    if (command == IDC_HELP_COPY) copyText();
    return 0;
  }

  void copyText() {
    // Line feeds become the clipboard's line ends.
    std::wstring text;
    for (wchar_t c : m_text) {
      if (c == L'\n') text.push_back(L'\r');
      text.push_back(c);
    }
    if (!OpenClipboard(m_hwnd)) {
      FW_TRACE_FAILURE("OpenClipboard");
      return;
    }
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      if (void* p = GlobalLock(memory)) {
        memcpy(p, text.c_str(), bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) {
          FW_TRACE_FAILURE("SetClipboardData");
          GlobalFree(memory);
        }
      } else {
        GlobalFree(memory);
      }
    }
    CloseClipboard();
  }

  int m_context, m_element;
  std::wstring m_text;
  POINT m_anchor;
  int m_lineHeight = 1;
  PopupSize m_size;
  PopupCloser m_closer;
};

std::unique_ptr<CHelpPopup> g_popup;

POINT anchorOrCursor(const POINT* anchor) {
  if (anchor) return *anchor;
  POINT at{};
  GetCursorPos(&at);
  return at;
}

void openPopup(int context, int element, std::wstring text, POINT at, HWND parent) {
  closeHelpPopup();
  g_popup = std::make_unique<CHelpPopup>(context, element, std::move(text), at);
  if (!g_popup->create(parent)) g_popup.reset();
}

bool isDialogWindow(HWND window) {
  wchar_t name[8] = {};
  return GetClassNameW(window, name, 8) && lstrcmpW(name, L"#32770") == 0;
}

// The object of a dialog this program made through the framework, or null.
// Other dialogs (message boxes, the system's common dialogs) may keep their
// own data where the framework keeps its object: only a dialog procedure of
// this program vouches for it.
const fw::CDialog* frameworkDialog(HWND window) {
  if (!window || !isDialogWindow(window)) return nullptr;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return nullptr;
  const auto procedure = reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(window, DWLP_DLGPROC));
  HMODULE module = nullptr;
  if (!procedure ||
      !GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, procedure,
          &module) ||
      module != GetModuleHandleW(nullptr))
    return nullptr;
  return fw::CDialog::fromHandle(window);
}

// The template id of a framework dialog, or of a sheet's active page.
int dialogContext(HWND dialog) {
  if (const fw::CDialog* d = frameworkDialog(dialog)) return static_cast<int>(d->templateId());
  // Only a sheet (it holds the tab control) is asked for its page.
  constexpr int kSheetTabs = 0x3020;
  if (!isDialogWindow(dialog) || !GetDlgItem(dialog, kSheetTabs)) return 0;
  HWND page = reinterpret_cast<HWND>(SendMessageW(dialog, PSM_GETCURRENTPAGEHWND, 0, 0));
  if (const fw::CDialog* d = frameworkDialog(page)) return static_cast<int>(d->templateId());
  return 0;
}

std::wstring helpText(int context, int element) {
  std::wstring text = resourceString(static_cast<unsigned>(helpStringId(context, element, false)));
  if (text.empty()) text = resourceString(IDS_HELP_DEFAULT);
  return text;
}

std::wstring shortenedPath(const std::wstring& path) {
  if (path.empty()) return path;
  fw::WindowDC screen(nullptr);
  fw::SelectScope font(screen, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  std::wstring buffer = path;
  buffer.resize(path.size() + 8, L'\0');
  RECT r{0, 0, 24 * metrics.tmHeight, metrics.tmHeight};
  DrawTextW(screen, buffer.data(), static_cast<int>(path.size()), &r,
            DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
  return buffer;
}

}  // namespace

void showHelpPopup(int context, int element, const POINT* anchor, HWND parent) {
  if (g_popup && g_popup->shows(context, element)) return;
  openPopup(context, element, helpText(context, element), anchorOrCursor(anchor), parent);
}

bool showFocusHelp() {
  HWND control = GetFocus();
  if (!control || control == helpPopupWindow()) return false;
  // A combo box's edit field answers for its combo box.
  HWND dialog = GetParent(control);
  while (dialog && !isDialogWindow(dialog)) {
    control = dialog;
    dialog = GetParent(dialog);
  }
  if (!dialog) return false;
  RECT r{};
  GetWindowRect(control, &r);
  const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  showHelpPopup(dialogContext(dialog), GetDlgCtrlID(control), &at, dialog);
  return true;
}

void showActiveWindowHelp(int controlId, POINT at) {
  HWND active = GetActiveWindow();
  if (!active || active == helpPopupWindow()) return;
  showHelpPopup(dialogContext(active), controlId, &at, active);
}

void showWindowDetails(HWND window, HWND parent) {
  if (!window || !IsWindow(window)) return;
  DetailsFacts f;
  f.handle = reinterpret_cast<uintptr_t>(window);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  f.parent = (style & WS_CHILD) ? reinterpret_cast<uintptr_t>(GetAncestor(window, GA_PARENT)) : 0;
  f.owner = reinterpret_cast<uintptr_t>(GetWindow(window, GW_OWNER));
  f.procedure = static_cast<uint64_t>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (f.procedure == 0) f.procedure = static_cast<uint64_t>(GetClassLongPtrW(window, GCLP_WNDPROC));
  const ProcessDetails process = queryProcess(window);
  f.processId = process.processId;
  f.priorityName = std::wstring(process.priorityName());
  f.typeName = std::wstring(process.typeName);
  RECT r{};
  GetWindowRect(window, &r);
  f.left = r.left;
  f.top = r.top;
  f.width = r.right - r.left;
  f.height = r.bottom - r.top;
  f.style = static_cast<uint32_t>(style);
  f.exStyle = static_cast<uint32_t>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  f.classStyle = static_cast<uint32_t>(GetClassLongPtrW(window, GCL_STYLE));
  wchar_t className[256] = {};
  GetClassNameW(window, className, 256);
  f.className = className;
  f.showState = IsIconic(window) ? 2 : IsZoomed(window) ? 3 : IsWindowVisible(window) ? 1 : 4;
  f.topmost = (f.exStyle & WS_EX_TOPMOST) != 0;

  const std::wstring heading = resourceString(IDS_DETAILS_HEADING);
  const std::wstring shown[4] = {resourceString(IDS_DETAILS_NORMAL), resourceString(IDS_DETAILS_MINIMIZED),
                                 resourceString(IDS_DETAILS_MAXIMIZED), resourceString(IDS_DETAILS_OTHER)};
  const std::wstring topmost = resourceString(IDS_DETAILS_TOPMOST);
  std::wstring pattern = resourceString(IDS_TASK_PROGRAM);
  if (pattern.empty()) pattern = L"%s%s";
  const std::wstring unknown = resourceString(IDS_DETAILS_UNKNOWN_PROGRAM);
  const DetailsTexts texts{heading, {shown[0], shown[1], shown[2], shown[3]}, topmost, pattern, unknown};
  std::wstring report = windowDetailsReport(f, shortenedPath(process.imagePath), texts);
  // Each report is new: the same window asked again shows its state now.
  closeHelpPopup();
  POINT at{};
  GetCursorPos(&at);
  openPopup(kHelpContextTask, static_cast<int>(f.handle & 0x7FFFFFFF), std::move(report), at, parent);
}

void closeHelpPopup() {
  if (!g_popup) return;
  if (g_popup->hwnd()) DestroyWindow(g_popup->hwnd());
  g_popup.reset();
}

HWND helpPopupWindow() { return g_popup ? g_popup->hwnd() : nullptr; }

}  // namespace vorbin
