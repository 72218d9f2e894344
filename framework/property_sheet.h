// Property sheets and their pages as classes. A page is a dialog whose
// object also answers the sheet's notifications (activation, apply, wizard
// buttons); a sheet owns the list of pages and runs modal or modeless.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "framework/dialog.h"

namespace fw {

class CPropertySheet;

class CPropertyPage : public CDialog {
 public:
  explicit CPropertyPage(UINT templateId, HINSTANCE resources = nullptr);

  // The page description handed to the sheet; the object must outlive the sheet.
  PROPSHEETPAGEW pageDescription();
  // A page handle for sheets made elsewhere (for example the shell's).
  HPROPSHEETPAGE createPageHandle();

  void setTitle(std::wstring title) { m_title = std::move(title); }
  // Marks the page changed (enables Apply) or unchanged.
  void setModified(bool modified = true);
  HWND sheetWindow() const { return m_hwnd ? GetParent(m_hwnd) : nullptr; }
  bool initialized() const { return m_hwnd != nullptr; }

 protected:
  // Sheet notifications. Defaults: activation accepted, leaving saves the data
  // (and is refused while a control is refused), apply accepted.
  virtual bool onSetActive() { return true; }
  virtual bool onKillActive() { return updateData(true); }
  virtual bool onApply() { return true; }
  virtual void onReset() {}
  // Wizard buttons: 0 moves on, -1 stays, a template id jumps to that page.
  virtual LRESULT onWizardBack() { return 0; }
  virtual LRESULT onWizardNext() { return 0; }
  // True lets the wizard finish.
  virtual bool onWizardFinish() { return true; }
  // True lets Cancel close the sheet.
  virtual bool onQueryCancel() { return true; }

  bool handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Pages never end themselves: OK and Cancel belong to the sheet.
  void onOK() override {}
  void onCancel() override {}

 private:
  static INT_PTR CALLBACK pageProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  std::wstring m_title;
  UINT m_pageTemplate;
  HINSTANCE m_pageResources;
};

class CPropertySheet {
 public:
  explicit CPropertySheet(std::wstring caption = L"");
  CPropertySheet(const CPropertySheet&) = delete;
  CPropertySheet& operator=(const CPropertySheet&) = delete;
  virtual ~CPropertySheet();

  void addPage(CPropertyPage* page) { m_pages.push_back(page); }
  void setCaption(std::wstring caption) { m_caption = std::move(caption); }
  void setWizardMode(bool wizard = true) { m_wizard = wizard; }
  void setStartPage(UINT index) { m_startPage = index; }
  // Extra PSH_ flags (for example PSH_NOAPPLYNOW).
  void setFlags(DWORD flags) { m_extraFlags = flags; }

  // Runs modally: IDOK (or ID_PSRESTARTWINDOWS...) when accepted, 0 when cancelled, -1 on failure.
  INT_PTR doModal(HWND parent);
  // Creates a modeless sheet; the caller's loop hands it messages through
  // preTranslateMessage and destroys it when finished() says so.
  bool create(HWND parent);
  bool preTranslateMessage(MSG& msg);
  // A modeless sheet whose OK or Cancel was pressed.
  bool finished() const;
  void destroy();

  HWND hwnd() const { return m_hwnd; }
  int activeIndex() const;
  bool setActiveIndex(int index);
  bool pressButton(int button);

 protected:
  // Called once the sheet window exists.
  virtual void onInitialized() {}

 private:
  PROPSHEETHEADERW header(HWND parent, std::vector<PROPSHEETPAGEW>& pages, bool modeless);
  static int CALLBACK sheetCallback(HWND hwnd, UINT msg, LPARAM lParam);

  std::wstring m_caption;
  std::vector<CPropertyPage*> m_pages;
  bool m_wizard = false;
  UINT m_startPage = 0;
  DWORD m_extraFlags = 0;
  HWND m_hwnd = nullptr;
};

}  // namespace fw
