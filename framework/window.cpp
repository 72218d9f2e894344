// Window base class: binds HWND and object, and routes messages to handlers.
#include "framework/window.h"

#include "framework/trace.h"

namespace fw {

CWindow::~CWindow() {
  if (m_hwnd && IsWindow(m_hwnd)) {
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hwnd);
  }
}

ATOM CWindow::registerClass(WNDCLASSEXW wc) {
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &CWindow::windowProcedure;
  if (!wc.hInstance) wc.hInstance = GetModuleHandleW(nullptr);
  ATOM atom = RegisterClassExW(&wc);
  if (!atom) FW_TRACE_FAILURE("RegisterClassExW");
  return atom;
}

bool CWindow::create(const CreateArgs& a) {
  HWND h = CreateWindowExW(a.exStyle, a.className, a.title, a.style, a.x, a.y, a.width, a.height, a.parent,
                           a.menu, GetModuleHandleW(nullptr), this);
  if (!h) FW_TRACE_FAILURE("CreateWindowExW");
  return h != nullptr && m_hwnd == h;
}

void CWindow::destroy() {
  if (m_hwnd) DestroyWindow(m_hwnd);
}

CWindow* CWindow::fromHandle(HWND hwnd) {
  // The object sits in the window's user data: reading it is a local lookup,
  // where a window property is a request to the window server every message.
  return reinterpret_cast<CWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK CWindow::windowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWindow* self = fromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    self = static_cast<CWindow*>(cs->lpCreateParams);
    if (self) {
      self->m_hwnd = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);

  MSG saved = self->m_current;
  self->m_current = MSG{hwnd, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  LRESULT result = self->handleMessage(msg, wParam, lParam);
  self->m_current = saved;

  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->m_hwnd = nullptr;
    self->onFinalMessage();
  }
  return result;
}

LRESULT CWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return defaultProc(msg, wParam, lParam);
}

LRESULT CWindow::defaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_superProc) return CallWindowProcW(m_superProc, m_hwnd, msg, wParam, lParam);
  return DefWindowProcW(m_hwnd, msg, wParam, lParam);
}

}  // namespace fw
