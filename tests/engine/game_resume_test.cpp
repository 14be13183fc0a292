#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "support/invariants.h"
#include "support/screen_harness.h"

// A game kept from an earlier run, brought back paused: it must look and go on exactly as the same
// game paused at that point in one unbroken run.

namespace {

using Texts = std::vector<std::string>;

std::vector<std::uint32_t> shuffledNumbers(std::uint32_t seed) {
  std::vector<std::uint32_t> numbers(90);
  std::iota(numbers.begin(), numbers.end(), 1u);
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(seed));
  return numbers;
}

Texts textsOf(const std::vector<std::uint32_t>& numbers) {
  Texts texts;
  for (auto number : numbers) texts.push_back(std::to_string(number));
  return texts;
}

// What a host sees of a paused screen, in one line per part.
Texts pausedLook(ScreenHarness& h) {
  std::string drawn;
  for (const auto& number : h.vc()._randomNumbers) drawn += number + ",";
  return {h.vc().title(),
          h.boardLetters(),
          drawn,
          h.vc()._announcedNumber,
          h.vc().lblSpeed->text().value_or(""),
          std::string(h.takesTaps("Play") ? "Play live" : "Play inert") +
              (h.takesTaps("Pause") ? ", Pause live" : ", Pause inert"),
          gameStateName(gameStateOf(h.vc()))};
}

// What follows Play until the screen falls silent: each line heard with its time from Play, then
// every console line.
Texts afterPlay(ScreenHarness& h) {
  const auto start = h.loop.now();
  const std::size_t heardBefore = h.speech.entries().size();
  const std::size_t linesBefore = h.console.lines().size();
  h.tap("Play");
  EXPECT_TRUE(h.runUntilIdle());
  Texts after;
  for (std::size_t i = heardBefore; i < h.speech.entries().size(); ++i)
    after.push_back(std::to_string((h.speech.entries()[i].at - start).count()) + " " +
                    h.speech.entries()[i].text);
  after.insert(after.end(), h.console.lines().begin() + static_cast<long>(linesBefore),
               h.console.lines().end());
  return after;
}

// The number between the title's brackets, "" before the first call.
std::string numberInTitle(const std::string& title) {
  const auto open = title.find('[');
  return open == std::string::npos ? "" : title.substr(open + 1, title.size() - open - 2);
}

struct Break {
  std::size_t drawn;  // numbers drawn when the run stopped
  bool lastCalled;    // the last of them had reached the title (else: drawn, not yet called)
  int speed;
  bool repeatTwice;
};

}  // namespace

TEST(Resume, LooksAndGoesOnAsTheSameGamePausedInOneRun) {
  const Break breaks[] = {{1, false, 5, false},  {1, true, 5, false},  {4, true, 2, false},
                          {5, true, 10, false},  {6, false, 5, false}, {6, true, 7, true},
                          {45, true, 5, false},  {45, false, 3, true}, {79, true, 5, false},
                          {80, false, 5, false}, {80, true, 4, false}, {81, true, 5, true},
                          {85, false, 6, false}, {86, true, 5, false}, {89, true, 2, false},
                          {90, false, 5, false}, {90, true, 9, true}};
  std::uint32_t seed = 0;
  for (const auto& cut : breaks) {
    SCOPED_TRACE(::testing::Message() << cut.drawn << (cut.lastCalled ? " called" : " drawn")
                                      << " at speed " << cut.speed);
    const auto order = shuffledNumbers(++seed);
    Texts look, after, called;
    std::string onShow;
    {
      ScreenHarness unbroken({.presetDraws = order});
      unbroken.vc().setRepeat2Times(cut.repeatTwice);
      unbroken.tap(std::to_string(cut.speed));
      unbroken.tap("Play");
      unbroken.runUntilDrawn(cut.drawn);
      if (cut.lastCalled)  // one more firing: the first item of the last number drawn
        unbroken.advance(
            platform::durationToSeconds(*unbroken.loop.nextDeadline() - unbroken.loop.now()));
      unbroken.tap("Pause");
      look = pausedLook(unbroken);
      called = unbroken.vc()._randomNumbers;
      onShow = numberInTitle(unbroken.vc().title());
      after = afterPlay(unbroken);
    }
    ScreenHarness restored(
        {.seed = 99,
         .presetDraws = {order.begin() + static_cast<long>(called.size()), order.end()}});
    restored.vc().setRepeat2Times(cut.repeatTwice);
    ASSERT_TRUE(restored.vc().restorePausedGame(called, onShow, cut.speed));
    EXPECT_EQ(restored.speech.entries().size(), 0u);
    EXPECT_EQ(restored.loop.pendingTimerCount(), 0u);
    EXPECT_EQ(ScreenInvariants(restored.vc(), restored.loop).violations(), Texts{});
    EXPECT_EQ(pausedLook(restored), look);
    EXPECT_EQ(afterPlay(restored), after);
    EXPECT_EQ(restored.vc()._randomNumbers, textsOf(order));
  }
}

// Numbers that are no game, or a speed the panel has not, are refused and the game on screen goes
// on untouched.
TEST(Resume, RefusesWhatIsNoGame) {
  Texts ninetyOne = textsOf(shuffledNumbers(1));
  ninetyOne.push_back("45");
  const std::pair<Texts, int> refused[] = {
      {{}, 5},      {{"0"}, 5},  {{"91"}, 5},    {{"7", "7"}, 5}, {{"07"}, 5}, {{"x"}, 5},
      {{"4 5"}, 5}, {{"-4"}, 5}, {ninetyOne, 5}, {{"7"}, 1},      {{"7"}, 11}, {{"7", ""}, 5}};
  ScreenHarness h({.presetDraws = {7, 45, 3}});
  h.tap("Play");
  h.runUntilDrawn(3);
  const Texts before = pausedLook(h);
  for (const auto& [numbers, speed] : refused) {
    EXPECT_FALSE(h.vc().restorePausedGame(numbers, "", speed)) << numbers.size();
    EXPECT_EQ(pausedLook(h), before);
    EXPECT_EQ(h.loop.pendingTimerCount(), 1u);
  }
}
