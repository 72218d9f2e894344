// The marks on the bar's buttons.
#include "launcher/bar/button_marks.h"

#include <algorithm>
#include <utility>

#include "framework/gdi.h"

namespace vorbin {

ButtonLook ButtonMarks::look(int group, int slot) const {
  const bool selected = group == m_selectionGroup &&
                        std::find(m_selection.begin(), m_selection.end(), slot) != m_selection.end();
  return {group == m_hotGroup && slot == m_hotSlot, selected};
}

void ButtonMarks::showSelection(int group, const std::vector<int>& slots, bool selected,
                                const RepaintButton& repaint) {
  const int oldGroup = m_selectionGroup;
  const std::vector<int> before = m_selection;
  m_selection = slots;
  m_selectionGroup = group;
  for (int slot : before) {
    const bool still = m_selectionGroup == oldGroup &&
                       std::find(m_selection.begin(), m_selection.end(), slot) != m_selection.end();
    if (!still && oldGroup >= 0) repaint(oldGroup, slot, {});
  }
  for (int slot : m_selection) repaint(m_selectionGroup, slot, {false, selected});
}

void ButtonMarks::showHot(int group, int slot, const RepaintButton& repaint) {
  const int oldGroup = std::exchange(m_hotGroup, group);
  const int oldSlot = std::exchange(m_hotSlot, group < 0 ? -1 : slot);
  // Each repaint hides a drag picture while it draws under it.
  if (oldGroup >= 0) repaint(oldGroup, oldSlot, look(oldGroup, oldSlot));
  if (m_hotGroup >= 0) repaint(m_hotGroup, m_hotSlot, look(m_hotGroup, m_hotSlot));
}

void ButtonMarks::showBand(HWND bar, const std::optional<HitRect>& band) {
  fw::WindowDC dc(bar);
  if (m_band) {
    const RECT old{m_band->left, m_band->top, m_band->right, m_band->bottom};
    DrawFocusRect(dc, &old);
  }
  m_band = band;
  if (m_band) {
    const RECT now{m_band->left, m_band->top, m_band->right, m_band->bottom};
    DrawFocusRect(dc, &now);
  }
}

}  // namespace vorbin
