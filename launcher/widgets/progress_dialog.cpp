// The progress dialog: modeless, its owner disabled while it lives, and a
// Cancel button that the scanning loop asks about between its steps.
#include "launcher/widgets/progress_dialog.h"

#include "framework/dialog.h"
#include "launcher/resources/resource_ids.h"
#include "launcher/services/language_strings.h"

namespace vorbin {

class CProgressDialogWindow : public fw::CMappedDialog<CProgressDialogWindow> {
 public:
  explicit CProgressDialogWindow(HINSTANCE resources) : CMappedDialog(IDD_PROGRESS, resources) {
    m_usesCommonControls = false;
  }
  bool cancelled = false;

 protected:
  void onCancel() override { cancelled = true; }
  void onOK() override {}
};

namespace {
HINSTANCE libraryOr(HINSTANCE resources) {
  return resources ? resources : static_cast<HINSTANCE>(resourceModule());
}
}  // namespace

ProgressDialog::ProgressDialog(HINSTANCE resources)
    : m_window(std::make_unique<CProgressDialogWindow>(libraryOr(resources))) {}

ProgressDialog::~ProgressDialog() { close(); }

bool ProgressDialog::open(HWND owner, UINT captionId) {
  close();
  m_window->cancelled = false;
  if (!m_window->create(owner)) return false;
  void* library = m_window->hwnd()
                      ? reinterpret_cast<void*>(GetWindowLongPtrW(m_window->hwnd(), GWLP_HINSTANCE))
                      : nullptr;
  const std::wstring caption = resourceStringFrom(library, captionId, kMediumString);
  if (!caption.empty()) SetWindowTextW(m_window->hwnd(), caption.c_str());
  const std::wstring working = resourceStringFrom(library, IDS_PROGRESS_WORKING, kMediumString);
  SetDlgItemTextW(m_window->hwnd(), IDC_PROGRESS_TEXT, working.c_str());
  ShowWindow(m_window->hwnd(), SW_SHOW);
  UpdateWindow(m_window->hwnd());
  m_owner = owner;
  // The scan runs on this thread: the owner must not take input meanwhile.
  m_ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
  return true;
}

void ProgressDialog::setText(const std::wstring& text) {
  if (m_window->hwnd()) SetDlgItemTextW(m_window->hwnd(), IDC_PROGRESS_TEXT, text.c_str());
}

bool ProgressDialog::cancelled() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the main loop and stop the work.
      PostQuitMessage(static_cast<int>(msg.wParam));
      m_window->cancelled = true;
      break;
    }
    if (m_window->hwnd() && IsDialogMessageW(m_window->hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return m_window->cancelled;
}

void ProgressDialog::close() {
  // The owner is enabled first so that it, not another program, becomes active.
  if (m_owner && m_ownerWasEnabled) EnableWindow(m_owner, TRUE);
  m_owner = nullptr;
  m_ownerWasEnabled = false;
  if (m_window && m_window->hwnd()) DestroyWindow(m_window->hwnd());
}

}  // namespace vorbin
