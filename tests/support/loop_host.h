#pragma once

#include <functional>

#include "app/application_main.h"
#include "platform/random_source.h"
#include "platform/stand_ins.h"

// A host whose main loop is the test's own function, on a virtual clock with recorded speech,
// alerts and console lines and a seeded draw.
class LoopHost : public app::ApplicationHost {
 public:
  explicit LoopHost(std::function<void(app::Screen&)> loop) : loop_(std::move(loop)) {}
  platform::Services services() override { return {&clock, &speech, &alerts, &console, &random}; }
  int runMainLoop(app::Screen& screen) override {
    loop_(screen);
    return 0;
  }

  platform::VirtualRunLoop clock;
  platform::TranscriptSpeechEngine speech;
  platform::RecordingAlertPresenter alerts;
  platform::RecordingConsole console;
  platform::SeededRandomSource random{5};

 private:
  std::function<void(app::Screen&)> loop_;
};
