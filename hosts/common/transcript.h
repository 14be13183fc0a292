#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "app/screen.h"
#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/run_loop.h"
#include "platform/speech.h"
#include "platform/stand_ins.h"

namespace hostkit {

// Writes the event transcript: one line per event, "T KIND PAYLOAD", T in seconds on the run loop's
// clock since the view loaded, with three decimals. It stands in for the speech engine (forwarding
// each utterance to a real one when there is one), the console and the alert presenter, so spoken
// lines, console lines and alerts are written as they happen; visual changes are written once each
// event has been handled, by comparing the screen with how it looked before.
class TranscriptRecorder : public platform::SpeechEngine,
                           public platform::Console,
                           public platform::AlertPresenter {
 public:
  TranscriptRecorder(std::ostream& out, const platform::RunLoop& loop);

  // Also hands every utterance to this engine (the live voice or a recording).
  void setSpeechTee(platform::SpeechEngine* engine) { tee_ = engine; }

  // Starts watching the screen, whose view has just loaded: writes "ready".
  void attach(const app::Screen& screen);
  // Writes what looks different since the last event.
  void eventHandled();
  // Is shown the screen's look after each event, once its changes are written (the room's
  // displays follow a scripted run this way).
  void setAfterLookHook(std::function<void(const app::ScreenSnapshot&)> hook) {
    afterLook_ = std::move(hook);
  }
  // The script's own actions ("tap", "tap-ignored", "answer", "board").
  void action(std::string_view kind, std::string_view payload);

  void speak(const platform::SpeechUtterance& utterance, platform::Duration handedOverAt) override;
  void writeLine(std::string_view line) override;
  void present(const std::shared_ptr<platform::AlertView>& alert) override;

  // The alerts shown so far, for answering them.
  platform::RecordingAlertPresenter& alerts() { return alerts_; }

 private:
  void write(platform::Duration at, std::string_view kind, std::string_view payload);
  void writeNow(std::string_view kind, std::string_view payload);

  std::ostream& out_;
  const platform::RunLoop& loop_;
  platform::Duration origin_{0};
  const app::Screen* screen_ = nullptr;
  std::optional<app::ScreenSnapshot> lastLook_;
  platform::SpeechEngine* tee_ = nullptr;
  std::function<void(const app::ScreenSnapshot&)> afterLook_;
  platform::RecordingAlertPresenter alerts_;
};

// How a colour is written: black, gray, orange, or rgba(r,g,b,a).
std::string colourName(const platform::Color& colour);

// The transcript lines ("title …", "cell …", "button …", "label …") for what differs between two
// looks of the same screen: the title first, then the views in subview order.
std::vector<std::string> lookChanges(const app::ScreenSnapshot& before,
                                     const app::ScreenSnapshot& after);

}  // namespace hostkit
