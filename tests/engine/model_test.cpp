#include <gtest/gtest.h>

#include <array>
#include <random>
#include <sstream>

#include "support/host_moves.h"
#include "support/invariants.h"
#include "support/screen_harness.h"

namespace {

// A host who taps anything, answers whatever alert is up and lets time pass: mostly a few
// seconds, sometimes a minute, now and then long enough to call a whole game.
class RandomHost {
 public:
  explicit RandomHost(std::uint64_t seed) : rng_(seed) {}

  HostMove next() {
    const int roll = pick(100);
    if (roll < 45) return {HostMove::Kind::tap, control()};
    if (roll < 50) return {HostMove::Kind::answerYes};
    if (roll < 55) return {HostMove::Kind::answerNo};
    const int span = pick(100);
    const double limit = span < 75 ? 8.0 : span < 98 ? 60.0 : 600.0;
    return {HostMove::Kind::wait, 0, std::uniform_real_distribution<double>(0.0, limit)(rng_)};
  }

 private:
  // Play and Pause most often, recalls and speeds less, Re-start least: a recall list plays for
  // minutes, so recalls picked as often as the rest would keep the game recalling most of the time.
  std::size_t control() {
    const int roll = pick(100);
    if (roll < 30) return 0;
    if (roll < 55) return 1;
    if (roll < 62) return 2;
    if (roll < 80) return 3 + static_cast<std::size_t>(pick(6));
    return 9 + static_cast<std::size_t>(pick(9));
  }
  int pick(std::size_t below) {
    return std::uniform_int_distribution<int>(0, static_cast<int>(below) - 1)(rng_);
  }
  std::mt19937_64 rng_;
};

std::string describe(const HostMove& move) {
  std::ostringstream out;
  switch (move.kind) {
    case HostMove::Kind::tap:
      out << "tap " << kControlTitles[move.control];
      break;
    case HostMove::Kind::answerYes:
      out << "answer Yes";
      break;
    case HostMove::Kind::answerNo:
      out << "answer No";
      break;
    case HostMove::Kind::wait:
      out << "wait " << move.seconds << " s";
      break;
  }
  return out.str();
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
constexpr int kGames = 15;  // the sanitizers run it several times slower
#else
constexpr int kGames = 40;
#endif

// Forty games of a thousand random moves each (fewer under the sanitizers). After every move and
// every timer firing the game's invariants hold, and each move did what a host expects of it and
// nothing more.
TEST(Model, RandomHostsNeverBreakTheGame) {
  constexpr int kMovesPerGame = 1000;
  std::array<int, 5> movesEndingIn{};
  for (int game = 0; game < kGames; ++game) {
    ScreenHarness::Options options;
    options.seed = static_cast<std::uint64_t>(game) + 1;
    ScreenHarness h(options);
    MoveReferee referee(h);
    RandomHost host(1000 + options.seed);
    for (int i = 0; i < kMovesPerGame; ++i) {
      const HostMove move = host.next();
      const auto problems = referee.play(move);
      ASSERT_EQ(problems, std::vector<std::string>{})
          << "game " << game << ", move " << i << ": " << describe(move);
      ++movesEndingIn[static_cast<std::size_t>(gameStateOf(h.vc()))];
    }
  }
  // The run is worth only as much as the ground it covers: every state, several times a game.
  for (std::size_t state = 0; state < movesEndingIn.size(); ++state)
    EXPECT_GT(movesEndingIn[state], kGames) << gameStateName(static_cast<GameState>(state));
}
