// The bar window (first cut: placement, a plain background, close).
#include "launcher/bar/bar_window.h"

#include "framework/gdi.h"
#include "hook/vorber2k.h"
#include "launcher/app/launcher_app.h"

namespace vorbin {

std::span<const fw::MessageEntry<CBarWindow>> CBarWindow::messageMap() {
  static const fw::MessageEntry<CBarWindow> map[] = {
      {WM_PAINT, &CBarWindow::onPaint},
      {WM_ERASEBKGND, &CBarWindow::onEraseBackground},
      {WM_CLOSE, &CBarWindow::onClose},
      {WM_DESTROY, &CBarWindow::onDestroy},
  };
  return map;
}

bool CBarWindow::createBar(HWND owner) {
  fw::CreateArgs args;
  args.className = kBarClassName;
  args.title = L"Vorbin";
  args.style = WS_POPUP | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  args.x = 100;
  args.y = 100;
  args.width = 280;
  args.height = 360;
  args.parent = owner;
  if (!create(args)) return false;
  SetHook(m_hwnd, 0);
  return true;
}

void CBarWindow::showBar(int showCommand) {
  ShowWindow(m_hwnd, showCommand);
  UpdateWindow(m_hwnd);
}

LRESULT CBarWindow::onPaint(WPARAM, LPARAM) {
  fw::PaintDC dc(m_hwnd);
  RECT rc;
  GetClientRect(m_hwnd, &rc);
  fw::Brush face(CreateSolidBrush(RGB(0x40, 0x60, 0x90)));
  FillRect(dc, &rc, face.get());
  return 0;
}

LRESULT CBarWindow::onEraseBackground(WPARAM, LPARAM) { return 1; }

LRESULT CBarWindow::onClose(WPARAM, LPARAM) {
  DestroyWindow(m_hwnd);
  return 0;
}

LRESULT CBarWindow::onDestroy(WPARAM, LPARAM) {
  FreeHook();
  PostQuitMessage(0);
  return 0;
}

}  // namespace vorbin
