#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen_steps.h"
#include "support/invariants.h"
#include "support/screen_harness.h"

namespace {

using platform::TapOutcome;
using steps::Heard;

constexpr const char* kWelcome =
    "Welcome to Vorlix game! Game is about to start! Please keep silence!";
constexpr const char* kResume = "Announcing new numbers! Silence please!";
constexpr const char* kStopped = "Game stopped! Please relax!";
constexpr const char* kCompleted =
    "Please keep silence! Vorlix successfully completed! Congratulations for all winners";

GameState stateOf(ScreenHarness& h) {
  return gameStateOf(h.vc());
}

// Brings a fresh screen into one of the game states, with some numbers called where it can.
void bringInto(ScreenHarness& h, GameState state) {
  switch (state) {
    case GameState::notStarted:
      return;
    case GameState::calling:
      h.tap("Play");
      steps::runUntilDrawn(h, 4);
      return;
    case GameState::paused:
      bringInto(h, GameState::calling);
      h.tap("Pause");
      return;
    case GameState::recalling:
      bringInto(h, GameState::calling);
      h.tap("L3");
      return;
    case GameState::completed:
      steps::playWholeGame(h);
      return;
  }
}

const std::vector<GameState> kAllStates = {GameState::notStarted, GameState::calling,
                                           GameState::paused, GameState::recalling,
                                           GameState::completed};

std::size_t alertsTitled(const ScreenHarness& h, const std::string& title) {
  std::size_t count = 0;
  for (const auto& alert : h.alerts.shown()) count += alert->title() == title;
  return count;
}

}  // namespace

// The middle of 45: "5" and "45" are lost to Pause and come back in full after the resume line,
// followed by a new number.
TEST(GameControl, PauseInTheMiddleOfANumberAndResume) {
  ScreenHarness h(steps::drawingFirst({45, 7}));
  h.tap("Play");
  h.advance(7.0);  // "4" at 6 s, "5" due at 8 s
  ASSERT_EQ(h.tap("Pause"), TapOutcome::reached);
  EXPECT_EQ(stateOf(h), GameState::paused);
  EXPECT_EQ(h.loop.pendingTimerCount(), 0u);
  h.advance(30.0);
  EXPECT_EQ(steps::heardSince(h, 0.0),
            (std::vector<Heard>{{0.0, kWelcome}, {6.0, "4"}, {7.0, kStopped}}));

  ASSERT_EQ(h.tap("Play"), TapOutcome::reached);  // at 37 s
  EXPECT_EQ(stateOf(h), GameState::calling);
  h.advance(9.0);
  EXPECT_EQ(steps::heardSince(h, 37.0),
            (std::vector<Heard>{
                {0.0, kResume}, {2.0, "4"}, {4.0, "5"}, {6.0, "45"}, {8.0, "Single number 7"}}));
  EXPECT_EQ(h.vc()._randomNumbers.size(), 3u);  // the next number is drawn and waiting
  EXPECT_EQ(h.vc().title(), "Vorlix @ Korvanda Castle [7]");
}

TEST(GameControl, PlayAndPauseFromEachStateTheyCanBeTappedIn) {
  {  // not started: greeting, the first number is drawn at once and spoken 6 s later
    ScreenHarness h(steps::drawingFirst({9}));
    ASSERT_EQ(h.tap("Play"), TapOutcome::reached);
    EXPECT_EQ(stateOf(h), GameState::calling);
    EXPECT_EQ(h.vc()._randomNumbers, std::vector<std::string>{"9"});
    h.advance(6.0);
    EXPECT_EQ(steps::heardSince(h, 0.0),
              (std::vector<Heard>{{0.0, kWelcome}, {6.0, "Single number 9"}}));
  }
  {  // recalling: the recall list is cut off and calling resumes with the resume line
    ScreenHarness h(steps::drawingFirst({12, 34, 56, 78}));
    bringInto(h, GameState::recalling);
    const auto before = steps::mark(h);
    ASSERT_EQ(h.tap("Play"), TapOutcome::reached);
    EXPECT_EQ(stateOf(h), GameState::calling);
    EXPECT_TRUE(h.vc()._isContinueGame);
    h.advance(2.0);
    EXPECT_EQ(steps::textsAfter(h, before), (std::vector<std::string>{kResume, "7"}));
  }
  {  // recalling with nothing drawn: Play greets as for a new game
    ScreenHarness h;
    h.tap("L2");
    h.tap("Play");
    EXPECT_EQ(steps::textsAfter(h, 0).back(), kWelcome);
  }
  {  // completed: Pause says so and hands the taps back to Play; the state stays completed
    ScreenHarness h;
    bringInto(h, GameState::completed);
    const auto before = steps::mark(h);
    ASSERT_EQ(h.tap("Pause"), TapOutcome::reached);
    EXPECT_EQ(steps::textsAfter(h, before), std::vector<std::string>{kStopped});
    EXPECT_EQ(stateOf(h), GameState::completed);
    EXPECT_TRUE(steps::takesTaps(h, "Play"));
  }
}

// A recall stops whatever was going on; when its list has been read, the game rests in the state
// its numbers say: not started, paused or completed.
TEST(GameControl, RecallFromEveryStateSettlesWhereItsNumbersSay) {
  for (GameState state :
       {GameState::notStarted, GameState::calling, GameState::paused, GameState::completed}) {
    SCOPED_TRACE(gameStateName(state));
    ScreenHarness h;
    bringInto(h, state);
    const auto numbers = h.vc()._randomNumbers;
    ASSERT_EQ(h.tap("L5"), TapOutcome::reached);
    EXPECT_EQ(stateOf(h), GameState::recalling);
    EXPECT_TRUE(h.runUntilIdle());
    EXPECT_EQ(h.vc()._randomNumbers, numbers);
    const GameState settled = state == GameState::calling ? GameState::paused : state;
    EXPECT_EQ(stateOf(h), settled);
    EXPECT_TRUE(steps::takesTaps(h, "Play"));
  }
}

// A completed game cannot be played again: Play repeats the ending and draws nothing.
TEST(GameControl, PlayAfterCompletionRepeatsTheEndingOnly) {
  ScreenHarness h;
  steps::playWholeGame(h);
  ASSERT_EQ(stateOf(h), GameState::completed);
  EXPECT_EQ(steps::textsAfter(h, 0).back(), kCompleted);
  ASSERT_EQ(alertsTitled(h, "Success!"), 1u);
  EXPECT_EQ(h.alerts.topmostOpen()->message(), "Done!");
  EXPECT_EQ(h.alerts.topmostOpen()->buttonTitles(), std::vector<std::string>{"Yes"});
  EXPECT_TRUE(steps::takesTaps(h, "Pause"));  // calling ended by itself: Pause is still live

  // The completion alert's "Yes" only closes it: it has no one to tell.
  const auto numbers = h.vc()._randomNumbers;
  ASSERT_TRUE(h.alerts.tapButtonTitled("Yes"));
  EXPECT_EQ(h.vc()._randomNumbers, numbers);
  EXPECT_EQ(h.loop.pendingTimerCount(), 0u);

  h.tap("Pause");
  const auto before = steps::mark(h);
  ASSERT_EQ(h.tap("Play"), TapOutcome::reached);
  EXPECT_EQ(steps::textsAfter(h, before), (std::vector<std::string>{kResume, kCompleted}));
  EXPECT_EQ(alertsTitled(h, "Success!"), 2u);
  EXPECT_EQ(h.vc()._randomNumbers, numbers);
  EXPECT_EQ(h.loop.pendingTimerCount(), 0u);
  EXPECT_EQ(stateOf(h), GameState::completed);
}

// "Yes" in any state wipes the game, greets and calls a new first number 6 s later; the speed
// the host chose stays.
TEST(GameControl, RestartConfirmedInEveryStateBeginsANewGame) {
  for (GameState state : kAllStates) {
    SCOPED_TRACE(gameStateName(state));
    ScreenHarness h;
    bringInto(h, state);
    ASSERT_EQ(stateOf(h), state);
    h.tap("7");
    ASSERT_EQ(h.tap("Re-start"), TapOutcome::reached);
    const auto question = h.alerts.topmostOpen();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->title(), "Re-start");
    EXPECT_EQ(question->message(), "Are you sure to re-start game?");
    EXPECT_EQ(question->buttonTitles(), (std::vector<std::string>{"Yes", "No"}));
    h.advance(0.5);  // so that nothing heard before the answer shares its moment
    const double at = h.now();
    ASSERT_TRUE(h.alerts.tapButtonTitled("Yes"));

    EXPECT_EQ(stateOf(h), GameState::calling);
    EXPECT_EQ(h.vc()._randomNumbers.size(), 1u);
    EXPECT_EQ(h.vc()._speed, 7);
    EXPECT_EQ(h.vc()._viewPreviousHighlighted, nullptr);
    for (int n = 1; n <= 90; ++n) EXPECT_EQ(h.cell(n).backgroundColor(), h.vc().color_un_filled);
    EXPECT_TRUE(steps::takesTaps(h, "Pause"));
    h.advance(2 * 3.0 * 7 / 5);
    const auto heard = steps::heardSince(h, at);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0], (Heard{0.0, kWelcome}));
    EXPECT_EQ(heard[1].at, 8.4);

    h.runUntilIdle();  // the new game again calls every number once
    EXPECT_EQ(ScreenInvariants(h.vc(), h.loop).violations(), std::vector<std::string>{});
    EXPECT_EQ(h.vc()._randomNumbers.size(), 90u);
  }
}

// "No" changes nothing: the calling that was going on is heard exactly as without the question.
TEST(GameControl, RestartAnsweredNoLeavesEveryStateAsItWas) {
  for (GameState state : kAllStates) {
    SCOPED_TRACE(gameStateName(state));
    const auto asked = steps::heardIn([state](ScreenHarness& h) {
      bringInto(h, state);
      h.tap("Re-start");
      h.advance(1.3);
      ASSERT_TRUE(h.alerts.tapButtonTitled("No"));
      EXPECT_EQ(stateOf(h), state);
      h.advance(120.0);
    });
    const auto untouched = steps::heardIn([state](ScreenHarness& h) {
      bringInto(h, state);
      h.advance(121.3);
    });
    EXPECT_EQ(asked, untouched);
  }
}

// Play while calling and Pause while stopped are refused by the panel: nothing happens at all.
TEST(GameControl, InertPlayAndPauseDoNothing) {
  std::vector<std::string> consoleWithTaps;
  const auto tapped = steps::heardIn([&](ScreenHarness& h) {
    EXPECT_EQ(h.tap("Pause"), TapOutcome::ignored);
    h.tap("Play");
    h.advance(3.0);
    EXPECT_EQ(h.tap("Play"), TapOutcome::ignored);
    h.advance(100.0);
    consoleWithTaps = h.console.lines();
  });
  std::vector<std::string> consoleWithout;
  const auto left = steps::heardIn([&](ScreenHarness& h) {
    h.tap("Play");
    h.advance(103.0);
    consoleWithout = h.console.lines();
  });
  EXPECT_EQ(tapped, left);
  EXPECT_EQ(consoleWithTaps, consoleWithout);

  ScreenHarness h;
  h.tap("L2");
  EXPECT_EQ(h.tap("Pause"), TapOutcome::ignored);  // nor while a recall plays
  EXPECT_EQ(stateOf(h), GameState::recalling);
}

// A host may close the screen while it is calling and asking whether to restart: neither the
// timer nor the question may reach it afterwards.
TEST(GameControl, AScreenClosedMidGameLeavesNothingBehind) {
  ScreenHarness h;
  h.tap("Play");
  h.tap("Re-start");
  h.screen.reset();
  EXPECT_EQ(h.loop.pendingTimerCount(), 0u);
  EXPECT_TRUE(h.alerts.tapButtonTitled("Yes"));
  h.advance(60.0);
  EXPECT_EQ(h.speech.entries().size(), 1u);  // the greeting, and nothing after
}

TEST(GameControl, PlayAndPauseWriteTheirConsoleLines) {
  ScreenHarness h;
  h.tap("Play");
  h.tap("Pause");
  h.tap("Re-start");
  h.alerts.tapButtonTitled("Yes");
  std::vector<std::string> actions;
  for (const auto& line : h.console.lines())
    if (!line.starts_with("timerInterval: ")) actions.push_back(line);
  EXPECT_EQ(actions, (std::vector<std::string>{"btnPlay_click", "btnPause_click"}));
}
