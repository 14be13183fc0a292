#include <benchmark/benchmark.h>

#include "support/screen_harness.h"

// One whole game on the virtual clock: the engine, the board and recorded speech.
static void BM_WholeGame(benchmark::State& state) {
  std::uint64_t seed = 1;
  for (auto _ : state) {
    ScreenHarness::Options options;
    options.seed = seed++;
    ScreenHarness h(options);
    h.tap("Play");
    h.runUntilIdle();
    benchmark::DoNotOptimize(h.vc()._randomNumbers.size());
  }
}
BENCHMARK(BM_WholeGame)->Unit(benchmark::kMicrosecond);

// Phrasing one two-digit number into its spoken items.
static void BM_PhraseOneNumber(benchmark::State& state) {
  ScreenHarness h;
  const std::vector<std::string> texts{"45"};
  for (auto _ : state) {
    h.vc().buildAnnounceInfoList(texts);
    benchmark::DoNotOptimize(h.vc()._announceInfoList.data());
  }
}
BENCHMARK(BM_PhraseOneNumber);
