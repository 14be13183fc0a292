// How fast books are made and printed. A host asks for a book of 1,000 strips and expects it in
// seconds: strips a second with the seeded and with the secure source side by side, a whole
// 1,000-strip book (the check that no ticket repeats included), the book as JSON both ways, and
// PDF pages a second. Each is repeated for its median, p99 and max.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "hosts/print/book_pdf.h"
#include "tickets/book_json.h"
#include "tickets/strip_generator.h"

namespace {

constexpr int kRepetitions = 15;

double percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[at];
}

template <class Benchmark>
void repeated(Benchmark* benchmark) {
  benchmark->Repetitions(kRepetitions)
      ->ReportAggregatesOnly(true)
      ->ComputeStatistics("p99", [](const std::vector<double>& v) { return percentile(v, 0.99); })
      ->ComputeStatistics("max", [](const std::vector<double>& v) { return percentile(v, 1.0); })
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
}

template <class Source>
void stripsWith(benchmark::State& state, Source& random) {
  tickets::StripGenerator generator(random);
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) benchmark::DoNotOptimize(generator.next());
  }
  state.counters["strips_per_second"] = benchmark::Counter(
      100.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_100StripsSeeded(benchmark::State& state) {
  platform::SeededRandomSource random(1);
  stripsWith(state, random);
}
BENCHMARK(BM_100StripsSeeded)->Apply(repeated<benchmark::internal::Benchmark>);

void BM_100StripsSecure(benchmark::State& state) {
  platform::SecureRandomSource random;
  stripsWith(state, random);
}
BENCHMARK(BM_100StripsSecure)->Apply(repeated<benchmark::internal::Benchmark>);

void BM_BookOf1000Strips(benchmark::State& state) {
  std::uint64_t seed = 1;
  for (auto _ : state) {
    platform::SeededRandomSource random(seed++);
    benchmark::DoNotOptimize(tickets::generateBook(1000, 1, random));
  }
}
BENCHMARK(BM_BookOf1000Strips)->Iterations(1)->Apply(repeated<benchmark::internal::Benchmark>);

void BM_BookOf1000StripsAsJsonAndBack(benchmark::State& state) {
  platform::SeededRandomSource random(1);
  const auto book = tickets::generateBook(1000, 1, random);
  for (auto _ : state) benchmark::DoNotOptimize(tickets::bookFromJson(tickets::bookToJson(book)));
}
BENCHMARK(BM_BookOf1000StripsAsJsonAndBack)->Apply(repeated<benchmark::internal::Benchmark>);

void BM_PdfOf100Strips(benchmark::State& state) {
  platform::SeededRandomSource random(1);
  const auto book = tickets::generateBook(100, 1, random);
  const auto path = std::filesystem::temp_directory_path() /
                    ("vorlix-tickets-bench-" + std::to_string(::getpid()) + ".pdf");
  for (auto _ : state) print::writeBookPdf(book, path);
  state.counters["pages_per_second"] =
      benchmark::Counter(print::pageCount(book) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["file_kib"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
  std::filesystem::remove(path);
}
BENCHMARK(BM_PdfOf100Strips)->Iterations(1)->Apply(repeated<benchmark::internal::Benchmark>);

}  // namespace
