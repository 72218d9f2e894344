// The drag of buttons and tabs on the bar: the picture of what is dragged
// follows the pointer through an image-list drag with cursor images beside
// it, and a dragged tab held above or below the tab area scrolls the tab rows.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/handle.h"
#include "launcher/render/bar_layout.h"

namespace vorbin {

class ButtonDrag {
 public:
  // Starts dragging the picture of `parts` of the bar image, held at offset
  // from the block's top left; a tab drag may scroll the tab rows. A drag
  // still running is ended first by the caller.
  void begin(HWND bar, HBITMAP barImage, const std::vector<PixelRect>& parts, POINT offset, POINT pointer,
             bool tab);
  void move(POINT pointer);
  // Ends the drag; true when a picture was dragged (the bar repaints).
  bool end(HWND bar);
  // A picture follows the pointer.
  bool active() const { return m_active; }

  // While a tab is dragged outside the tab area (above: -1, below: 1), the
  // rows scroll a step per interval until the button is released or the drag ends.
  struct TabScroll {
    int areaTop = 0, areaBottom = 0;
    int intervalMs = 0;
    std::function<bool(int step)> scrollBy;  // true when the rows moved (then repainted)
    std::function<bool()> stillDragging;
  };
  void scrollTabs(HWND bar, const TabScroll& scroll);

  // A drawing step under the picture hides it meanwhile, so that the picture
  // is not copied into the bar and left behind when it moves on.
  class Hidden {
   public:
    explicit Hidden(const ButtonDrag& drag) : Hidden(drag.active()) {}
    // For a drawing step that knows only whether a picture follows the pointer.
    explicit Hidden(bool dragActive);
    ~Hidden();
    Hidden(const Hidden&) = delete;
    Hidden& operator=(const Hidden&) = delete;

   private:
    bool m_hidden;
  };

 private:
  fw::ImageList m_picture;
  fw::ImageList m_cursors;  // the drag cursor, with the copy mark, and the no-entry cursor
  bool m_active = false;
  bool m_tab = false;
  bool m_scrolling = false;
};

}  // namespace vorbin
