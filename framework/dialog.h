// Dialog base classes: a dialog object bound to its HWND from WM_INITDIALOG on,
// per-class message, command and notification tables, and data exchange.
#pragma once
#include <windows.h>

#include <span>
#include <string>

#include "framework/window.h"

namespace fw {

// A window's whole text, however long.
std::wstring windowText(HWND window);

// Moves values between a dialog's controls and the variables that hold them.
// Loading fills the controls; saving reads them back and stops at the first
// control whose content is not acceptable (that control then has the focus).
class DataExchange {
 public:
  enum class Direction { kLoad, kSave };
  DataExchange(HWND dialog, Direction direction) : m_dialog(dialog), m_direction(direction) {}

  bool saving() const { return m_direction == Direction::kSave; }
  bool failed() const { return m_failedControl != 0; }
  int failedControl() const { return m_failedControl; }

  // Edit or static text; maxLength > 0 also limits what an edit accepts.
  void text(int id, std::wstring& value, int maxLength = 0);
  void check(int id, bool& value);
  // A whole number in [minValue, maxValue]; anything else fails on saving
  // and leaves value as it was.
  void integer(int id, int& value, int minValue, int maxValue);
  // The selected entry of a combo box (-1 = none).
  void comboSelection(int id, int& index);

 private:
  void fail(int id);

  HWND m_dialog;
  Direction m_direction;
  int m_failedControl = 0;
};

// Registers the common control classes (list views, hot-key fields, property
// sheets and the rest) once per process. The common controls library is
// loaded on first use, so every dialog calls this before it is created.
void ensureCommonControls();

class CDialog {
 public:
  // The template comes from resources, or from the application's resource
  // instance (the program itself when there is none) when resources is null.
  explicit CDialog(UINT templateId, HINSTANCE resources = nullptr);
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;
  virtual ~CDialog();

  HWND hwnd() const { return m_hwnd; }
  operator HWND() const { return m_hwnd; }
  HWND item(int id) const { return GetDlgItem(m_hwnd, id); }

  // Runs the dialog modally; the value given to endDialog, or -1 when the
  // dialog could not be created.
  INT_PTR doModal(HWND parent);
  // Creates the dialog modeless; false when it could not be created.
  bool create(HWND parent);
  // Ends a modal dialog with result; destroys a modeless one.
  void endDialog(INT_PTR result);
  bool isModal() const { return m_modal; }
  // The resource id of the dialog's template.
  UINT templateId() const { return m_templateId; }

  // Controls to variables (save) or back; false when a control was refused.
  bool updateData(bool save);

  // The dialog object of a dialog this process made through the framework, or
  // null; kept in DWLP_USER, which the framework's dialogs leave alone.
  static CDialog* fromHandle(HWND hwnd);
  static INT_PTR CALLBACK dialogProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  // True lets the system set the focus to the first control.
  virtual bool onInitDialog();
  // Default: save the data and end with IDOK when every control was accepted.
  virtual void onOK();
  // Default: end with IDCANCEL.
  virtual void onCancel();
  virtual void doDataExchange(DataExchange& dx) { (void)dx; }
  // A control's content was refused on saving; the default beeps.
  virtual void onDataRefused(int controlId);

  // Dispatches one message; sets result and returns true when handled.
  virtual bool handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // After WM_NCDESTROY, when the HWND is gone (a modeless dialog may delete itself).
  virtual void onFinalMessage() {}

  // A table handler returns this to leave its message to the base class (and
  // finally the dialog manager), as if the table had no entry for it.
  LRESULT notHandled() {
    m_declined = true;
    return 0;
  }

  HWND m_hwnd = nullptr;
  // Set by notHandled during one handler call; the table dispatch reads it.
  bool m_declined = false;
  // A dialog made of buttons, statics and edits only clears this: it then
  // does not load the common controls library.
  bool m_usesCommonControls = true;

 private:
  HINSTANCE resources() const;

  UINT m_templateId;
  HINSTANCE m_resources;
  bool m_modal = false;
};

// The table entries of a mapped dialog. A command entry with kAnyCode takes
// every notification code of its control.
template <class T>
struct CommandEntry {
  static constexpr int kAnyCode = -1;
  int id;
  int code;
  void (T::*handler)();
};

template <class T>
struct NotifyEntry {
  int id;
  int code;  // e.g. LVN_ITEMCHANGED
  LRESULT (T::*handler)(NMHDR*);
};

// Derived may supply any of
//   static std::span<const MessageEntry<Derived>> messageMap();
//   static std::span<const CommandEntry<Derived>> commandMap();
//   static std::span<const NotifyEntry<Derived>> notifyMap();
// Whatever no table takes, or a message handler declines, goes to Base (IDOK and IDCANCEL to onOK and
// onCancel).
template <class Derived, class Base = CDialog>
class CMappedDialog : public Base {
 public:
  using Base::Base;
  static std::span<const MessageEntry<Derived>> messageMap() { return {}; }
  static std::span<const CommandEntry<Derived>> commandMap() { return {}; }
  static std::span<const NotifyEntry<Derived>> notifyMap() { return {}; }

 protected:
  bool handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    auto* self = static_cast<Derived*>(this);
    for (const auto& entry : Derived::messageMap()) {
      if (entry.message != msg) continue;
      if (callHandler(self, this->m_declined, entry.handler, wParam, lParam, result)) return true;
      break;
    }
    if (msg == WM_COMMAND) {
      int id = LOWORD(wParam), code = HIWORD(wParam);
      for (const auto& entry : Derived::commandMap()) {
        if (entry.id == id && (entry.code == code || entry.code == CommandEntry<Derived>::kAnyCode)) {
          (self->*entry.handler)();
          result = 0;
          return true;
        }
      }
    } else if (msg == WM_NOTIFY && lParam) {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      for (const auto& entry : Derived::notifyMap()) {
        if (static_cast<UINT_PTR>(entry.id) == header->idFrom &&
            static_cast<UINT>(entry.code) == header->code) {
          result = (self->*entry.handler)(header);
          return true;
        }
      }
    }
    return Base::handleMessage(msg, wParam, lParam, result);
  }
};

}  // namespace fw
