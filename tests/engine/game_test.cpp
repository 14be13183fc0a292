#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/invariants.h"
#include "support/screen_harness.h"

// The game as a host hears and sees it: calling, pausing, restarting and recalling.

namespace {

using Texts = std::vector<std::string>;

const std::string kWelcome = "Welcome to Vorlix game! Game is about to start! Please keep silence!";
constexpr const char* kResume = "Announcing new numbers! Silence please!";
constexpr const char* kStopped = "Game stopped! Please relax!";
constexpr const char* kLastTen = "Silence please! announcing last 10 numbers!";
constexpr const char* kLastFive = "Please keep silence! announcing last 5 numbers!";
constexpr const char* kCompleted =
    "Please keep silence! Vorlix successfully completed! Congratulations for all winners";
constexpr const char* kRelax = "Please relax!";
constexpr const char* kAllLine = "Announcing all numbers! Please keep silence!";
constexpr const char* kRemainingLine = "Announcing remai ning numbers! Please keep silence!";

std::string lastLine(int count) {
  return "Announcing last " + std::to_string(count) + " numbers! Please keep silence!";
}

// How a host hears one number called, added to `to`.
void addHeardFor(Texts& to, const std::string& number) {
  if (number.size() == 1) return to.push_back("Single number " + number);
  to.insert(to.end(), {number.substr(0, 1), number.substr(1), number});
}

// One letter per cell, number 1 first: 'u' not called, 'j' just called, 'f' called earlier.
std::string boardLetters(const ViewController& vc) {
  std::string letters;
  for (const auto& cell : vc._gridViewsArray) {
    const auto& colour = cell->backgroundColor();
    letters += colour == vc.color_un_filled ? 'u' : colour == vc.color_just_filled ? 'j' : 'f';
  }
  return letters;
}

// Play, then the clock until `count` numbers are drawn (all of them for more than 90), then a
// second of quiet.
void callFirst(ScreenHarness& h, std::size_t count) {
  h.tap("Play");
  h.runUntilDrawn(count);
  h.advance(1.0);
}

// Brings a fresh screen into one of the game states, with some numbers called where it can.
void bringInto(ScreenHarness& h, GameState state) {
  if (state != GameState::notStarted) callFirst(h, state == GameState::completed ? 91 : 4);
  if (state == GameState::paused) h.tap("Pause");
  if (state == GameState::recalling) h.tap("L3");
}

// Everything heard after a tap at `title`, up to when the screen falls silent.
Texts recallOf(ScreenHarness& h, const std::string& title) {
  const std::size_t before = h.speech.entries().size();
  EXPECT_EQ(h.tap(title), platform::TapOutcome::reached);
  EXPECT_TRUE(h.runUntilIdle());
  return h.spoken(before);
}

// What is heard and written in a game with a scripted host, for comparing with another script.
std::pair<std::string, Texts> heardIn(const std::string& script) {
  ScreenHarness h;
  h.perform(script);
  return {h.heardSince(0), h.console.lines()};
}

}  // namespace

// A new game at speed 5: 7 then 45. Every item is handed over on the tick; the title and the
// board follow the first item of each number, never its draw.
TEST(Calling, WorkedRunAtSpeedFiveToTheMillisecond) {
  ScreenHarness h({.presetDraws = {7, 45}});
  const auto shown = [&] {  // the title, then the cells of 7 and 45
    const std::string board = boardLetters(h.vc());
    return h.vc().title() + " " + board[7 - 1] + board[45 - 1];
  };
  h.perform("Play 5.999s");
  EXPECT_EQ(shown(), "Vorlix @ Korvanda Castle uu");
  h.advance(0.001);  // 6 s: 7 is called, and 45 drawn at once for the next list
  EXPECT_EQ(shown(), "Vorlix @ Korvanda Castle [7] ju");
  h.advance(5.0);  // 11 s
  EXPECT_EQ(shown(), "Vorlix @ Korvanda Castle [45] jj");
  h.advance(4.0);  // 15 s: 45 is complete and the third number is drawn
  EXPECT_EQ(h.heardSince(0), "0: " + kWelcome + " / 6: Single number 7 / 11: 4 / 13: 5 / 15: 45");
  EXPECT_EQ(h.timerIntervals(), (Texts{"6.0", "5.0", "2.0", "2.0", "2.0"}));
}

// interval = 2 x pause x speed / 5, written as the shortest decimal that reads back the same,
// always with a decimal point.
TEST(Calling, IntervalTable) {
  const std::pair<double, Texts> table[] = {{1.0, {"0.8", "2.0", "4.0"}},
                                            {2.0, {"1.6", "4.0", "8.0"}},
                                            {2.5, {"2.0", "5.0", "10.0"}},
                                            {3.0, {"2.4", "6.0", "12.0"}}};
  ScreenHarness h;
  for (const auto& [pause, intervals] : table) {
    for (std::size_t i = 0; i < 3; ++i) {
      h.tap(Texts{"2", "5", "10"}[i]);
      h.vc()._nextNumberDelay = pause;
      h.vc().scheduleAnnouncementTimer();
      EXPECT_EQ(h.timerIntervals().back(), intervals[i]) << "pause " << pause;
      EXPECT_EQ(h.vc()._timer.fireDate() - h.loop.now(),
                platform::secondsToDuration(std::stod(intervals[i])));
      h.vc()._timer.cancel();
    }
  }
}

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
    const std::string letters = boardLetters(h.vc());
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
    addHeardFor(expected, drawn[i]);
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
    EXPECT_EQ(boardLetters(h.vc())[std::stoul(drawn[i]) - 1], i >= 84 ? 'j' : 'f') << drawn[i];
}

// Each new number is called twice in a row, and the game still ends.
TEST(Calling, RepeatTwoTimes) {
  ScreenHarness h({.seed = 3, .presetDraws = {7, 45}});
  h.vc().setRepeat2Times(true);
  h.perform("Play 26s");
  EXPECT_EQ(h.heardSince(0), "0: " + kWelcome +
                                 " / 6: Single number 7 / 11: Single number 7 / 16: 4 / 18: 5 / "
                                 "20: 45 / 22: 4 / 24: 5 / 26: 45");
}

// A new speed never moves the timer already armed; the next one is armed at the new pace.
TEST(Calling, SpeedChangeTakesEffectAtTheNextArming) {
  ScreenHarness h({.presetDraws = {7, 45}});
  h.perform("Play 1s 10 15s 2 4.8s");  // 10 at 1 s, 2 at 16 s
  EXPECT_EQ(h.heardSince(0), "0: " + kWelcome + " / 6: Single number 7 / 16: 4 / 20: 5 / 20.8: 45");
  EXPECT_EQ(h.timerIntervals(), (Texts{"6.0", "10.0", "4.0", "0.8", "0.8"}));
}

// One digit: "Single number " and the digit; two: each digit, then the whole; three or more
// characters: the text as it is, with the longer pause. Each item as "text/pause".
TEST(Calling, Phrasing) {
  ScreenHarness h;
  const auto phrased = [&](const Texts& texts) {
    h.vc().buildAnnounceInfoList(texts);
    std::ostringstream items;
    for (const auto& item : h.vc()._announceInfoList)
      items << item->info << '/' << item->nSeconds << ' ';
    return items.str();
  };
  EXPECT_EQ(phrased({"7"}), "Single number 7/2.5 ");
  EXPECT_EQ(phrased({"10"}), "1/1 0/1 10/1 ");
  EXPECT_EQ(phrased({"Please relax!"}), "Please relax!/3 ");
  EXPECT_EQ(phrased({""}), "Single number /2.5 ");
  EXPECT_EQ(phrased({"45", "45"}), "4/1 5/1 45/1 4/1 5/1 45/1 ");
  EXPECT_EQ(phrased({}), "");  // nothing to say leaves nothing over from before
}

// The middle of 45: "5" and "45" are lost to Pause and come back in full after the resume line,
// followed by a new number; the title and board show the new number from its first item.
TEST(GameControl, PauseInTheMiddleOfANumberAndResume) {
  ScreenHarness h({.presetDraws = {45, 7}});
  h.perform("Play 7s Pause 30s Play 9s");  // "4" at 6 s, "5" due at 8 s
  EXPECT_EQ(h.heardSince(0), "0: " + kWelcome + " / 6: 4 / 7: " + kStopped + " / 37: " + kResume +
                                 " / 39: 4 / 41: 5 / 43: 45 / 45: Single number 7");
  EXPECT_EQ(h.vc().title() + " " + boardLetters(h.vc())[7 - 1], "Vorlix @ Korvanda Castle [7] j");
}

// "Yes" in any state wipes the game, greets and calls a new first number 6 s later at speed 5,
// 8.4 s at the speed 7 the host chose, which stays.
TEST(GameControl, RestartConfirmedInEveryStateBeginsANewGame) {
  for (GameState state : {GameState::notStarted, GameState::calling, GameState::paused,
                          GameState::recalling, GameState::completed}) {
    SCOPED_TRACE(gameStateName(state));
    ScreenHarness h;
    bringInto(h, state);
    ASSERT_EQ(gameStateOf(h.vc()), state);
    h.perform("7 Re-start");
    const auto question = h.alerts.topmostOpen();
    EXPECT_EQ(question ? question->message() : "", "Are you sure to re-start game?");
    h.advance(0.5);  // so that nothing heard before the answer shares its moment
    const double at = h.now();
    h.perform("Yes");
    EXPECT_EQ(gameStateOf(h.vc()), GameState::calling);
    EXPECT_EQ(boardLetters(h.vc()), std::string(90, 'u'));
    h.advance(10.0);
    EXPECT_TRUE(h.heardSince(at).starts_with("0: " + kWelcome + " / 8.4: ")) << h.heardSince(at);
  }
}

// Play while calling and Pause while stopped are refused by the panel, and "No" to Re-start
// changes nothing: the calling going on is heard and written exactly as without them. Only the
// taps that go through write their console lines.
TEST(GameControl, InertTapsAndNoChangeNothing) {
  const auto untouched = heardIn("Play 103s Pause");
  EXPECT_EQ(heardIn("Pause Play 3s Play 100s Pause"), untouched);
  EXPECT_EQ(heardIn("Play 13s Re-start 1.3s No 88.7s Pause"), untouched);
  Texts actions;
  for (const auto& line : untouched.second)
    if (!line.starts_with("timerInterval: ")) actions.push_back(line);
  EXPECT_EQ(actions, (Texts{"btnPlay_click", "btnPause_click"}));
}

// A completed game cannot be played again: Play repeats the ending and draws nothing, and the
// completion alert's "Yes" only closes it.
TEST(GameControl, PlayAfterCompletionRepeatsTheEndingOnly) {
  ScreenHarness h;
  bringInto(h, GameState::completed);
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

// The "L5" example to the second: lead-in at once, the first item 3 s later, then each item's own
// pause, and silence after "Please relax!".
TEST(Recall, LastFiveToTheSecond) {
  ScreenHarness h({.presetDraws = {12, 7, 33, 45, 81, 9}});
  callFirst(h, 6);
  const double tappedAt = h.now();
  h.perform("L5 300s");
  EXPECT_EQ(h.heardSince(tappedAt),
            "0: " + lastLine(5) +
                " / 3: Single number 7 / 8: 3 / 10: 3 / 12: 33 / 14: 4 / 16: 5 / 18: 45 / 20: 8 / "
                "22: 1 / 24: 81 / 26: Single number 9 / 31: " +
                kRelax);
  EXPECT_EQ(h.vc()._randomNumbers.size(), 6u);  // nothing drawn since
  EXPECT_EQ(gameStateOf(h.vc()), GameState::paused);
}

// "ALL" reads every called number in ascending numerical order, not text order.
TEST(Recall, AllReadsTheCalledNumbersInAscendingOrder) {
  ScreenHarness h({.presetDraws = {45, 7, 90, 10}});
  callFirst(h, 4);
  EXPECT_EQ(recallOf(h, "ALL"), (Texts{kAllLine, "Single number 7", "1", "0", "10", "4", "5", "45",
                                       "9", "0", "90", kRelax}));
}

// Before the first number each recall says its lead-in and closes; the remaining numbers are all
// ninety, "remai ning" spoken exactly so.
TEST(Recall, NothingCalledYet) {
  ScreenHarness h;
  for (int count : {2, 3, 5, 10})
    EXPECT_EQ(recallOf(h, "L" + std::to_string(count)), (Texts{lastLine(count), kRelax}));
  EXPECT_EQ(recallOf(h, "ALL"), (Texts{kAllLine, kRelax}));
  Texts remaining{kRemainingLine};
  for (int n = 1; n <= 90; ++n) addHeardFor(remaining, std::to_string(n));
  remaining.push_back(kRelax);
  EXPECT_EQ(recallOf(h, "Remaining Numbers"), remaining);
  EXPECT_EQ(gameStateOf(h.vc()), GameState::notStarted);
}

// The lead-in names the button's count even when fewer numbers have been called; when all 90
// are called, none remain.
TEST(Recall, FewerCalledThanTheCountAndNoneRemaining) {
  ScreenHarness h({.presetDraws = {12, 7, 33}});
  callFirst(h, 3);
  EXPECT_EQ(recallOf(h, "L5"),
            (Texts{lastLine(5), "1", "2", "12", "Single number 7", "3", "3", "33", kRelax}));
  bringInto(h, GameState::completed);
  EXPECT_EQ(recallOf(h, "Remaining Numbers"), (Texts{kRemainingLine, kRelax}));
}

// A second recall replaces the first list at once; both lead-ins are spoken, since nothing ever
// silences the synthesiser.
TEST(Recall, TwoRecallsInQuickSuccessionPlayOnlyTheSecondList) {
  ScreenHarness h({.presetDraws = {12, 7, 33, 45, 81, 9}});
  callFirst(h, 6);
  const double firstAt = h.now();
  h.perform("L10 0.5s L2 300s");
  EXPECT_EQ(h.heardSince(firstAt),
            "0: " + lastLine(10) + " / 0.5: " + lastLine(2) +
                " / 3.5: 8 / 5.5: 1 / 7.5: 81 / 9.5: Single number 9 / 14.5: " + kRelax);
}

// A recall that interrupts a number counts it as called; Play then says it again in full before
// the next new number.
TEST(Recall, ACutShortNumberIsRecalledAndComesBackOnPlay) {
  ScreenHarness h({.presetDraws = {45, 7}});
  h.perform("Play 7s");  // "4" of 45 has been said
  EXPECT_EQ(recallOf(h, "L2"), (Texts{lastLine(2), "4", "5", "45", kRelax}));
  const std::size_t before = h.speech.entries().size();
  h.perform("Play 8s");
  EXPECT_EQ(h.spoken(before), (Texts{kResume, "4", "5", "45", "Single number 7"}));
}
