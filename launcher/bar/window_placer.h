// The bar window's size and place: its height (normal, maximized, resized by
// the top and bottom edges), the window region, placement at the activation
// point, the screen a maximized bar restores on, and showing it in front.
#pragma once
#include <windows.h>

#include "launcher/bar/bar_rules.h"
#include "launcher/model/settings.h"

namespace vorbin {

// Resize modes (the same codes as the hit areas of the edges).
enum ResizeMode { kNoResize = 0, kResizeTop = 12, kResizeBottom = 15, kResizeMaximize = 4 };

class WindowPlacer {
 public:
  explicit WindowPlacer(Settings& settings) : m_settings(settings) {}
  void attach(HWND bar) { m_bar = bar; }

  // The layout's width and smallest height (0: no layout yet).
  void setLayout(int width, int layoutMinHeight);
  int width() const { return m_width; }
  // The client height in force (0 before the bar is placed).
  int height() const { return m_height; }
  bool maximized() const { return m_maximized; }
  int minHeight() const;
  int maxHeight() const;

  // Before creation: the saved place and height, kept on the screens.
  BarPlacement restore(int defaultHeight);
  // After creation: the normal position is where the window was made.
  void keepNormalPosition(const BarPlacement& place);
  // What saveState writes: the place where the bar can be found again and
  // the restored height.
  BarPlacement placementToSave(int defaultHeight);
  // The window's place becomes the saved position (not while minimized).
  void recordPlacement();
  // The layout grew: the window takes the new width and at least the new height.
  void fitLayout();
  // The work area changed: a maximized bar's restored height stays within it.
  void workAreaChanged();
  // The bar's monitor has another DPI (the layout for it is already set):
  // the bar takes the target's place and, within its limits, height; the
  // restored height of a maximized bar is scaled.
  void dpiChanged(const RECT& target, int oldDpi, int newDpi);

  void applyRegion(int ellipseWidth, int flatRatio);
  void posChanging(WINDOWPOS& pos);
  void posChanged();
  void minMaxInfo(MINMAXINFO& info) const;
  // The edges' thickness for the vertical resize.
  int edgeHeight() const;

  // A press on the top or bottom edge starts a resize (not when maximized).
  bool beginResize(WPARAM hit, int screenY);
  bool resizing() const { return m_resizeMode == kResizeTop || m_resizeMode == kResizeBottom; }
  bool busy() const { return m_resizeMode != kNoResize; }
  void resizeTo(int screenY);
  // Ends a resize; false when none ran.
  bool endResize();

  // The next move puts the bar at the activation point.
  void placeAt(POINT point);
  // Shows, restores or (with a pending point) moves the bar, and brings the
  // process's front window forward.
  void show(DWORD processId);

 private:
  void keepRestoredOnBarScreen();

  Settings& m_settings;
  HWND m_bar = nullptr;
  int m_width = 0;
  int m_layoutMinHeight = 0;
  int m_height = 0;
  bool m_maximized = false;
  int m_normalHeight = 0;
  int m_savedHeight = 0;
  int m_resizeMode = kNoResize;
  int m_resizeAnchor = 0;
  bool m_placeAtPoint = false;
  POINT m_activationPoint{};
  // What the window region was made for.
  SIZE m_regionSize{-1, -1};
  int m_regionCorners = -1;
  int m_regionFlat = 0;
};

}  // namespace vorbin
