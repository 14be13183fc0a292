#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "support/game_observer.h"
#include "support/screen_harness.h"

using std::chrono::milliseconds;

namespace {

using observe::drawing;
using observe::heard;
using observe::Heard;
using observe::kCompletion;
using observe::kLastFive;
using observe::kLastTen;
using observe::kWelcome;

// How a host hears one number called.
std::vector<std::string> heardFor(const std::string& number) {
  if (number.size() == 1) return {"Single number " + number};
  return {number.substr(0, 1), number.substr(1), number};
}

void append(std::vector<std::string>& to, const std::vector<std::string>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

std::size_t indexOf(const std::vector<std::string>& texts, const std::string& text) {
  return static_cast<std::size_t>(std::find(texts.begin(), texts.end(), text) - texts.begin());
}

}  // namespace

// A whole game from Play to the "Success!" alert, checked after every event on the way.
TEST(WholeGame, SeededGameFromWelcomeToSuccess) {
  ScreenHarness h(drawing({}, 2026));
  observe::FrameRecorder recorder(h);
  long mostJustFilled = 0;
  recorder.onEachEvent([&] {
    ASSERT_LE(h.loop.pendingTimerCount(), 1u);
    mostJustFilled = std::max(mostJustFilled, observe::cellsIn(h.vc(), 'j'));
    ASSERT_LE(observe::cellsIn(h.vc(), 'j'), 6);
    ASSERT_EQ(observe::cellsIn(h.vc(), '?'), 0);
  });
  h.tap("Play");
  ASSERT_TRUE(h.runUntilIdle());

  // Every number exactly once.
  const std::vector<std::string> drawn = h.vc()._randomNumbers;
  std::vector<int> values;
  for (const std::string& text : drawn) values.push_back(std::stoi(text));
  std::sort(values.begin(), values.end());
  std::vector<int> oneToNinety(90);
  for (int i = 0; i < 90; ++i) oneToNinety[static_cast<std::size_t>(i)] = i + 1;
  ASSERT_EQ(values, oneToNinety);

  // Exactly what a host hears, in order: milestones once each, the closing line last.
  std::vector<std::string> expected{kWelcome};
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    if (i == 80) expected.emplace_back(kLastTen);
    if (i == 85) expected.emplace_back(kLastFive);
    append(expected, heardFor(drawn[i]));
  }
  expected.emplace_back(kCompletion);
  const std::vector<std::string> spoken = h.spoken();
  ASSERT_EQ(spoken, expected);

  // Each milestone comes with the last item of the number before it and 4.0 s before the first
  // item of the next.
  const auto& entries = h.speech.entries();
  for (const char* milestone : {kLastTen, kLastFive}) {
    const std::size_t at = indexOf(spoken, milestone);
    EXPECT_EQ(entries[at].at, entries[at - 1].at) << milestone;
    EXPECT_EQ(observe::millis(entries[at + 1].at - entries[at].at), milliseconds(4000))
        << milestone;
  }
  EXPECT_EQ(entries.back().at, entries[entries.size() - 2].at);

  // The end: one alert, nothing left pending.
  ASSERT_EQ(h.alerts.shown().size(), 1u);
  const auto& alert = *h.alerts.shown().front();
  EXPECT_EQ(alert.title(), "Success!");
  EXPECT_EQ(alert.message(), "Done!");
  EXPECT_EQ(alert.buttonTitles(), std::vector<std::string>{"Yes"});
  EXPECT_EQ(alert.delegate(), nullptr);
  EXPECT_TRUE(alert.isVisible());
  EXPECT_EQ(h.loop.pendingTimerCount(), 0u);
  EXPECT_EQ(h.vc()._timer, nullptr);
  EXPECT_EQ(h.vc().title(), "Vorlix @ Korvanda Castle [" + drawn.back() + "]");

  // The board: the last six called stay just-filled, every other number filled.
  EXPECT_EQ(mostJustFilled, 6);
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    const auto& colour = h.cell(std::stoi(drawn[i])).backgroundColor();
    EXPECT_EQ(colour, i >= 84 ? h.vc().color_just_filled : h.vc().color_filled) << drawn[i];
  }
}

// The last ten are announced even when the host paused with exactly 80 called: the resume line,
// the milestone, and the milestone's longer pause before the next number.
TEST(WholeGame, ResumeAtTheLastTenMark) {
  ScreenHarness h(drawing({}, 5));
  h.tap("Play");
  while (h.vc()._randomNumbers.size() < 80) h.advance(0.5);
  h.tap("Pause");
  h.speech.clear();
  h.tap("Play");
  EXPECT_EQ(h.spoken(),
            (std::vector<std::string>{"Announcing new numbers! Silence please!", kLastTen}));
  EXPECT_EQ(observe::timerIntervals(h.console).back(), "4.0");
  ASSERT_TRUE(h.runUntilIdle());
  const std::vector<std::string> spoken = h.spoken();
  EXPECT_EQ(std::count(spoken.begin(), spoken.end(), kLastTen), 1);
}

// With nothing spoken, everything else is exactly as in a normal game of the same seed: titles,
// board, timers, console lines and the alert, through a pause and a resume.
TEST(WholeGame, DebugSpeaksNothingAndChangesNothingElse) {
  auto play = [](bool debug, std::vector<observe::Frame>& frames, std::vector<std::string>& lines,
                 std::vector<std::string>& alertTexts, std::size_t& spoken) {
    ScreenHarness h(drawing({}, 77));
    observe::FrameRecorder recorder(h);
    h.vc().setDebug(debug);
    h.tap("Play");
    h.advance(100.0);
    h.tap("Pause");
    h.advance(10.0);
    h.tap("Play");
    ASSERT_TRUE(h.runUntilIdle());
    frames = recorder.frames();
    lines = h.console.lines();
    for (const auto& alert : h.alerts.shown()) {
      alertTexts.push_back(alert->title() + "|" + alert->message());
      for (const auto& button : alert->buttonTitles()) alertTexts.push_back(button);
    }
    spoken = h.speech.entries().size();
  };
  std::vector<observe::Frame> normalFrames, debugFrames;
  std::vector<std::string> normalLines, debugLines, normalAlerts, debugAlerts;
  std::size_t normalSpoken = 0, debugSpoken = 0;
  play(false, normalFrames, normalLines, normalAlerts, normalSpoken);
  play(true, debugFrames, debugLines, debugAlerts, debugSpoken);

  EXPECT_GT(normalSpoken, 250u);
  EXPECT_EQ(debugSpoken, 0u);
  EXPECT_GT(normalFrames.size(), 250u);
  EXPECT_EQ(debugFrames, normalFrames);
  EXPECT_EQ(debugLines, normalLines);
  EXPECT_EQ(debugAlerts, normalAlerts);
  EXPECT_EQ(debugAlerts, (std::vector<std::string>{"Success!|Done!", "Yes"}));
}

// Each new number is called twice in a row; after a resume the number from before the pause comes
// first, once.
TEST(WholeGame, RepeatTwoTimes) {
  ScreenHarness h(drawing({7, 45}, 3));
  h.vc().setRepeat2Times(true);
  h.tap("Play");
  h.advance(26.0);
  EXPECT_EQ(heard(h), (Heard{{milliseconds(0), kWelcome},
                             {milliseconds(6000), "Single number 7"},
                             {milliseconds(11000), "Single number 7"},
                             {milliseconds(16000), "4"},
                             {milliseconds(18000), "5"},
                             {milliseconds(20000), "45"},
                             {milliseconds(22000), "4"},
                             {milliseconds(24000), "5"},
                             {milliseconds(26000), "45"}}));

  h.advance(1.0);
  h.tap("Pause");
  const std::string beforePause = h.vc()._randomNumbers.back();
  h.tap("Play");
  h.speech.clear();
  h.advance(60.0);
  const std::string afterPause = h.vc()._randomNumbers.at(3);
  std::vector<std::string> expected = heardFor(beforePause);
  append(expected, heardFor(afterPause));
  append(expected, heardFor(afterPause));
  const std::vector<std::string> spoken = h.spoken();
  ASSERT_GE(spoken.size(), expected.size());
  EXPECT_EQ(
      std::vector<std::string>(spoken.begin(), spoken.begin() + static_cast<long>(expected.size())),
      expected);

  ASSERT_TRUE(h.runUntilIdle());
  EXPECT_EQ(h.vc()._randomNumbers.size(), 90u);
  EXPECT_EQ(h.spoken().back(), kCompletion);
}

// A new speed never moves the timer already armed; the next one is armed at the new pace.
TEST(WholeGame, SpeedChangeTakesEffectAtTheNextArming) {
  ScreenHarness h(drawing({7, 45}, 1));
  h.tap("Play");  // 6.0 s to "Single number 7"
  h.advance(1.0);
  ASSERT_EQ(h.tap("10"), platform::TapOutcome::reached);
  h.advance(15.0);  // 16 s
  ASSERT_EQ(h.tap("2"), platform::TapOutcome::reached);
  h.advance(4.8);  // 20.8 s
  EXPECT_EQ(heard(h), (Heard{{milliseconds(0), kWelcome},
                             {milliseconds(6000), "Single number 7"},
                             {milliseconds(16000), "4"},
                             {milliseconds(20000), "5"},
                             {milliseconds(20800), "45"}}));
  EXPECT_EQ(observe::timerIntervals(h.console),
            (std::vector<std::string>{"6.0", "10.0", "4.0", "0.8", "0.8"}));
}
