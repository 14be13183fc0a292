#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/screen_input.h"
#include "app/screen_snapshot.h"
#include "platform/alert_view.h"
#include "platform/services.h"
#include "platform/speech.h"

class ViewController;

namespace app {

class GameRecorder;

// Sees what the screen says and asks on its way to the host's speech engine and alert presenter,
// so the snapshot can tell the line handed to speech last and the alerts still open.
class OutputWatch : public platform::SpeechEngine, public platform::AlertPresenter {
 public:
  // `host` must have a speech engine and an alert presenter (see platform::requireComplete).
  explicit OutputWatch(const platform::Services& host);

  // The host's services with speech and alerts passing through this watch.
  platform::Services services() { return watched_; }

  void speak(const platform::SpeechUtterance& utterance, platform::Duration handedOverAt) override;
  std::vector<std::string> takeNotices() override;
  void present(const std::shared_ptr<platform::AlertView>& alert) override;

  const std::string& lastSpoken() const { return lastSpoken_; }
  // The application's own notices (the game record cannot be kept), each taken once by the host.
  void addNotice(std::string notice) { notices_.push_back(std::move(notice)); }
  std::vector<std::string> takeApplicationNotices();
  // Called before each utterance is handed to speech: a number drawn is kept before it is heard.
  void setBeforeSpeaking(std::function<void()> hook) { beforeSpeaking_ = std::move(hook); }
  // The alerts shown and not yet answered, oldest first.
  std::vector<std::shared_ptr<platform::AlertView>> openAlerts() const;

 private:
  platform::Services host_;
  platform::Services watched_;
  std::string lastSpoken_;
  std::vector<std::string> notices_;
  std::function<void()> beforeSpeaking_;
  std::vector<std::shared_ptr<platform::AlertView>> shown_;
};

// The one screen as every host sees it: a snapshot to show, and the input a person gives.
class Screen : public ScreenInput {
 public:
  Screen(ViewController& controller, OutputWatch& outputs)
      : controller_(controller), outputs_(outputs) {}

  ScreenSnapshot snapshot() const;

  PressOutcome press(const std::string& title) override;
  PressOutcome tapAt(platform::Point point) override;
  bool answer(const std::string& buttonTitle) override;

  // Hands a line of the host's own (a claim's verdict) to the screen's synthesiser, as the game's
  // lines are: unless the screen speaks nothing (--silent).
  void speak(const std::string& line);
  // What the application has to tell the person (the game record cannot be kept), each notice
  // once: a host shows it where it shows its status, and on standard error.
  std::vector<std::string> takeNotices() { return outputs_.takeApplicationNotices(); }

  // Makes the screen just tall enough for what is laid out on it (with a small margin), so a
  // window spends no room on empty space. Nothing is moved: the layout stays as it was made.
  void fitToContent();

  // A host calls this when the screen is first on show and takes input: the application then
  // asks what it asks at launch (whether to resume an unfinished game). It runs once; an input
  // that comes first (a key pressed before the window's first frame) runs it before it is handled.
  void shown() {
    if (auto hook = std::exchange(whenShown_, nullptr)) hook();
  }
  // For the application: what to do when the screen is first shown, and after each input that
  // reached the screen (a press, a tap, an answer).
  void setWhenShown(std::function<void()> hook) { whenShown_ = std::move(hook); }
  void setAfterInput(std::function<void()> hook) { afterInput_ = std::move(hook); }

  // Where the claims checked on this screen are kept: the game record's recorder when the run
  // keeps its games, else none.
  void keepClaimsIn(GameRecorder* recorder) { claimRecorder_ = recorder; }
  GameRecorder* claimRecorder() const { return claimRecorder_; }

 private:
  PressOutcome inputDone(PressOutcome outcome);

  ViewController& controller_;
  OutputWatch& outputs_;
  std::function<void()> whenShown_;
  std::function<void()> afterInput_;
  GameRecorder* claimRecorder_ = nullptr;
};

}  // namespace app
