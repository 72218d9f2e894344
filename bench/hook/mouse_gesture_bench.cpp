// Cost of the mouse hook's decision for the messages that dominate: moves
// with no gesture armed, off and on a screen edge, and a move while armed.
#include <benchmark/benchmark.h>

#include "hook/mouse_gesture.h"
#include "tests/hook/fake_mouse_platform.h"

namespace {

using vorber::kInitialHookState;
using vorber::MouseRecord;
using vorber::SharedHookState;

SharedHookState configured() {
  SharedHookState s = kInitialHookState;
  s.launcherWindow = 2;
  s.launcherProcessId = 50;
  s.desktopWindow = 1;
  s.screenEdges = {0, 0, 1919, 1079};
  s.stillness = {8, 8};
  vorber::applyVorbMode(s, 0, 0x1F);
  return s;
}

void moveAcross(benchmark::State& bench, int32_t x) {
  SharedHookState s = configured();
  vorber::testing::FakePlatform platform;
  int32_t y = 0;
  for (auto _ : bench) {
    y = (y + 7) & 1023;
    benchmark::DoNotOptimize(vorber::onMouseMessage(s, platform, 0, 0x200, MouseRecord{x, y, 10, 1}));
  }
}

void IdleMoveOffEdge(benchmark::State& bench) { moveAcross(bench, 700); }
void IdleMoveOnEdge(benchmark::State& bench) { moveAcross(bench, 0); }
BENCHMARK(IdleMoveOffEdge);
BENCHMARK(IdleMoveOnEdge);

void ArmedMoveInsideStillnessBox(benchmark::State& bench) {
  SharedHookState s = configured();
  s.activationState = vorber::kArmed;
  s.armPoint = {0, 500};
  vorber::testing::FakePlatform platform;
  platform.windows[10] = vorber::testing::FakeWindow{};
  for (auto _ : bench) {
    benchmark::DoNotOptimize(vorber::onMouseMessage(s, platform, 0, 0x200, MouseRecord{3, 503, 10, 1}));
  }
}
BENCHMARK(ArmedMoveInsideStillnessBox);

}  // namespace
