// A whole scripted game through the application main, as `vorlix-caller --script` runs it: the
// screen loaded from the main interface, every event written to the transcript. The target is
// "well under a second" for a game; the transcript's size is reported alongside.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <sstream>

#include "app/application_main.h"
#include "hosts/terminal/script_host.h"

namespace {

void BM_WholeScriptedGame(benchmark::State& state) {
  std::size_t transcriptBytes = 0;
  std::uint64_t seed = 1;
  for (auto _ : state) {
    std::istringstream script("tap Play\nuntil-idle\nboard\n");
    platform::SeededRandomSource random(seed++);
    std::ostringstream transcript;
    std::ostringstream errors;
    terminal::ScriptHost host(terminal::parseScript(script),
                              terminal::ScriptHost::Clock::virtualTime, random, transcript, errors);
    if (app::applicationMain(host, {}) != 0) state.SkipWithError("the game did not finish");
    transcriptBytes = transcript.str().size();
  }
  state.counters["transcript_bytes"] = static_cast<double>(transcriptBytes);
}
BENCHMARK(BM_WholeScriptedGame)->Unit(benchmark::kMillisecond);

}  // namespace
