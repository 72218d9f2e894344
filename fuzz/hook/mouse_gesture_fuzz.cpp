// Arbitrary shared-block words and mouse messages through the gesture
// decisions: no crash, no undefined behaviour, and reports only ever go to
// the launcher window, at most one activation per message.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "hook/mouse_gesture.h"
#include "hook/window_events.h"
#include "tests/hook/fake_mouse_platform.h"

namespace {

using vorber::testing::FakePlatform;
using vorber::testing::FakeWindow;

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  bool empty() const { return m_pos >= m_size; }
  template <class T>
  T take() {
    T value{};
    const size_t n = std::min(sizeof(T), m_size - std::min(m_pos, m_size));
    std::memcpy(&value, m_data + m_pos, n);
    m_pos += sizeof(T);
    return value;
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in(data, size);
  vorber::SharedHookState state = in.take<vorber::SharedHookState>();
  if (in.take<uint8_t>() & 1) vorber::applyVorbMode(state, in.take<uint32_t>(), in.take<uint32_t>());

  FakePlatform platform;
  const uintptr_t windows[] = {state.launcherWindow, state.desktopWindow, 10, 20, 21, 22, 30, 0};
  platform.windows[state.desktopWindow] = FakeWindow{7, 0, 0, "#32769", 0, in.take<vorber::HookRect>(), true};
  platform.windows[20] = FakeWindow{7, 0, 21, "Progman", 0x80, in.take<vorber::HookRect>(), true};
  platform.windows[21] = FakeWindow{7, 20, 22, "SHELLDLL_DefView", 0, {}, true};
  platform.windows[22] = FakeWindow{7, 21, 0, "SysListView32", 0, {}, true};
  platform.windows[30] = FakeWindow{100, 0, 0, "CLIPBRDWNDCLASS", 0, {}, false};
  platform.windows[10] = FakeWindow{100, 0, 0, "App", in.take<uint32_t>(), in.take<vorber::HookRect>(), true};
  platform.progman = 20;

  while (!in.empty()) {
    const uint8_t control = in.take<uint8_t>();
    platform.buttonDown = control & 1;
    platform.iconUnderPoint = control & 2;
    platform.capture = (control & 4) ? 30 : 0;
    const size_t before = platform.reports.size();
    if (control & 0x80) {
      platform.cursor = in.take<vorber::HookPoint>();
      vorber::onDragHoldTimer(state, platform, in.take<uint8_t>());
    } else {
      const int32_t code = static_cast<int8_t>(in.take<uint8_t>());
      const uint32_t message = in.take<uint16_t>();
      const vorber::HookPoint pt = in.take<vorber::HookPoint>();
      const uintptr_t window = windows[in.take<uint8_t>() % (sizeof windows / sizeof windows[0])];
      const int32_t hit = static_cast<int8_t>(in.take<uint8_t>());
      const auto verdict = vorber::onMouseMessage(state, platform, code, message, {pt.x, pt.y, window, hit});
      if (verdict == vorber::MouseVerdict::kSwallow) {
        const uint32_t a = message & 0x0F;
        check(code >= 0 && message >= 0xA0 && (a == 1 || a == 4));
      }
    }
    check(platform.reports.size() - before <= 1);
    for (size_t i = before; i < platform.reports.size(); ++i)
      check(platform.reports[i].window == state.launcherWindow);
  }

  int32_t wasOn = static_cast<int32_t>(size);
  vorber::decideAnimation(size & 1, size & 2, wasOn);
  char buffer[vorber::kMaxAtomText + 1];
  char text[300] = {};
  std::memcpy(text, data, std::min(size, sizeof text - 1));
  if (vorber::copyCommandLineForAtom(text, buffer)) check(std::strlen(buffer) <= vorber::kMaxAtomText);
  return 0;
}
