// The bar's picture: fonts, metrics and layout, the readout boxes, the
// colours and pictures, the off-screen bar image painted from the model and
// copied to the window, single buttons painted into it, and the clock.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "framework/gdi.h"
#include "launcher/bar/bar_readouts.h"
#include "launcher/bar/button_marks.h"
#include "launcher/interact/hit_areas.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"
#include "launcher/render/bar_fonts.h"
#include "launcher/render/bar_painter.h"
#include "launcher/render/clock_text.h"

namespace vorbin {

// What the bar shows beyond the model, gathered by the bar window for each
// drawing step from its own state and its other collaborators.
struct BarScene {
  HWND bar = nullptr;
  int currentArea = 1;  // the area holding the keyboard: 1 tabs, 2 grid, 3 quick list
  bool maximized = false;
  bool dragActive = false;  // a dragged picture follows the pointer
  std::optional<Hit> pressedBox;
  std::function<ButtonLook(int group, int slot)> look;
  const TaskTable* tasks = nullptr;
  int pressedTask = 0;
  // The task list's first shown row, asked when it is painted, and the icon
  // of an entry that is shown (asked of its window the first time).
  std::function<int()> taskFirstRow;
  std::function<HICON(int entry)> taskIcon;
  // Painting the task list tells which entries' titles did not fit.
  std::function<void(const std::vector<int>& cut)> tasksCut;
};

class BarView {
 public:
  struct Hooks {
    // A new layout is in force (the window's size limits follow it).
    std::function<void(const BarLayout&)> layoutTaken;
    // The bar image is about to be painted over the layout in force.
    std::function<void()> imagePainting;
  };
  BarView(const Settings& settings, const Colors& colors, GroupTable& groups, Hooks hooks);

  // Fonts, metrics and layout again for a client of this height (0: the
  // default height); the next paint draws everything.
  void computeLayout(int clientHeight);
  // The DPI of the bar's monitor, for the next layout (0: the screen's).
  void setDpi(int dpi);
  int dpi() const { return m_layout.dpi; }
  // Colours and pictures again from the settings.
  void loadColours();
  // A new display depth: the bar image is made again.
  void forgetImage() { m_barImage.reset(); }
  // The next paint draws the whole bar into its image first.
  void repaintAll(HWND bar);
  // The next paint draws the group display again over the kept rest of the bar.
  void repaintContent(HWND bar);

  // WM_PAINT: the image brought up to date and copied into the update region.
  void paint(const BarScene& scene);
  // Repaints one button into the bar image and copies only its cell to the window.
  void repaintButton(int group, int slot, ButtonLook look, const BarScene& scene);
  // The clock's second: the readouts that changed are painted and copied.
  void tickClock(const BarScene& scene);
  void startClock(HWND bar);
  void stopClock(HWND bar);

  const BarLayout& layout() const { return m_layout; }
  const ReadoutBoxes& readoutBoxes() const { return m_readoutBoxes; }
  const PaintKit& kit() const { return m_kit; }
  // The bar image as last painted (the drag picture is cut from it).
  HBITMAP image() const { return m_barImage.get(); }
  std::optional<ButtonGeometry> slotGeometry(int group, int slot) const;
  // The slot in the grid's first visible cell.
  int firstVisibleSlot(int group) const;

 private:
  FontSettings fontSettings() const;
  void takeLayout(const BarLayout& layout);
  BarPaintState paintState(const BarScene& scene);
  // Makes the bar image match the client size and state; true when it was
  // painted anew (all of it, or its group display).
  bool ensureBarImage(HDC reference, const BarScene& scene);
  void paintBarImage(HDC dc, bool contentOnly, const BarScene& scene);
  void paintGroupDisplay(HDC dc, const BarScene& scene);
  void paintTaskList(HDC dc, const BarScene& scene);
  // The drawn scroll buttons over the tab area, when its rows do not all fit.
  void paintTabScrollButtons(HDC dc, int tabCount, const TabLayout& tabs);
  void paintScrollColumn(HDC dc);
  void paintSlot(HDC dc, int group, int slot, ButtonLook look, const BarScene& scene);

  const Settings& m_settings;
  const Colors& m_colors;
  GroupTable& m_groups;
  Hooks m_hooks;

  bool m_clockRunning = false;
  int m_dpi = 0;
  bool m_dpiChecked = false;  // the first paint compared the window's DPI with the layout's
  LayoutMetrics m_metrics;
  // The button font before its size adjustment, chosen with the layout.
  LOGFONTW m_buttonFont{};
  BarLayout m_layout;
  ReadoutBoxes m_readoutBoxes;
  SlotPictures m_pictures;
  PaintKit m_kit;
  fw::Bitmap m_barImage;
  SIZE m_imageSize{0, 0};
  bool m_imageValid = false;
  // False when only the group display (tabs, buttons, task list) must be painted again.
  bool m_contentValid = false;
  // What the clock and indicator last showed.
  ReadoutMemory m_readouts;
};

}  // namespace vorbin
