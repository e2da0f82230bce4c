// Decoding speed on a large game database: a 256 MiB file holding a 127 x 127
// map, hex objects spread through filler full of '?' and cut-off type names.
// The whole decode (scan, grid size, hex table, eight extractions, eight
// translations) is set against one memchr pass over the same bytes, the
// cheapest possible look at every byte.
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <random>

#include "gamedb/map_decoding.h"
#include "gamedb_builder/game_db_builder.h"
#include "test_support/null_stream.h"
#include "translate/hex_table_translation.h"

namespace {

constexpr size_t kFileSize = size_t{256} << 20;
constexpr int kSide = 127;
constexpr uint8_t kAbsentByte = 0xFE;  // in no filler, field or type name

GameDatabaseBuffer& largeGameDatabase() {
  static GameDatabaseBuffer buffer = [] {
    std::mt19937 random(7);
    GameDbBuilder db(kFileSize);
    std::string filler(kFileSize, '\0');
    static const char* kDecoys[] = {"?AVtMetaMa", "?AVtMetaMap", "?AVtMetaMapH",
                                    "?AVtMetaMapDesc@", "??????"};
    for (size_t i = 0; i < kFileSize; ++i) {
      const uint32_t r = random();
      char c = static_cast<char>(r >> 8);
      if (c == static_cast<char>(kAbsentByte)) c = 0;
      if ((r & 0xF) == 0) c = '?';
      filler[i] = c;
    }
    for (size_t i = 0; i + 32 < kFileSize; i += 997) {
      const char* decoy = kDecoys[(i / 997) % 5];
      std::memcpy(&filler[i], decoy, std::strlen(decoy));
    }
    db.bytesAt(0, filler);
    db.mapDescriptionAt(4096, kSide, kSide);
    const size_t spacing = (kFileSize - (size_t{2} << 20)) / (kSide * kSide);
    for (int i = 0; i < kSide * kSide; ++i) {
      db.hexAt((size_t{1} << 20) + spacing * i, plainHex(i, kSide));
    }
    GameDatabaseBuffer b;
    b.length = static_cast<int32_t>(db.size());
    b.bytes.reset(new uint8_t[db.size()]);
    std::memcpy(b.bytes.get(), db.bytes().data(), db.size());
    return b;
  }();
  return buffer;
}

void BM_DecodeWholeMap(benchmark::State& state) {
  const GameDatabaseBuffer& buffer = largeGameDatabase();
  NullStream out;
  for (auto _ : state) {
    auto located = locateMapHexes(out, buffer);
    if (!located.ok()) {
      state.SkipWithError("damaged");
      break;
    }
    DecodedMap& map = located.value();
    extractHexFields(out, buffer, map);
    translateHexTable(map.hexes);
    benchmark::DoNotOptimize(map.hexes.economy.data());
  }
  state.SetBytesProcessed(state.iterations() * buffer.length);
}

void BM_MemchrPass(benchmark::State& state) {
  const GameDatabaseBuffer& buffer = largeGameDatabase();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        std::memchr(buffer.bytes.get(), kAbsentByte, buffer.length));
  }
  state.SetBytesProcessed(state.iterations() * buffer.length);
}

BENCHMARK(BM_MemchrPass)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DecodeWholeMap)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Prints the decode's time as a multiple of the memchr pass after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const double perIteration = run.GetAdjustedRealTime();
      if (run.benchmark_name().find("Memchr") != std::string::npos) {
        memchr_ = perIteration;
      } else {
        decode_ = perIteration;
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (memchr_ > 0 && decode_ > 0) {
      std::cout << "decode / memchr = " << decode_ / memchr_
                << " (goal: at most 2)\n";
    }
  }

 private:
  double memchr_ = 0;
  double decode_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
