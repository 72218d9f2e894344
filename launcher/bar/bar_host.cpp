// The bar window's side of its keyboard and pointer collaborators.
#include "launcher/bar/bar_host.h"

#include "launcher/dialogs/help_popup.h"
#include "launcher/dialogs/help_rules.h"

namespace vorbin {

std::optional<int> BarHost::gridSelectionFront() const {
  const BarPointer& pointer = m_bar.m_actions.pointer();
  if (pointer.selectionArea() != hit_area::kGrid || pointer.selection().empty()) return std::nullopt;
  return pointer.selection().front();
}

std::vector<int> BarHost::selectionIn(int group) const {
  const BarPointer& pointer = m_bar.m_actions.pointer();
  if (m_bar.m_actions.groupOfArea(pointer.selectionArea()) != group) return {};
  return pointer.selection();
}

RECT BarHost::boxOnScreen(int functionKey) const {
  const HitGeometry g = m_bar.m_actions.hitGeometry();
  const HitRect r = functionKey >= 0 && static_cast<size_t>(functionKey) < std::size(g.functionKeys)
                        ? g.functionKeys[static_cast<size_t>(functionKey)]
                        : g.logoBox;
  RECT box{r.left, r.top, r.right, r.bottom};
  MapWindowPoints(m_bar.m_hwnd, nullptr, reinterpret_cast<POINT*>(&box), 2);
  return box;
}

void BarHost::endPress() {
  m_bar.m_actions.cancelPress();
  m_bar.repaintAll();
}

void BarHost::clockFormatChanged() {
  m_bar.m_view.computeLayout(m_bar.m_placer.height());
  m_bar.repaintAll();
}

void BarHost::openContextMenu(const Hit& pressed, POINT screen) {
  if (pressed.area == hit_area::kTabs && m_bar.taskMode())
    m_bar.m_menus.openTaskMenu(pressed.index, screen);
  else if (pressed.area == hit_area::kTabs)
    m_bar.m_menus.openTabMenu(pressed.index, screen);
  else
    m_bar.m_menus.openButtonMenu(m_bar.m_actions.groupOfArea(pressed.area), pressed.index, screen);
}

void BarHost::showContextHelp(int id) { showHelpPopup(kHelpContextBar, id, nullptr, m_bar.m_hwnd); }

}  // namespace vorbin
