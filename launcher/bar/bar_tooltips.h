// The bar's tool tips: a tip control made on the first pointer move over the
// bar, one tool per hit area, texts by the tip rules (tip_text.h) from a
// buffer of its own, and the picture under the text of web-link buttons.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "launcher/bar/task_list.h"
#include "launcher/bar/tip_text.h"
#include "launcher/model/group_table.h"
#include "launcher/model/settings.h"

namespace vorbin {

class BarToolTips {
 public:
  // What the tips read of the bar, asked when a tip is wanted.
  struct Facts {
    const Settings& settings;
    const GroupTable& groups;
    const TaskList& tasks;
    std::function<HitGeometry()> geometry;
    std::function<int(int group)> firstVisibleSlot;
    std::function<bool()> maximized;
  };
  explicit BarToolTips(Facts facts) : m_facts(std::move(facts)) {}
  ~BarToolTips();
  BarToolTips(const BarToolTips&) = delete;
  BarToolTips& operator=(const BarToolTips&) = delete;

  // A mouse message of the bar: the control is made on first use, its tools
  // follow the hit areas, and the message goes on to it.
  void relayMouse(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
  // WM_NOTIFY of the bar: the control's requests; nothing when not its own.
  std::optional<LRESULT> notify(const NMHDR& header);
  // The layout changed: the tools are made again at the next pointer message.
  void layoutChanged() { m_tools.clear(); }
  // The tip control, once made.
  HWND control() const { return m_tip; }

  // The text a tool shows now (what the control is given).
  std::wstring textFor(uint32_t code);

 private:
  bool ensureControl(HWND bar);
  void syncTools();
  // Loads the picture of a web-link button and widens the tip's margins for it;
  // the base margins otherwise.
  void preparePicture(uint32_t code, const std::wstring& text);
  void releasePicture();
  const Item* buttonItem(uint32_t code) const;
  static LRESULT CALLBACK pictureProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void drawPicture(HWND tip);

  Facts m_facts;
  HWND m_bar = nullptr;
  HWND m_tip = nullptr;
  std::vector<TipTool> m_tools;
  std::optional<uint32_t> m_pressedTool;  // pressed last; its tip waits until the pointer leaves it
  std::wstring m_text;  // what the control shows points here: comments exceed its own 80 characters
  RECT m_baseMargin{};
  // The picture tip: the picture, its size, and whether the tip is subclassed to draw it.
  fw::Bitmap m_picture;
  SIZE m_pictureSize{};
  bool m_subclassed = false;
};

}  // namespace vorbin
