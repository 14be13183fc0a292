#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "screen_steps.h"
#include "support/invariants.h"
#include "support/screen_harness.h"

namespace {

using steps::Heard;
using Texts = std::vector<std::string>;

constexpr const char* kRelax = "Please relax!";
constexpr const char* kAllLine = "Announcing all numbers! Please keep silence!";
constexpr const char* kRemainingLine = "Announcing remai ning numbers! Please keep silence!";
constexpr const char* kResume = "Announcing new numbers! Silence please!";

std::string lastLine(int count) {
  return "Announcing last " + std::to_string(count) + " numbers! Please keep silence!";
}

// The numbers of the worked example, drawn in this order.
const std::vector<std::uint32_t> kExampleDraws = {12, 7, 33, 45, 81, 9};

// A screen that has called `draws` (the last one drawn, its announcement still to come), then a
// second of quiet before the host taps.
void callFirst(ScreenHarness& h, std::size_t count) {
  h.tap("Play");
  steps::runUntilDrawn(h, count);
  h.advance(1.0);
}

// Everything heard after a tap at `title`, up to when the screen falls silent.
Texts recallOf(ScreenHarness& h, const std::string& title) {
  const auto before = steps::mark(h);
  EXPECT_EQ(h.tap(title), platform::TapOutcome::reached);
  EXPECT_TRUE(h.runUntilIdle());
  return steps::textsAfter(h, before);
}

}  // namespace

// The "L5" example to the second: lead-in at once, the first item 3 s later, then each item's own
// pause, and silence after "Please relax!".
TEST(Recall, LastFiveOfTheWorkedExampleToTheSecond) {
  ScreenHarness h(steps::drawingFirst(kExampleDraws));
  callFirst(h, 6);
  const double tappedAt = h.now();
  ASSERT_EQ(h.tap("L5"), platform::TapOutcome::reached);
  EXPECT_EQ(gameStateOf(h.vc()), GameState::recalling);
  h.advance(300.0);
  EXPECT_EQ(steps::heardSince(h, tappedAt), (std::vector<Heard>{{0.0, lastLine(5)},
                                                                {3.0, "Single number 7"},
                                                                {8.0, "3"},
                                                                {10.0, "3"},
                                                                {12.0, "33"},
                                                                {14.0, "4"},
                                                                {16.0, "5"},
                                                                {18.0, "45"},
                                                                {20.0, "8"},
                                                                {22.0, "1"},
                                                                {24.0, "81"},
                                                                {26.0, "Single number 9"},
                                                                {31.0, kRelax}}));
  EXPECT_EQ(h.vc()._randomNumbers.size(), 6u);  // nothing drawn since
  EXPECT_EQ(gameStateOf(h.vc()), GameState::paused);
  EXPECT_TRUE(steps::takesTaps(h, "Play"));
  EXPECT_EQ(h.vc().title(), "Vorlix @ Korvanda Castle [9]");
  EXPECT_EQ(h.cell(9).backgroundColor(), h.vc().color_just_filled);
}

// "ALL" reads every called number in ascending numerical order, not text order.
TEST(Recall, AllReadsTheCalledNumbersInAscendingOrder) {
  {
    ScreenHarness h(steps::drawingFirst({45, 7, 90, 10}));
    callFirst(h, 4);
    const double tappedAt = h.now();
    EXPECT_EQ(recallOf(h, "ALL"), (Texts{kAllLine, "Single number 7", "1", "0", "10", "4", "5",
                                         "45", "9", "0", "90", kRelax}));
    EXPECT_EQ(steps::heardSince(h, tappedAt)[1].at, 2.0);
  }
  {
    ScreenHarness h(steps::drawingFirst(kExampleDraws));
    callFirst(h, 6);
    EXPECT_EQ(recallOf(h, "ALL"),
              (Texts{kAllLine, "Single number 7", "Single number 9", "1", "2", "12", "3", "3", "33",
                     "4", "5", "45", "8", "1", "81", kRelax}));
  }
}

// Before the first number: each recall says its lead-in and closes; the remaining numbers are all
// ninety. The title shows empty brackets at the first item and no cell is marked.
TEST(Recall, NothingCalledYet) {
  ScreenHarness h;
  EXPECT_EQ(recallOf(h, "L2"), (Texts{lastLine(2), kRelax}));
  EXPECT_EQ(h.vc().title(), "Vorlix @ Korvanda Castle []");
  EXPECT_EQ(recallOf(h, "L3"), (Texts{lastLine(3), kRelax}));
  EXPECT_EQ(recallOf(h, "L5"), (Texts{lastLine(5), kRelax}));
  EXPECT_EQ(recallOf(h, "L10"), (Texts{lastLine(10), kRelax}));
  EXPECT_EQ(recallOf(h, "ALL"), (Texts{kAllLine, kRelax}));

  Texts remaining{kRemainingLine};
  for (int n = 1; n <= 9; ++n) remaining.push_back("Single number " + std::to_string(n));
  for (int n = 10; n <= 90; ++n) {
    const std::string text = std::to_string(n);
    remaining.insert(remaining.end(), {text.substr(0, 1), text.substr(1), text});
  }
  remaining.push_back(kRelax);
  EXPECT_EQ(recallOf(h, "Remaining Numbers"), remaining);

  EXPECT_EQ(gameStateOf(h.vc()), GameState::notStarted);
  EXPECT_EQ(h.vc()._viewPreviousHighlighted, nullptr);
  EXPECT_EQ(ScreenInvariants(h.vc(), h.loop).violations(), Texts{});
}

// The lead-in names the button's count even when fewer numbers have been called.
TEST(Recall, LastNumbersWhenFewerOrExactlyTheCountAreCalled) {
  ScreenHarness h(steps::drawingFirst({12, 7, 33, 45, 81}));
  callFirst(h, 3);
  EXPECT_EQ(recallOf(h, "L5"),
            (Texts{lastLine(5), "1", "2", "12", "Single number 7", "3", "3", "33", kRelax}));
  h.tap("Play");
  steps::runUntilDrawn(h, 5);
  h.advance(1.0);
  EXPECT_EQ(recallOf(h, "L5"), (Texts{lastLine(5), "1", "2", "12", "Single number 7", "3", "3",
                                      "33", "4", "5", "45", "8", "1", "81", kRelax}));
  EXPECT_EQ(recallOf(h, "L2"), (Texts{lastLine(2), "4", "5", "45", "8", "1", "81", kRelax}));
}

TEST(Recall, RemainingNumbersLeavesOutEveryCalledOne) {
  {
    ScreenHarness h(steps::drawingFirst({1, 89, 45}));
    callFirst(h, 3);
    const Texts heard = recallOf(h, "Remaining Numbers");
    ASSERT_EQ(heard.front(), kRemainingLine);  // spoken exactly so, the blank in "remai ning" too
    EXPECT_EQ(heard[1], "Single number 2");
    EXPECT_EQ(heard.size(), 1u + 8u + 79u * 3u + 1u);
    for (const std::string called : {"45", "89", "Single number 1"})
      EXPECT_EQ(std::count(heard.begin(), heard.end(), called), 0) << called;
  }
  {
    ScreenHarness h;
    steps::playWholeGame(h);
    EXPECT_EQ(recallOf(h, "Remaining Numbers"), (Texts{kRemainingLine, kRelax}));
    EXPECT_EQ(gameStateOf(h.vc()), GameState::completed);
  }
}

// A second recall replaces the first list at once; both lead-ins are spoken, since nothing ever
// silences the synthesiser.
TEST(Recall, TwoRecallsInQuickSuccessionPlayOnlyTheSecondList) {
  ScreenHarness h(steps::drawingFirst(kExampleDraws));
  callFirst(h, 6);
  const double firstAt = h.now();
  h.tap("L10");
  h.advance(0.5);
  ASSERT_EQ(h.tap("L2"), platform::TapOutcome::reached);
  EXPECT_EQ(h.loop.pendingTimerCount(), 1u);
  h.advance(300.0);
  EXPECT_EQ(steps::heardSince(h, firstAt), (std::vector<Heard>{{0.0, lastLine(10)},
                                                               {0.5, lastLine(2)},
                                                               {3.5, "8"},
                                                               {5.5, "1"},
                                                               {7.5, "81"},
                                                               {9.5, "Single number 9"},
                                                               {14.5, kRelax}}));
  EXPECT_EQ(h.button("L2").backgroundColor(), platform::Color::orangeColor());
  EXPECT_EQ(h.button("L10").backgroundColor(), platform::Color::blackColor());
}

// A recall that interrupts a number counts it as called; Play then says it again in full before
// the next new number.
TEST(Recall, ACutShortNumberIsRecalledAndComesBackOnPlay) {
  ScreenHarness h(steps::drawingFirst({45, 7, 12}));
  h.tap("Play");
  h.advance(7.0);  // "4" of 45 has been said
  const auto before = steps::mark(h);
  EXPECT_EQ(recallOf(h, "L2"), (Texts{lastLine(2), "4", "5", "45", kRelax}));
  h.tap("Play");
  h.advance(8.0);
  EXPECT_EQ(steps::textsAfter(h, before).size(), 5u + 5u);
  EXPECT_EQ(steps::textsAfter(h, before + 5), (Texts{kResume, "4", "5", "45", "Single number 7"}));

  // Play in the middle of a recall cuts the rest of its list off.
  h.tap("ALL");
  h.advance(2.0);  // the first recalled item
  const auto cut = steps::mark(h);
  h.tap("Play");
  h.advance(4.0);
  EXPECT_EQ(steps::textsAfter(h, cut), (Texts{kResume, "1", "2"}));  // 12, drawn before ALL
}
