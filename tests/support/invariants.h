#pragma once

// What must hold on the screen between any two events (a tap, an alert answer, a timer firing),
// whatever the host did before. Used by the long random runs of the tests and by the fuzz target,
// so it reports instead of asserting: an empty list means all is well.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/view_controller.h"
#include "platform/button.h"
#include "platform/run_loop.h"

// The game states, which follow from the fields: the game keeps no state field of its own.
enum class GameState { notStarted, calling, paused, recalling, completed };

inline const char* gameStateName(GameState state) {
  static constexpr const char* kNames[] = {"not started", "calling", "paused", "recalling",
                                           "completed"};
  return kNames[static_cast<int>(state)];
}

inline bool timerPending(const ViewController& vc) {
  return vc._timer.isPending();
}

inline GameState gameStateOf(const ViewController& vc) {
  if (timerPending(vc)) return vc._isContinueGame ? GameState::calling : GameState::recalling;
  if (vc._randomNumbers.empty()) return GameState::notStarted;
  return vc._randomNumbers.size() >= 90 ? GameState::completed : GameState::paused;
}

class ScreenInvariants {
 public:
  ScreenInvariants(ViewController& vc, const platform::RunLoop& loop) : vc_(vc), loop_(loop) {}

  std::vector<std::string> violations() {
    problems_.clear();
    checkNumbersAndBoard();
    checkTimer();
    checkPanel();
    return problems_;
  }

 private:
  void expect(bool ok, const std::string& what) {
    if (!ok) problems_.push_back(what);
  }

  void checkNumbersAndBoard() {
    std::array<bool, 91> drawn{};
    const auto& numbers = vc_._randomNumbers;
    for (const auto& text : numbers) {
      const int n = std::clamp(std::atoi(text.c_str()), 0, 90);  // 0 for no number from 1 to 90
      expect(n != 0 && std::to_string(n) == text && !drawn[n],
             "drawn text '" + text + "' is no new number from 1 to 90");
      drawn[n] = true;
    }
    expect(vc_._announcedNumber.empty() ||
               (!numbers.empty() && numbers.back() == vc_._announcedNumber),
           "announced number '" + vc_._announcedNumber + "' is not the last one drawn");
    int justFilled = 0;
    for (int n = 1; n <= 90; ++n) {
      const auto& colour = vc_._gridViewsArray[static_cast<std::size_t>(n - 1)]->backgroundColor();
      justFilled += colour == vc_.color_just_filled;
      expect(colour == vc_.color_un_filled ||
                 (drawn[n] && (colour == vc_.color_filled || colour == vc_.color_just_filled)),
             "cell " + std::to_string(n) + " has a colour its number does not explain");
    }
    // The latest number and the five called since the last refresh at most.
    expect(justFilled <= 6, std::to_string(justFilled) + " cells marked as just called");
    expect(!vc_._viewPreviousHighlighted ||
               vc_._viewPreviousHighlighted->backgroundColor() == vc_.color_just_filled,
           "the cell marked last is not shown as just called");
  }

  void checkTimer() {
    const auto size = static_cast<ViewController::Int>(vc_._announceInfoList.size());
    const bool pending = timerPending(vc_);
    expect(vc_._numberIndexToRepeat >= 0 && vc_._numberIndexToRepeat <= size - (pending ? 1 : 0),
           "index " + std::to_string(vc_._numberIndexToRepeat) + " outside what is left to say");
    const std::size_t count = loop_.pendingTimerCount();
    expect(count == (pending ? 1u : 0u),
           std::to_string(count) + " timers pending, _timer " + (pending ? "valid" : "not valid"));
    expect(!pending || loop_.nextDeadline() == vc_._timer.fireDate(),
           "_timer is not the timer that will fire");
  }

  void checkPanel() {
    using platform::Color;
    const bool play = vc_.btnPlay->isUserInteractionEnabled();
    const bool pause = vc_.btnPause->isUserInteractionEnabled();
    expect(play != pause, "Play and Pause both take taps, or neither does");
    const GameState state = gameStateOf(vc_);
    // Calling is the one state in which Pause is live; after Play on a completed game it stays so.
    expect(pause == (state == GameState::calling || (state == GameState::completed && pause)),
           std::string("Pause takes taps wrongly while ") + gameStateName(state));
    const Color live = Color::blackColor(), dead = Color::grayColor();
    expect(vc_.btnPlay->backgroundColor() == (play ? live : dead) &&
               vc_.btnPause->backgroundColor() == (pause ? live : dead),
           "Play or Pause is coloured unlike whether it takes taps");
    const std::string speed = std::to_string(vc_._speed);
    int marked = 0;
    for (const auto& subview : vc_.view().subviews()) {
      const auto* button = dynamic_cast<const platform::Button*>(subview.get());
      if (!button || button == vc_.btnPlay.get() || button == vc_.btnPause.get()) continue;
      const bool orange = button->backgroundColor() == Color::orangeColor();
      const bool isSpeed = button->tag() == static_cast<long>(ButtonType::speedNumbers);
      marked += orange && !isSpeed;
      expect(
          orange ? button->tag() != static_cast<long>(ButtonType::restart) &&
                       (!isSpeed || button->titleText() == speed)
                 : button->backgroundColor() == Color::blackColor() &&
                       (!isSpeed || button->titleText() != speed),
          std::string("'").append(button->titleText().value_or("")).append("' coloured wrongly"));
    }
    expect(marked <= 1, "more than one recall marked");
    expect(marked == 0 || !pause, "a recall is marked while Pause is live");
    expect(vc_.lblSpeed->text() == "Speed: " + speed, "the speed label does not show the speed");
  }

  ViewController& vc_;
  const platform::RunLoop& loop_;
  std::vector<std::string> problems_;
};
