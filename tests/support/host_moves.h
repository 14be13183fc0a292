#pragma once

// The moves a host can make on the screen (tap any control, answer the alert on top, let time
// pass), and a referee that plays one move and checks what it did: both the invariants that hold
// between any two events and what that particular move must and must not change. The long random
// runs of the tests and the fuzz target drive the screen through it.

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/invariants.h"
#include "support/screen_harness.h"

struct HostMove {
  enum class Kind { tap, answerYes, answerNo, wait };
  Kind kind = Kind::wait;
  std::size_t control = 0;  // index into kControlTitles, for a tap
  double seconds = 0.0;     // for a wait
};

inline constexpr std::array<const char*, 18> kControlTitles = {
    "Play", "Pause", "Re-start", "L2", "L3", "L5", "L10", "ALL", "Remaining Numbers",
    "2",    "3",     "4",        "5",  "6",  "7",  "8",   "9",   "10"};

// What a move can change, seen from outside the panel's colours (the invariants cover those).
struct GameSnapshot {
  std::vector<std::string> drawn;
  std::string announced;
  std::size_t listSize = 0;
  ViewController::Int index = 0;
  std::optional<platform::Duration> timerDue;
  bool continueGame = true;
  ViewController::Int speed = 5;
  bool playLive = true;
  bool operator==(const GameSnapshot&) const = default;
};

class MoveReferee {
 public:
  explicit MoveReferee(ScreenHarness& h) : h_(h), invariants_(h.vc(), h.loop) {
    // Timer firings are events too: check between every two of them.
    h_.loop.setAfterEventHook(
        [this] { collect(invariants_.violations(), "after a timer firing"); });
  }
  ~MoveReferee() { h_.loop.setAfterEventHook(nullptr); }
  MoveReferee(const MoveReferee&) = delete;
  MoveReferee& operator=(const MoveReferee&) = delete;

  // Plays the move; returns everything found wrong since the last call (empty when all is well).
  std::vector<std::string> play(const HostMove& move) {
    const GameSnapshot before = snapshot();
    const GameState stateBefore = gameStateOf(h_.vc());
    switch (move.kind) {
      case HostMove::Kind::tap:
        tap(kControlTitles.at(move.control), before, stateBefore);
        break;
      case HostMove::Kind::answerYes:
        answer("Yes", before);
        break;
      case HostMove::Kind::answerNo:
        answer("No", before);
        break;
      case HostMove::Kind::wait:
        wait(move.seconds, before, stateBefore);
        break;
    }
    collect(invariants_.violations(), "after the move");
    checkNewSpeech();
    std::vector<std::string> found;
    found.swap(problems_);
    return found;
  }

 private:
  static constexpr const char* kRelax = "Please relax!";

  GameSnapshot snapshot() {
    const ViewController& vc = h_.vc();
    GameSnapshot s{vc._randomNumbers,
                   vc._announcedNumber,
                   vc._announceInfoList.size(),
                   vc._numberIndexToRepeat,
                   std::nullopt,
                   vc._isContinueGame,
                   vc._speed,
                   vc.btnPlay->isUserInteractionEnabled()};
    if (timerPending(vc)) s.timerDue = vc._timer->fireDate();
    return s;
  }

  void expect(bool ok, const std::string& what) {
    if (!ok) problems_.push_back(what);
  }
  void collect(const std::vector<std::string>& found, const char* when) {
    for (const auto& problem : found) problems_.push_back(problem + " (" + when + ")");
  }
  // Every line goes out whole, at the one speaking rate.
  void checkNewSpeech() {
    const auto& entries = h_.speech.entries();
    for (; speechChecked_ < entries.size(); ++speechChecked_) {
      const auto& entry = entries[speechChecked_];
      expect(entry.rate == 0.5f && !entry.text.empty(), "'" + entry.text + "' spoken oddly");
    }
  }
  std::string lastSpoken() const {
    const auto& entries = h_.speech.entries();
    return entries.empty() ? "" : entries.back().text;
  }
  static bool extends(const std::vector<std::string>& longer,
                      const std::vector<std::string>& prefix) {
    return longer.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), longer.begin());
  }

  void tap(const std::string& title, const GameSnapshot& before, GameState stateBefore) {
    const bool live = title == "Play"    ? before.playLive
                      : title == "Pause" ? !before.playLive
                                         : true;
    const platform::TapOutcome outcome = h_.tap(title);
    expect(outcome == (live ? platform::TapOutcome::reached : platform::TapOutcome::ignored),
           "tap on '" + title + "' " + (live ? "was refused" : "went through an inert button"));
    const GameSnapshot after = snapshot();
    if (!live) return expect(after == before, "a refused tap on " + title + " changed the game");
    if (title == "Play") return playTapped(before, after, stateBefore);
    if (title == "Pause") return pauseTapped(before, after);
    if (title == "Re-start") {
      const auto alert = h_.alerts.topmostOpen();
      expect(alert && alert->title() == "Re-start", "Re-start asked nothing");
      return expect(after == before, "Re-start changed the game before any answer");
    }
    if (std::isdigit(static_cast<unsigned char>(title.front()))) {  // a speed
      GameSnapshot expected = before;
      expected.speed = std::stol(title);
      return expect(after == expected, "speed " + title + " changed more than the speed");
    }
    recallTapped(title, before, after);
  }

  void playTapped(const GameSnapshot& before, const GameSnapshot& after, GameState stateBefore) {
    const bool complete = before.drawn.size() >= 90;
    expect(extends(after.drawn, before.drawn) &&
               after.drawn.size() == before.drawn.size() + (complete ? 0 : 1),
           "Play did not draw exactly one new number");
    expect(gameStateOf(h_.vc()) == (complete ? GameState::completed : GameState::calling),
           std::string("Play from ") + gameStateName(stateBefore) + " did not start calling");
  }

  void pauseTapped(const GameSnapshot& before, const GameSnapshot& after) {
    GameSnapshot expected = before;
    expected.timerDue.reset();
    expected.playLive = true;
    expect(after == expected, "Pause changed more than the timer and the live button");
    expect(lastSpoken() == "Game stopped! Please relax!", "Pause said no pause line");
  }

  void recallTapped(const std::string& title, const GameSnapshot& before,
                    const GameSnapshot& after) {
    expect(after.drawn == before.drawn && after.announced == before.announced,
           title + " changed the numbers called");
    expect(gameStateOf(h_.vc()) == GameState::recalling && after.index == 0 && after.playLive,
           title + " did not start a recall");
    const auto& list = h_.vc()._announceInfoList;
    expect(!list.empty() && list.back()->info == kRelax, title + " list does not end calmly");
    expect(lastSpoken().starts_with("Announcing "), title + " said no lead-in");
  }

  void answer(const std::string& title, const GameSnapshot& before) {
    const auto alert = h_.alerts.topmostOpen();
    const bool restart = alert && alert->title() == "Re-start";
    h_.alerts.tapButtonTitled(title);
    const GameSnapshot after = snapshot();
    if (title == "Yes" && restart) {
      expect(after.drawn.size() == 1 && gameStateOf(h_.vc()) == GameState::calling &&
                 after.speed == before.speed,
             "Yes to Re-start did not begin a new game");
      for (int n = 1; n <= 90; ++n)
        expect(h_.cell(n).backgroundColor() == h_.vc().color_un_filled,
               "Yes to Re-start left cell " + std::to_string(n) + " coloured");
    } else {
      expect(after == before, "answering " + title + " changed the game");
    }
  }

  void wait(double seconds, const GameSnapshot& before, GameState stateBefore) {
    h_.advance(seconds);
    const GameSnapshot after = snapshot();
    const GameState state = gameStateOf(h_.vc());
    switch (stateBefore) {
      case GameState::calling:
        expect(extends(after.drawn, before.drawn), "calling lost numbers");
        expect(state == GameState::calling || state == GameState::completed, "calling stalled");
        break;
      case GameState::recalling:
        expect(after.drawn == before.drawn, "a recall drew a number");
        break;
      default:
        expect(after == before,
               std::string("time changed a game that was ") + gameStateName(stateBefore));
    }
  }

  ScreenHarness& h_;
  ScreenInvariants invariants_;
  std::vector<std::string> problems_;
  std::size_t speechChecked_ = 0;
};
