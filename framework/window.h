// Window base classes: a window object bound to its HWND, and a per-class
// message table with one handler per message.
#pragma once
#include <windows.h>

#include <span>
#include <utility>

namespace fw {

// Arguments for creating a window; fields have the usual defaults.
struct CreateArgs {
  const wchar_t* className = nullptr;
  const wchar_t* title = L"";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  HWND parent = nullptr;
  HMENU menu = nullptr;
};

class CWindow {
 public:
  CWindow() = default;
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;
  virtual ~CWindow();

  HWND hwnd() const { return m_hwnd; }
  operator HWND() const { return m_hwnd; }

  // Creates the window; the object receives every message from WM_NCCREATE on.
  bool create(const CreateArgs& args);
  // Registers a class whose procedure is the framework's.
  static ATOM registerClass(WNDCLASSEXW wc);
  void destroy();

  // The window object of a window this process created through the framework,
  // or null. The framework keeps it in GWLP_USERDATA; windows of its classes
  // leave that slot alone.
  static CWindow* fromHandle(HWND hwnd);
  static LRESULT CALLBACK windowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  // Dispatches one message; the default passes it to defaultProc.
  virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT defaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Called after WM_NCDESTROY, when the HWND is gone.
  virtual void onFinalMessage() {}

  // The message being handled (for handlers that need the time or position).
  const MSG& currentMessage() const { return m_current; }

  // A table handler returns this to leave its message to the base class (and
  // finally the default procedure), as if the table had no entry for it.
  LRESULT notHandled() {
    m_declined = true;
    return 0;
  }

  HWND m_hwnd = nullptr;
  // Set by notHandled during one handler call; the table dispatch reads it.
  bool m_declined = false;

 private:
  WNDPROC m_superProc = nullptr;
  MSG m_current{};
};

template <class T>
struct MessageEntry {
  UINT message;
  LRESULT (T::*handler)(WPARAM, LPARAM);
};

// Calls a table handler; false when it declined through notHandled (then
// result is meaningless). Messages sent while the handler runs dispatch with
// their own flag, so a nested decline does not leak out.
template <class T>
bool callHandler(T* self, bool& declinedFlag, LRESULT (T::*handler)(WPARAM, LPARAM), WPARAM wParam,
                 LPARAM lParam, LRESULT& result) {
  const bool outer = std::exchange(declinedFlag, false);
  result = (self->*handler)(wParam, lParam);
  return !std::exchange(declinedFlag, outer);
}

// Derived supplies `static std::span<const MessageEntry<Derived>> messageMap()`;
// messages missing from the table, or declined by their handler, go to Base.
template <class Derived, class Base = CWindow>
class CMappedWindow : public Base {
 protected:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    for (const auto& entry : Derived::messageMap()) {
      if (entry.message != msg) continue;
      LRESULT result = 0;
      if (callHandler(static_cast<Derived*>(this), this->m_declined, entry.handler, wParam, lParam, result))
        return result;
      break;
    }
    return Base::handleMessage(msg, wParam, lParam);
  }
};

}  // namespace fw
