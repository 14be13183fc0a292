#include <gtest/gtest.h>

#include <array>
#include <random>

#include "support/host_moves.h"

#if defined(__SANITIZE_ADDRESS__)
constexpr int kGames = 15;  // the sanitizers run it several times slower
#else
constexpr int kGames = 40;
#endif

// Forty games of a thousand random moves each (fewer under the sanitizers). After every move and
// every timer firing the game's invariants hold (exactly one of Play and Pause takes taps, at most
// one timer pending, ...), and each move did what a host expects of it and nothing more.
TEST(Model, RandomHostsNeverBreakTheGame) {
  std::array<int, 5> movesEndingIn{};
  for (std::uint64_t game = 1; game <= kGames; ++game) {
    ScreenHarness h({.seed = game});
    MoveReferee referee(h);
    std::mt19937_64 rng(1000 + game);
    const auto pick = [&](int below) { return std::uniform_int_distribution(0, below - 1)(rng); };
    // A host who taps anything, answers whatever alert is up and lets time pass: mostly a few
    // seconds, sometimes a minute, now and then long enough to call a whole game. Play and Pause
    // are tapped most, Re-start least: a recall list plays for minutes, so recalls picked as
    // often as the rest would keep the game recalling most of the time.
    const auto randomControl = [&]() -> std::size_t {
      const int roll = pick(100);
      if (roll < 62) return roll < 30 ? 0 : roll < 55 ? 1 : 2;
      return static_cast<std::size_t>(roll < 80 ? 3 + pick(6) : 9 + pick(9));
    };
    const auto randomMove = [&]() -> HostMove {
      const int roll = pick(100), span = pick(100);
      if (roll < 45) return {HostMove::Kind::tap, randomControl()};
      if (roll < 55) return {roll < 50 ? HostMove::Kind::answerYes : HostMove::Kind::answerNo};
      const double limit = span < 75 ? 8.0 : span < 98 ? 60.0 : 600.0;
      return {HostMove::Kind::wait, 0, std::uniform_real_distribution(0.0, limit)(rng)};
    };
    for (int i = 0; i < 1000; ++i) {
      const HostMove move = randomMove();
      ASSERT_EQ(referee.play(move), std::vector<std::string>{})
          << "game " << game << ", move " << i << ": kind " << static_cast<int>(move.kind) << " "
          << (move.kind == HostMove::Kind::tap ? kControlTitles[move.control] : "") << " "
          << move.seconds << " s";
      ++movesEndingIn[static_cast<std::size_t>(gameStateOf(h.vc()))];
    }
  }
  // The run is worth only as much as the ground it covers: every state, several times a game.
  for (std::size_t state = 0; state < movesEndingIn.size(); ++state)
    EXPECT_GT(movesEndingIn[state], kGames) << gameStateName(static_cast<GameState>(state));
}
