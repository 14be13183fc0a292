#pragma once

// What must hold on the screen between any two events (a tap, an alert answer, a timer firing),
// whatever the host did before. Used by the long random runs of the tests and by the fuzz target,
// so it reports instead of asserting: an empty list means all is well.

#include <array>
#include <string>
#include <vector>

#include "engine/view_controller.h"
#include "platform/button.h"
#include "platform/run_loop.h"

// The game states, which follow from the fields: the game keeps no state field of its own.
enum class GameState { notStarted, calling, paused, recalling, completed };

inline const char* gameStateName(GameState state) {
  switch (state) {
    case GameState::notStarted:
      return "not started";
    case GameState::calling:
      return "calling";
    case GameState::paused:
      return "paused";
    case GameState::recalling:
      return "recalling";
    case GameState::completed:
      return "completed";
  }
  return "?";
}

inline bool timerPending(const ViewController& vc) {
  return vc._timer && vc._timer->isValid();
}

inline GameState gameStateOf(const ViewController& vc) {
  if (timerPending(vc)) return vc._isContinueGame ? GameState::calling : GameState::recalling;
  if (vc._randomNumbers.empty()) return GameState::notStarted;
  if (vc._randomNumbers.size() >= 90) return GameState::completed;
  return GameState::paused;
}

class ScreenInvariants {
 public:
  // The panel is laid out once, so its buttons are found once.
  ScreenInvariants(ViewController& vc, const platform::RunLoop& loop) : vc_(vc), loop_(loop) {
    for (const auto& subview : vc_.view().subviews())
      if (const auto* button = dynamic_cast<const platform::Button*>(subview.get()))
        buttons_.push_back(button);
  }

  std::vector<std::string> violations() {
    problems_.clear();
    const auto drawn = checkDrawnNumbers();
    checkAnnouncementList();
    checkTimer();
    checkPlayAndPause();
    checkPanelColours();
    checkBoard(drawn);
    return problems_;
  }

 private:
  using Drawn = std::array<bool, 91>;  // indexed by number; [0] unused

  void fail(std::string what) { problems_.push_back(std::move(what)); }

  static int numberOf(const std::string& text) {
    if (text.empty() || text.size() > 2 || text.front() == '0') return 0;
    int value = 0;
    for (char c : text) {
      if (c < '0' || c > '9') return 0;
      value = value * 10 + (c - '0');
    }
    return value <= 90 ? value : 0;
  }

  Drawn checkDrawnNumbers() {
    Drawn drawn{};
    const auto& numbers = vc_._randomNumbers;
    if (numbers.size() > 90) fail("more than 90 numbers drawn");
    for (const auto& text : numbers) {
      const int n = numberOf(text);
      if (n == 0)
        fail("drawn text '" + text + "' is not a number from 1 to 90");
      else if (drawn[n])
        fail("number " + text + " drawn twice");
      else
        drawn[n] = true;
    }
    if (!vc_._announcedNumber.empty() &&
        (numbers.empty() || numbers.back() != vc_._announcedNumber))
      fail("announced number '" + vc_._announcedNumber + "' is not the last one drawn");
    return drawn;
  }

  void checkAnnouncementList() {
    const auto size = static_cast<ViewController::Int>(vc_._announceInfoList.size());
    if (vc_._numberIndexToRepeat < 0 || vc_._numberIndexToRepeat > size)
      fail("index " + std::to_string(vc_._numberIndexToRepeat) + " outside a list of " +
           std::to_string(size));
    if (timerPending(vc_) && vc_._numberIndexToRepeat >= size)
      fail("a timer is pending with nothing left to say");
  }

  void checkTimer() {
    const std::size_t pending = loop_.pendingTimerCount();
    if (pending > 1) fail(std::to_string(pending) + " timers pending");
    if (pending == 1 && !timerPending(vc_)) fail("the pending timer is not _timer");
    if (pending == 1 && timerPending(vc_) && loop_.nextDeadline() != vc_._timer->fireDate())
      fail("_timer is not the timer that will fire");
    if (pending == 0 && timerPending(vc_)) fail("_timer claims to be pending but is not");
  }

  void checkPlayAndPause() {
    const bool play = vc_.btnPlay->isUserInteractionEnabled();
    const bool pause = vc_.btnPause->isUserInteractionEnabled();
    if (play == pause)
      fail(play ? "Play and Pause both take taps" : "neither Play nor Pause takes taps");
    const GameState state = gameStateOf(vc_);
    // Calling is the one state in which Pause is live; after Play on a completed game it stays so.
    const bool pauseExpected =
        state == GameState::calling || (state == GameState::completed && pause);
    if (pause != pauseExpected)
      fail(std::string("Pause ") + (pause ? "takes" : "refuses") + " taps while " +
           gameStateName(state));
  }

  void expectColour(const platform::Button& button, platform::Color colour, const char* why) {
    if (button.backgroundColor() != colour)
      fail(std::string("'").append(button.titleText().value_or("")).append("' ").append(why));
  }

  void checkPanelColours() {
    using platform::Color;
    expectColour(*vc_.btnPlay,
                 vc_.btnPlay->isUserInteractionEnabled() ? Color::blackColor() : Color::grayColor(),
                 "colour does not match whether it takes taps");
    expectColour(
        *vc_.btnPause,
        vc_.btnPause->isUserInteractionEnabled() ? Color::blackColor() : Color::grayColor(),
        "colour does not match whether it takes taps");
    const bool remainingMarked = vc_.btnRemaining->backgroundColor() == Color::orangeColor();
    if (!remainingMarked)
      expectColour(*vc_.btnRemaining, Color::blackColor(), "neither black nor orange");
    int recallsMarked = 0;
    const std::string speedText = std::to_string(vc_._speed);
    for (const platform::Button* button : buttons_) {
      const bool orange = button->backgroundColor() == Color::orangeColor();
      if (button->tag() == static_cast<long>(ButtonType::lastNumbers)) {
        recallsMarked += orange ? 1 : 0;
        if (!orange) expectColour(*button, Color::blackColor(), "neither black nor orange");
      } else if (button->tag() == static_cast<long>(ButtonType::speedNumbers)) {
        expectColour(*button,
                     button->titleText() == speedText ? Color::orangeColor() : Color::blackColor(),
                     "does not show whether it is the speed");
      } else if (button->tag() == static_cast<long>(ButtonType::restart)) {
        expectColour(*button, Color::blackColor(), "is not black");
      }
    }
    if (recallsMarked + (remainingMarked ? 1 : 0) > 1) fail("more than one recall marked");
    if ((recallsMarked > 0 || remainingMarked) && vc_.btnPause->isUserInteractionEnabled())
      fail("a recall is marked while Pause is live");
    if (vc_.lblSpeed->text() != "Speed: " + speedText)
      fail("the speed label does not show the speed");
  }

  void checkBoard(const Drawn& drawn) {
    int justFilled = 0;
    for (std::size_t i = 0; i < vc_._gridViewsArray.size(); ++i) {
      const auto& colour = vc_._gridViewsArray[i]->backgroundColor();
      const bool called = drawn[i + 1];
      if (colour == vc_.color_just_filled) ++justFilled;
      if (!called && colour != vc_.color_un_filled)
        fail("cell " + std::to_string(i + 1) + " is coloured but was never drawn");
      else if (called && colour != vc_.color_un_filled && colour != vc_.color_filled &&
               colour != vc_.color_just_filled)
        fail("cell " + std::to_string(i + 1) + " has a colour of no state");
    }
    // The latest number and the five called since the last refresh at most.
    if (justFilled > 6) fail(std::to_string(justFilled) + " cells marked as just called");
    if (vc_._viewPreviousHighlighted &&
        vc_._viewPreviousHighlighted->backgroundColor() != vc_.color_just_filled)
      fail("the cell marked last is not shown as just called");
  }

  ViewController& vc_;
  const platform::RunLoop& loop_;
  std::vector<const platform::Button*> buttons_;
  std::vector<std::string> problems_;
};
