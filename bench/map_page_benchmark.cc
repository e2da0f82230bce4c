// The map page of the largest map, 127 x 127 hexes with varied codes: how
// long drawing it takes, and how large the file is (the "page_bytes"
// counter). Writing the file is one more write of that many bytes.
#include <benchmark/benchmark.h>

#include "mappage/map_page.h"

namespace {

WebmapContent largestWebmap() {
  constexpr int kSide = 127;
  const char* const kTerrains[] = {"64",      "256",     "512",     "4096",
                                   "8192",    "16384",   "262144",  "524288",
                                   "2097152", "4194304", "8388608", "67108864"};
  WebmapContent w;
  w.descriptions = {{"777777", "127", "127"}};
  for (int i = 0; i < kSide * kSide; ++i) {
    const std::string control = i % 10 == 9 ? "15" : std::to_string(i % 9);
    w.hexes.push_back({std::to_string(i), std::to_string(i % kSide),
                       std::to_string(i / kSide), control, kTerrains[i % 12],
                       i % 4 == 0 ? "16" : "0", i % 8 == 0 ? "2" : "0",
                       std::to_string(i % 12), std::to_string(i % 12),
                       std::to_string(i % 40), std::to_string(i % 40), "1", "1",
                       "", ""});
  }
  return w;
}

void BM_MapPageOfTheLargestMap(benchmark::State& state) {
  const WebmapContent webmap = largestWebmap();
  size_t bytes = 0;
  for (auto _ : state) {
    const MapPage page = renderMapPage(webmap);
    bytes = page.html.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
  state.counters["hexes"] = 127 * 127;
}
BENCHMARK(BM_MapPageOfTheLargestMap)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
