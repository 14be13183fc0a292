#pragma once

// The moves a host can make on the screen (tap any control, answer the alert on top, let time
// pass), and a referee that plays one move and checks what it did: both the invariants that hold
// between any two events and what that particular move must and must not change. The long random
// runs of the tests and the fuzz target drive the screen through it.

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/invariants.h"
#include "support/screen_harness.h"
#include "ui/control_catalogue.h"

struct HostMove {
  enum class Kind { tap, answerYes, answerNo, wait };
  Kind kind = Kind::wait;
  std::size_t control = 0;  // index into the control catalogue, for a tap
  double seconds = 0.0;     // for a wait
};

// The control a tap move presses: every control of the catalogue, by its place there.
inline const ui::ControlEntry& movedControl(std::size_t index) {
  return ui::controls()[index % ui::controls().size()];
}

// What a move can change, seen from outside the panel's colours (the invariants cover those).
struct GameSnapshot {
  explicit GameSnapshot(const ViewController& vc)
      : drawn(vc._randomNumbers),
        announced(vc._announcedNumber),
        listSize(vc._announceInfoList.size()),
        index(vc._numberIndexToRepeat),
        continueGame(vc._isContinueGame),
        speed(vc._speed),
        playLive(vc.btnPlay->isUserInteractionEnabled()),
        state(gameStateOf(vc)) {
    if (timerPending(vc)) timerDue = vc._timer.fireDate();
  }
  // Whether `now` holds the numbers drawn here and then `more` new ones (any number by default).
  bool drawnBefore(const GameSnapshot& now, std::size_t more = 90) const {
    return now.drawn.size() >= drawn.size() &&
           (more == 90 || now.drawn.size() == drawn.size() + more) &&
           std::equal(drawn.begin(), drawn.end(), now.drawn.begin());
  }
  bool operator==(const GameSnapshot&) const = default;

  std::vector<std::string> drawn;
  std::string announced;
  std::size_t listSize;
  ViewController::Int index;
  bool continueGame;
  ViewController::Int speed;
  bool playLive;
  GameState state;
  std::optional<platform::Duration> timerDue;
};

class MoveReferee {
 public:
  explicit MoveReferee(ScreenHarness& h) : h_(h), invariants_(h.vc(), h.loop) {
    // Timer firings are events too: check between every two of them.
    h_.loop.setAfterEventHook([this] { collect("after a timer firing"); });
  }
  ~MoveReferee() { h_.loop.setAfterEventHook(nullptr); }
  MoveReferee(const MoveReferee&) = delete;

  // Plays the move; returns everything found wrong since the last call (empty when all is well).
  std::vector<std::string> play(const HostMove& move) {
    const GameSnapshot before(h_.vc());
    if (move.kind == HostMove::Kind::tap) tap(movedControl(move.control), before);
    if (move.kind == HostMove::Kind::answerYes) answer("Yes", before);
    if (move.kind == HostMove::Kind::answerNo) answer("No", before);
    if (move.kind == HostMove::Kind::wait) wait(move.seconds, before);
    collect("after the move");
    // Every line goes out whole, at the one speaking rate.
    for (const auto& entries = h_.speech.entries(); spokenChecked_ < entries.size();
         ++spokenChecked_)
      expect(entries[spokenChecked_].rate == 0.5f && !entries[spokenChecked_].text.empty(),
             "'" + entries[spokenChecked_].text + "' spoken oddly");
    return std::exchange(problems_, {});
  }

 private:
  void expect(bool ok, const std::string& what) {
    if (!ok) problems_.push_back(what);
  }
  void collect(const char* when) {
    for (const auto& problem : invariants_.violations())
      problems_.push_back(problem + " (" + when + ")");
  }
  bool lastSpokenStartsWith(const std::string& text) const {
    return !h_.speech.entries().empty() && h_.speech.entries().back().text.starts_with(text);
  }

  void tap(const ui::ControlEntry& control, const GameSnapshot& before) {
    using Action = ui::ControlEntry::Action;
    const std::string title(control.title);
    const bool live = (control.action != Action::play || before.playLive) &&
                      (control.action != Action::pause || !before.playLive);
    expect(h_.tap(title) == (live ? platform::TapOutcome::reached : platform::TapOutcome::ignored),
           "tap on '" + title + "' " + (live ? "was refused" : "went through an inert button"));
    const GameSnapshot after(h_.vc());
    GameSnapshot expected = before;
    if (!live || control.action == Action::restart) {
      expect(!live || (h_.alerts.topmostOpen() && h_.alerts.topmostOpen()->title() == "Re-start"),
             "Re-start asked nothing");
    } else if (control.action == Action::play) {
      const bool complete = before.drawn.size() >= 90;
      return expect(before.drawnBefore(after, complete ? 0 : 1) &&
                        after.state == (complete ? GameState::completed : GameState::calling),
                    "Play did not draw exactly one new number and call it");
    } else if (control.action == Action::pause) {
      expected.timerDue.reset();
      expected.playLive = true;
      expected.state = before.drawn.size() >= 90 ? GameState::completed : GameState::paused;
      expect(lastSpokenStartsWith("Game stopped! Please relax!"), "Pause said no pause line");
    } else if (control.action == Action::speed) {
      expected.speed = control.speed;
    } else {  // a recall
      const auto& list = h_.vc()._announceInfoList;
      return expect(after.state == GameState::recalling && after.index == 0 && after.playLive &&
                        before.drawnBefore(after, 0) && after.announced == before.announced &&
                        !list.empty() && list.back()->info == "Please relax!" &&
                        lastSpokenStartsWith("Announcing "),
                    title + " did not start a recall of the numbers called that ends calmly");
    }
    expect(after == expected, "tap on '" + title + "' changed more than it should");
  }

  void answer(const std::string& title, const GameSnapshot& before) {
    const auto alert = h_.alerts.topmostOpen();
    const bool restart = title == "Yes" && alert && alert->title() == "Re-start";
    h_.alerts.tapButtonTitled(title);
    const GameSnapshot after(h_.vc());
    if (!restart) return expect(after == before, "answering " + title + " changed the game");
    expect(
        after.drawn.size() == 1 && after.state == GameState::calling && after.speed == before.speed,
        "Yes to Re-start did not begin a new game at the same speed");
  }

  void wait(double seconds, const GameSnapshot& before) {
    h_.advance(seconds);
    const GameSnapshot after(h_.vc());
    if (before.state == GameState::calling)
      expect(before.drawnBefore(after) &&
                 (after.state == GameState::calling || after.state == GameState::completed),
             "calling lost numbers or stalled");
    else if (before.state == GameState::recalling)
      expect(before.drawnBefore(after, 0), "a recall drew a number");
    else
      expect(after == before,
             std::string("time changed a game that was ") + gameStateName(before.state));
  }

  ScreenHarness& h_;
  ScreenInvariants invariants_;
  std::vector<std::string> problems_;
  std::size_t spokenChecked_ = 0;
};
