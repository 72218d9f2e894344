// The bar window: the launcher's main window.
#pragma once
#include <windows.h>

#include <span>

#include "framework/window.h"

namespace vorbin {

class CBarWindow : public fw::CMappedWindow<CBarWindow> {
 public:
  bool createBar(HWND owner);
  void showBar(int showCommand);

  static std::span<const fw::MessageEntry<CBarWindow>> messageMap();

 private:
  LRESULT onPaint(WPARAM, LPARAM);
  LRESULT onEraseBackground(WPARAM, LPARAM);
  LRESULT onClose(WPARAM, LPARAM);
  LRESULT onDestroy(WPARAM, LPARAM);
};

}  // namespace vorbin
