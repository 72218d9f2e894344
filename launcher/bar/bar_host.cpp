// The bar window's side of its keyboard and pointer collaborators.
#include "launcher/bar/bar_host.h"

namespace vorbin {

std::optional<int> BarHost::gridSelectionFront() const {
  const BarPointer& pointer = m_bar.m_actions.pointer();
  if (pointer.selectionArea() != hit_area::kGrid || pointer.selection().empty()) return std::nullopt;
  return pointer.selection().front();
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

void BarHost::showContextHelp(int id) {
  const std::wstring& folder = m_bar.m_context.settings.programFolder;
  auto exists = [&](const wchar_t* name) {
    return GetFileAttributesW((folder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  const auto file =
      contextHelpFile(m_bar.m_context.settings.language, exists(L"vorbin2Kj.hlp"), exists(L"vorbin2Ke.hlp"));
  // Without help files beside the program a right click has nothing to show.
  if (!file) return;
  const std::wstring path = folder + std::wstring(*file);
  WinHelpW(m_bar.m_hwnd, path.c_str(), HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(id));
}

}  // namespace vorbin
