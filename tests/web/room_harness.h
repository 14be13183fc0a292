#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/screen.h"
#include "hosts/common/room_feed.h"
#include "support/screen_harness.h"

// A loaded screen on a virtual clock whose room feed is told of every event, as a host tells it.
class RoomHarness {
 public:
  explicit RoomHarness(std::vector<std::uint32_t> presetDraws)
      : seeded_(2026),
        random_(std::move(presetDraws), seeded_),
        outputs_({&loop, &speech_, &alerts, &console_, &random_}),
        scope_(outputs_.services()),
        controller_(std::make_unique<ViewController>()),
        screen_(*controller_, outputs_),
        feed_(vorlix::web::WebBoardOptions{}) {
    controller_->setInitialViewFrame({0.0, 0.0, 320.0, 568.0});
    controller_->view();
    feed_.screenChanged(screen_.snapshot());
    feed_.addDisplay([this](const vorlix::room::RoomState& state) { shown.push_back(state); });
    loop.setAfterEventHook([this] { feed_.screenChanged(screen_.snapshot()); });
  }
  ~RoomHarness() { loop.setAfterEventHook(nullptr); }

  void press(const std::string& title) {
    screen_.press(title);
    feed_.screenChanged(screen_.snapshot());
  }
  void answer(const std::string& title) {
    screen_.answer(title);
    feed_.screenChanged(screen_.snapshot());
  }
  void advance(double seconds) { loop.advanceBySeconds(seconds); }
  const vorlix::room::RoomState& room() const { return feed_.state(); }
  hostkit::RoomFeed& feed() { return feed_; }
  app::ScreenSnapshot snapshot() const { return screen_.snapshot(); }

  platform::VirtualRunLoop loop;
  platform::RecordingAlertPresenter alerts;
  std::vector<vorlix::room::RoomState> shown;  // every state the displays were shown, in order

 private:
  platform::TranscriptSpeechEngine speech_;
  platform::RecordingConsole console_;
  platform::SeededRandomSource seeded_;
  platform::PresetRandomSource random_;
  app::OutputWatch outputs_;
  platform::ServicesScope scope_;
  std::unique_ptr<ViewController> controller_;
  app::Screen screen_;
  hostkit::RoomFeed feed_;
};

inline vorlix::room::RoomState roomState(vorlix::room::RoomPhase phase, std::vector<int> calls,
                                         std::optional<int> current) {
  vorlix::room::RoomState state;
  state.phase = phase;
  state.calledInOrder = std::move(calls);
  state.numberBeingCalled = current;
  return state;
}
