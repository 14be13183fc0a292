// Times the recorder keeping each call of whole games as the caller does (one commit, synced to
// disk, per call) against the same games with no store, and measures a store of 1,000 games.
// The store lives in a folder beside this program (on a real disk, unlike a tmpfs /tmp), or in
// the folder named by the first argument.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "app/game_record.h"
#include "app/game_recorder.h"
#include "platform/store/sqlite.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kTimedGames = 10;
constexpr int kSizedGames = 1000;

std::vector<int> shuffledDraw(std::mt19937& random) {
  std::vector<int> draw(90);
  std::iota(draw.begin(), draw.end(), 1);
  std::shuffle(draw.begin(), draw.end(), random);
  return draw;
}

// Plays whole games into the recorder and returns the time each call's observe took, in ms.
std::vector<double> playGames(app::GameRecorder& recorder, int games, std::mt19937& random) {
  std::vector<double> perCall;
  auto now = std::chrono::system_clock::now();
  for (int game = 0; game < games; ++game) {
    app::ObservedGame view{{}, 5, app::GamePhase::calling, std::nullopt};
    for (const int number : shuffledDraw(random)) {
      view.calledInOrder.push_back(number);
      if (view.calledInOrder.size() == 90) view.phase = app::GamePhase::completed;
      now += std::chrono::seconds(8);
      const auto start = Clock::now();
      recorder.observe(view, now);
      perCall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      view.numberOnShow = number;
      recorder.observe(view, now + std::chrono::seconds(1));  // its first item reaches speech
    }
    recorder.observe({{}, 5, app::GamePhase::notStarted, std::nullopt}, now);
  }
  return perCall;
}

void report(const char* name, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const auto at = [&](double share) {
    return times[std::min(times.size() - 1,
                          static_cast<std::size_t>(share * static_cast<double>(times.size())))];
  };
  std::printf("%-34s %6zu calls  median %9.4f ms  p99 %9.4f ms  max %9.4f ms\n", name, times.size(),
              at(0.5), at(0.99), times.back());
}

std::vector<double> timeWithStore(const fs::path& file, const char* synchronous) {
  fs::remove(file);
  auto record = app::GameRecord::open(file, app::GameRecord::Access::caller);
  record->database().execute(std::string("PRAGMA synchronous=") + synchronous);
  app::GameRecorder recorder(record.get(), "secure", [](const std::string& problem) {
    std::fprintf(stderr, "%s\n", problem.c_str());
  });
  std::mt19937 random(1);
  return playGames(recorder, kTimedGames, random);
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path folder =
      (argc > 1 ? fs::path(argv[1]) : fs::canonical("/proc/self/exe").parent_path()) /
      ("store-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const auto file = folder / "Vorlix.sqlite";

  std::mt19937 random(1);
  app::GameRecorder noStore(nullptr, "secure", {});
  report("store off", playGames(noStore, kTimedGames, random));
  report("store on, synchronous=FULL (kept)", timeWithStore(file, "FULL"));
  report("store on, synchronous=NORMAL", timeWithStore(file, "NORMAL"));

  // The size a store reaches: 1,000 whole games with their spoken moments (not synced, to be quick;
  // the bytes are the same).
  fs::remove(file);
  {
    auto record = app::GameRecord::open(file, app::GameRecord::Access::caller);
    record->database().execute("PRAGMA synchronous=OFF");
    app::GameRecorder recorder(record.get(), "secure", {});
    playGames(recorder, kSizedGames, random);
  }
  std::printf("store of %d whole games: %.2f MB (%ju bytes) in %s\n", kSizedGames,
              static_cast<double>(fs::file_size(file)) / 1e6, fs::file_size(file),
              folder.string().c_str());
  fs::remove_all(folder);
}
