#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "support/host_moves.h"

// The game as a host hears and sees it, where the model test and the scripted runs' transcripts
// do not reach: a whole game from welcome to success and after it, a closed screen.

namespace {

using Texts = std::vector<std::string>;

const std::string kWelcome = "Welcome to Vorlix game! Game is about to start! Please keep silence!";
constexpr const char* kResume = "Announcing new numbers! Silence please!";
constexpr const char* kLastTen = "Silence please! announcing last 10 numbers!";
constexpr const char* kLastFive = "Please keep silence! announcing last 5 numbers!";
constexpr const char* kCompleted =
    "Please keep silence! Vorlix successfully completed! Congratulations for all winners";

}  // namespace

// A host may close the screen while it is calling and asking whether to restart: neither the
// timer it left armed nor the answer to its question may reach it afterwards.
TEST(Calling, AClosedScreenIsReachedByNeitherTimerNorAnswer) {
  ScreenHarness h;
  h.perform("Play 7.5s Re-start");
  const auto lines = h.console.lines();
  h.screen.reset();
  EXPECT_EQ(h.loop.pendingTimerCount(), 0u);
  h.perform("Yes 3600s");
  EXPECT_EQ(h.speech.entries().size(), 2u);  // the greeting and the first number only
  EXPECT_EQ(h.console.lines(), lines);
}

// Plays a whole game, checking the invariants after every event, and returns what it showed and
// wrote: after each event the time, title, board and pending timers, then the alerts and console.
Texts playWholeGame(ScreenHarness& h, long& mostJustFilled) {
  Texts trace;
  h.loop.setAfterEventHook([&] {
    const std::string letters = h.boardLetters();
    mostJustFilled = std::max(mostJustFilled, std::count(letters.begin(), letters.end(), 'j'));
    EXPECT_EQ(ScreenInvariants(h.vc(), h.loop).violations(), Texts{});
    trace.push_back(std::to_string(h.now()) + h.vc().title() + letters +
                    std::to_string(h.loop.pendingTimerCount()));
  });
  h.tap("Play");
  EXPECT_TRUE(h.runUntilIdle());
  h.loop.setAfterEventHook(nullptr);
  for (const auto& alert : h.alerts.shown()) trace.push_back(alert->title() + alert->message());
  for (const auto& line : h.console.lines()) trace.push_back(line);
  return trace;
}

// A whole seeded game from Play to the "Success!" alert; in debug, the same game with nothing
// spoken and everything else equal.
TEST(Calling, SeededGameFromWelcomeToSuccess) {
  long mostJustFilled = 0;
  Texts debugTrace;
  {
    ScreenHarness debug({.seed = 2026});
    debug.vc().setDebug(true);
    debugTrace = playWholeGame(debug, mostJustFilled);
    EXPECT_EQ(debug.speech.entries().size(), 0u);
  }
  ScreenHarness h({.seed = 2026});
  EXPECT_EQ(playWholeGame(h, mostJustFilled), debugTrace);
  const Texts drawn = h.vc()._randomNumbers;  // the invariants rule out repeats and strangers
  ASSERT_EQ(drawn.size(), 90u);
  // Exactly what a host hears, in order: milestones once each, the closing line last.
  Texts expected{kWelcome};
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    if (i == 80) expected.emplace_back(kLastTen);
    if (i == 85) expected.emplace_back(kLastFive);
    for (auto& item : callItems(drawn[i])) expected.push_back(std::move(item));
  }
  expected.emplace_back(kCompleted);
  ASSERT_EQ(h.spoken(), expected);
  // Each milestone comes 4.0 s before the first item of the next number.
  const auto& entries = h.speech.entries();
  for (const char* milestone : {kLastTen, kLastFive}) {
    const auto at = std::find(expected.begin(), expected.end(), milestone) - expected.begin();
    EXPECT_EQ(entries[at + 1].at - entries[at].at, platform::secondsToDuration(4.0)) << milestone;
  }
  // The end: one alert with no one to tell, the last six just called.
  ASSERT_EQ(h.alerts.shown().size(), 1u);
  const auto& alert = *h.alerts.shown().front();
  EXPECT_EQ(alert.title() + "|" + alert.message(), "Success!|Done!");
  EXPECT_EQ(alert.buttonTitles(), Texts{"Yes"});
  EXPECT_EQ(alert.delegate(), nullptr);  // and nothing pending: the run ended idle
  EXPECT_EQ(mostJustFilled, 6);
  for (std::size_t i = 0; i < drawn.size(); ++i)
    EXPECT_EQ(h.boardLetters()[std::stoul(drawn[i]) - 1], i >= 84 ? 'j' : 'f') << drawn[i];
}

// A completed game cannot be played again: Play repeats the ending and draws nothing, and the
// completion alert's "Yes" only closes it.
TEST(GameControl, PlayAfterCompletionRepeatsTheEndingOnly) {
  ScreenHarness h;
  h.tap("Play");
  ASSERT_TRUE(h.runUntilIdle());
  const Texts numbers = h.vc()._randomNumbers;
  EXPECT_TRUE(h.takesTaps("Pause"));  // calling ended by itself: Pause is still live
  h.perform("Yes Pause");
  const std::size_t before = h.speech.entries().size();
  h.tap("Play");
  EXPECT_EQ(h.spoken(before), (Texts{kResume, kCompleted}));
  EXPECT_EQ(h.alerts.shown().size(), 2u);
  EXPECT_EQ(h.alerts.shown().back()->title(), "Success!");
  EXPECT_EQ(h.vc()._randomNumbers, numbers);
  EXPECT_EQ(h.loop.pendingTimerCount(), 0u);
}
