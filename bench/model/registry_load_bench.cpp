// Under Wine: loads a profile of 10,000 items from the real registry and
// prints the time beside the same load from memory, measured in the same run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "launcher/model/registry_profile.h"
#include "profile_fixture.h"

namespace {

constexpr wchar_t kBenchKey[] = L"Software\\Ornel\\vorbin96-bench";

double millisecondsOf(vorbin::Profile& profile, size_t& items) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  vorbin::ModelOptions options;
  options.isV416Later = true;
  vorbin::GroupTable table(profile, options);
  table.loadGroups();
  QueryPerformanceCounter(&end);
  items = 0;
  for (size_t g = 0; g < table.size(); ++g) items += table[g].itemCount();
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double medianOf(vorbin::Profile& profile, int runs, size_t& items) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) times.push_back(millisecondsOf(profile, items));
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int wmain() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kBenchKey);
  vorbin::RegistryProfile registry(kBenchKey);
  vorbin::MemoryProfile memory;
  vorbin::bench::fillProfile(registry, 50, 200);
  vorbin::bench::fillProfile(memory, 50, 200);
  size_t registryItems = 0, memoryItems = 0;
  double fromRegistry = medianOf(registry, 5, registryItems);
  double fromMemory = medianOf(memory, 5, memoryItems);
  RegDeleteTreeW(HKEY_CURRENT_USER, kBenchKey);
  std::printf("profile load, %zu items: registry %.1f ms, memory %.1f ms, ratio %.2f\n", registryItems,
              fromRegistry, fromMemory, fromRegistry / fromMemory);
  return registryItems == 10000 && memoryItems == 10000 ? 0 : 1;
}
