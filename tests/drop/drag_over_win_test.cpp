// Message 0x022B (the drag-over again at the pointer) on a bar of this
// process: the system may refuse to carry it from another program, so the
// bar's own window is sent it directly. Any program could send it while
// nothing is being dragged; then it must do nothing.
#include <windows.h>
#include <gtest/gtest.h>

#include "launcher/bar/bar_messages.h"
#include "launcher/bar/bar_timers.h"
#include "launcher/render/bar_layout.h"
#include "tests/bar/in_process_bar.h"
#include "tests/support/e2e.h"

namespace vorbin {
namespace {

using DragOverMessage = InProcessBarTest;

TEST_F(DragOverMessage, WithoutADragTheTabUnderThePointerOpensNothing) {
  for (const wchar_t* title : {L"One", L"Two"}) {
    const std::wstring t = title;
    ASSERT_TRUE(groups->ensureGroup(static_cast<int>(groups->placeholderIndex()), &t, false));
  }
  settings.intervalAtSel = -1;  // the pointer's own hover switches nothing
  settings.intervalAtDrop = 50;
  HWND w = createShownBar();
  groups->activeGroup = 1;
  bar->repaintAll();
  e2e::pumpFor(50);
  const PixelRect tab2 = tabRect(bar->layout(), tabLayout(bar->layout(), 0), 2, 0);
  POINT over{(tab2.left + tab2.right) / 2, (tab2.top + tab2.bottom) / 2};
  ClientToScreen(w, &over);
  SetCursorPos(over.x, over.y);
  ASSERT_TRUE(e2e::waitUntil(
      [&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == over.x && now.y == over.y;
      },
      2000));
  e2e::pumpFor(100);
  ASSERT_FALSE(KillTimer(w, kTimerHoverGroup)) << "the pointer alone armed the tab";

  SendMessageW(w, kMsgDragOver, 0, 0);
  EXPECT_FALSE(KillTimer(w, kTimerHoverGroup)) << "a drag-over ran with no drag";
  e2e::pumpFor(200);
  EXPECT_EQ(groups->activeGroup, 1);
}

}  // namespace
}  // namespace vorbin
