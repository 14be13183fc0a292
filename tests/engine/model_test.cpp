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
  // A host who taps anything, answers whatever alert is up and lets time pass: mostly a few
  // seconds, sometimes a minute, now and then long enough to call a whole game. Play and Pause
  // are tapped most, Re-start least: a recall list plays for minutes, so recalls picked as often
  // as the rest would keep the game recalling most of the time.
  std::discrete_distribution<int> kind({45, 5, 5, 45}), waitScale({75, 23, 2});
  std::vector<double> weights;
  for (const auto& entry : ui::controls()) {
    using Action = ui::ControlEntry::Action;
    weights.push_back(entry.action == Action::play      ? 30
                      : entry.action == Action::pause   ? 25
                      : entry.action == Action::restart ? 7
                      : entry.action == Action::recall  ? 3
                                                        : 2);
  }
  std::discrete_distribution<std::size_t> control(weights.begin(), weights.end());
  const double waitLimits[] = {8.0, 60.0, 600.0};
  std::array<int, 5> movesEndingIn{};
  for (std::uint64_t game = 1; game <= kGames; ++game) {
    ScreenHarness h({.seed = game});
    MoveReferee referee(h);
    std::mt19937_64 rng(1000 + game);
    for (int i = 0; i < 1000; ++i) {
      const HostMove move{static_cast<HostMove::Kind>(kind(rng)), control(rng),
                          std::uniform_real_distribution(0.0, waitLimits[waitScale(rng)])(rng)};
      ASSERT_EQ(referee.play(move), std::vector<std::string>{})
          << "game " << game << ", move " << i << ": kind " << static_cast<int>(move.kind)
          << ", control " << movedControl(move.control).title << ", " << move.seconds << " s";
      ++movesEndingIn[static_cast<std::size_t>(gameStateOf(h.vc()))];
    }
  }
  // The run is worth only as much as the ground it covers: every state, several times a game.
  for (std::size_t state = 0; state < movesEndingIn.size(); ++state)
    EXPECT_GT(movesEndingIn[state], kGames) << gameStateName(static_cast<GameState>(state));
}
