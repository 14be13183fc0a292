#pragma once

// The moves a host can make on the screen (tap any control, answer the alert on top, let time
// pass), and a referee that plays one move and checks what it did: both the invariants that hold
// between any two events and what that particular move must and must not change. The long random
// runs of the tests and the fuzz target drive the screen through it.

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/invariants.h"
#include "support/screen_harness.h"
#include "ui/control_catalogue.h"

// What a number sounds like when called: "Single number 7", or "4", "5", "45" ending whole.
inline std::string wholeCall(const std::string& number) {
  return number.size() == 1 ? "Single number " + number : number;
}
inline std::vector<std::string> callItems(const std::string& number) {
  if (number.size() == 1) return {wholeCall(number)};
  return {number.substr(0, 1), number.substr(1), number};
}

// The items a recall reads, worked out from the numbers drawn: the last few in the order
// called, all called in ascending order, or the ones not called yet; then the closing phrase.
inline std::vector<std::string> recallItems(const Recall& recall,
                                            const std::vector<std::string>& drawn) {
  std::vector<int> numbers;
  for (const auto& text : drawn) numbers.push_back(std::atoi(text.c_str()));
  if (recall.kind == Recall::Kind::lastNumbers) {
    const auto keep = std::min<std::size_t>(static_cast<std::size_t>(recall.count), numbers.size());
    numbers.erase(numbers.begin(), numbers.end() - static_cast<std::ptrdiff_t>(keep));
  } else if (recall.kind == Recall::Kind::allCalled) {
    std::sort(numbers.begin(), numbers.end());
  } else {
    std::vector<int> left;
    for (int n = 1; n <= 90; ++n)
      if (std::find(numbers.begin(), numbers.end(), n) == numbers.end()) left.push_back(n);
    numbers = left;
  }
  std::vector<std::string> items;
  for (const int n : numbers)
    for (auto& item : callItems(std::to_string(n))) items.push_back(std::move(item));
  items.emplace_back("Please relax!");
  return items;
}

// What a recall says before its numbers.
inline std::string recallLeadIn(const Recall& recall) {
  switch (recall.kind) {
    case Recall::Kind::lastNumbers:
      return recall.count <= 1 ? "Announcing last number! Please keep silence!"
                               : "Announcing last " + std::to_string(recall.count) +
                                     " numbers! Please keep silence!";
    case Recall::Kind::allCalled:
      return "Announcing all numbers! Please keep silence!";
    case Recall::Kind::remaining:
      return "Announcing remai ning numbers! Please keep silence!";
  }
  return {};
}

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
  explicit GameSnapshot(ViewController& vc)
      : drawn(vc._randomNumbers),
        announced(vc._announcedNumber),
        listSize(vc._announceInfoList.size()),
        index(vc._numberIndexToRepeat),
        continueGame(vc._isContinueGame),
        speed(vc._speed),
        playLive(vc.btnPlay->isUserInteractionEnabled()),
        state(gameStateOf(vc)) {
    if (timerPending(vc)) timerDue = vc._timer.fireDate();
    for (const auto& view : vc.view().subviews()) {
      const auto* button = dynamic_cast<const platform::Button*>(view.get());
      if (button && button->tag() != static_cast<long>(ButtonType::speedNumbers) &&
          button->backgroundColor() == platform::Color::orangeColor())
        markedRecall = button->titleText().value_or("?");
    }
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
  std::string markedRecall;  // the title of the recall marked orange, if any
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
    followCalling(when);
  }

  // Every number drawn is called out whole before the next one takes over (a number cut short by
  // a pause or a recall comes back on Play), the numbers drawn before the board's last refresh
  // are all marked on it, and a completed game has every cell marked.
  void followCalling(const char* when) {
    const ViewController& vc = h_.vc();
    const auto& drawn = vc._randomNumbers;
    if (drawn.size() < drawn_.size() || !std::equal(drawn_.begin(), drawn_.end(), drawn.begin()))
      calledOut_.clear(), excused_.clear(), stillToSayBefore_.clear();  // a new game
    drawn_ = drawn;
    const GameState state = gameStateOf(vc);
    const auto& entries = h_.speech.entries();
    for (; heard_ < entries.size(); ++heard_)
      if (state == GameState::calling || state == GameState::completed)
        calledOut_.insert(entries[heard_].text);
    std::set<std::string> stillToSay;
    if (state == GameState::calling)
      for (auto i =
               static_cast<std::size_t>(std::max<ViewController::Int>(0, vc._numberIndexToRepeat));
           i < vc._announceInfoList.size(); ++i)
        stillToSay.insert(vc._announceInfoList[i]->info);
    // Play brings back only the newest number: an older one still to be said again (after a
    // pause) that a recall or a pause cuts off is not owed any more.
    for (const auto& phrase : std::exchange(stillToSayBefore_, stillToSay))
      if (calledOut_.count(phrase) == 0 && stillToSay.count(phrase) == 0 && !drawn.empty() &&
          phrase != wholeCall(drawn.back()))
        excused_.insert(phrase);
    for (std::size_t i = 0; i + 1 < drawn.size(); ++i) {
      const std::string phrase = wholeCall(drawn[i]);
      expect(calledOut_.count(phrase) + stillToSay.count(phrase) + excused_.count(phrase) > 0,
             "number " + drawn[i] + " was drawn and never called out whole (" + when + ")");
    }
    // The board is refreshed as every fifth number after the last is drawn.
    std::size_t marked = drawn.empty() ? 0 : (drawn.size() - 1) / 5 * 5;
    for (std::size_t i = 0; i < marked; ++i) {
      const auto n = static_cast<std::size_t>(std::atoi(drawn[i].c_str()));
      if (n < 1 || n > 90) continue;  // the invariants report it
      expect(vc._gridViewsArray[n - 1]->backgroundColor() != vc.color_un_filled,
             "cell " + drawn[i] + " is called and not marked (" + when + ")");
    }
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
      std::vector<std::string> read;
      for (const auto& item : list) read.push_back(item->info);
      expect(read == recallItems(control.recall, before.drawn),
             title + " reads other numbers than it should");
      return expect(after.state == GameState::recalling && after.index == 0 && after.playLive &&
                        before.drawnBefore(after, 0) && after.announced == before.announced &&
                        after.markedRecall == title && !list.empty() &&
                        list.back()->info == "Please relax!" &&
                        lastSpokenStartsWith(recallLeadIn(control.recall)),
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
  std::vector<std::string> drawn_;   // the numbers drawn when last looked at
  std::size_t heard_ = 0;            // the speech entries looked at so far
  std::set<std::string> calledOut_;  // what was said while calling, this game
  std::set<std::string> stillToSayBefore_;
  std::set<std::string> excused_;  // older numbers cut off before they were said again
};
