// What the pointer and the keys mark on the bar's buttons: the hot
// highlight, the selection as shown, the rubber band and the box held pressed.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "launcher/interact/hit_areas.h"

namespace vorbin {

// How a single button is drawn: hot or pressed, or selected (blended with ActTitle).
struct ButtonLook {
  bool highlighted = false;
  bool selected = false;
};

class ButtonMarks {
 public:
  using RepaintButton = std::function<void(int group, int slot, ButtonLook look)>;

  // How the marks show a button now (whole repaints keep them).
  ButtonLook look(int group, int slot) const;
  // The selection shown becomes `slots` of `group`; buttons that left it go back to plain.
  void showSelection(int group, const std::vector<int>& slots, bool selected, const RepaintButton& repaint);
  void forgetSelection() { m_selection.clear(); }
  // The hot highlight moves to this button (group -1: none).
  void showHot(int group, int slot, const RepaintButton& repaint);
  // A focus rectangle drawn twice is gone again: the old band is erased, the new one drawn.
  void showBand(HWND bar, const std::optional<HitRect>& band);

  // The box (a key or a caption, mode, command, scroll or logo box) held pressed.
  const std::optional<Hit>& pressedBox() const { return m_pressedBox; }
  void pressBox(const Hit& box) { m_pressedBox = box; }
  // True when a box was held.
  bool releaseBox() { return std::exchange(m_pressedBox, std::nullopt).has_value(); }

 private:
  std::vector<int> m_selection;
  int m_selectionGroup = -1;
  int m_hotGroup = -1;
  int m_hotSlot = -1;
  std::optional<HitRect> m_band;
  std::optional<Hit> m_pressedBox;
};

}  // namespace vorbin
