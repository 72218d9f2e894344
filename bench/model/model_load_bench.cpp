// Loading the group table from a profile of 10,000 items held in memory, and
// the record work behind it.
#include <benchmark/benchmark.h>

#include "launcher/model/item_record.h"
#include "profile_fixture.h"

namespace vorbin {
namespace {

const MemoryProfile& bigProfile() {
  static MemoryProfile* profile = [] {
    auto* p = new MemoryProfile;
    bench::fillProfile(*p, 50, 200);
    return p;
  }();
  return *profile;
}

void loadTable(benchmark::State& state, bool keepCompression) {
  MemoryProfile profile = bigProfile();
  size_t items = 0;
  for (auto _ : state) {
    ModelOptions options;
    options.isV416Later = true;
    options.keepCompression = keepCompression;
    GroupTable table(profile, options);
    table.loadGroups();
    items = 0;
    for (size_t g = 0; g < table.size(); ++g) items += table[g].itemCount();
    benchmark::DoNotOptimize(items);
  }
  state.counters["items"] = static_cast<double>(items);
}

void BM_LoadTenThousandItems(benchmark::State& state) { loadTable(state, false); }
BENCHMARK(BM_LoadTenThousandItems)->Unit(benchmark::kMillisecond);

void BM_LoadTenThousandItemsKeepCompression(benchmark::State& state) { loadTable(state, true); }
BENCHMARK(BM_LoadTenThousandItemsKeepCompression)->Unit(benchmark::kMillisecond);

void BM_SaveItem(benchmark::State& state) {
  MemoryProfile profile = bigProfile();
  ModelOptions options;
  options.isV416Later = true;
  GroupTable table(profile, options);
  table.loadGroups();
  for (auto _ : state) benchmark::DoNotOptimize(table.saveItem(1, 0, false));
}
BENCHMARK(BM_SaveItem)->Unit(benchmark::kMicrosecond);

void BM_DecodeRecord(benchmark::State& state) {
  Item item;
  item.setTargetPath(L"C:\\Program Files\\Vendor\\program.exe");
  item.folder = L"C:\\Program Files\\Vendor";
  item.text5 = L"comment";
  item.image.depth = 24;
  item.image.bits.assign(imageByteSize(24), 0x40);
  std::vector<uint8_t> record = encodeItemRecord(item);
  for (auto _ : state) benchmark::DoNotOptimize(decodeItemRecord(record, latin1Decoder));
}
BENCHMARK(BM_DecodeRecord);

}  // namespace
}  // namespace vorbin
