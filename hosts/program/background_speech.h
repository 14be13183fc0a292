#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "hosts/program/speech_choice.h"

namespace program {

// The window's speech, started on another thread once the window has painted its first frame, so
// the window neither waits for espeak-ng nor shares the processor with its start. Neither `speak`
// nor `takeNotices` ever waits: a line handed over before the engine is up is kept with its
// hand-over time and passed on, in order, as soon as it is (it is heard late, never lost). What
// the start had to say (no sound device) comes as the engine's first notices.
class BackgroundSpeech : public platform::SpeechEngine {
 public:
  using FailureCheck = std::function<std::optional<std::string>()>;
  // Starts the speech; gives it and the warnings its start wrote, one a line.
  using Starter = std::function<std::pair<ChosenSpeech, std::string>()>;

  explicit BackgroundSpeech(Starter starter) : starter_(std::move(starter)) {}
  ~BackgroundSpeech() override;
  BackgroundSpeech(const BackgroundSpeech&) = delete;
  BackgroundSpeech& operator=(const BackgroundSpeech&) = delete;

  // Begins the start on its own thread; once only, later calls do nothing.
  void start();
  void speak(const platform::SpeechUtterance& utterance, platform::Duration handedOverAt) override;
  std::vector<std::string> takeNotices() override;
  // The recording's first failed write, readable after this engine is gone.
  FailureCheck recordingFailure() const {
    return [failure = failure_] { return (*failure)(); };
  }

 private:
  void started(std::pair<ChosenSpeech, std::string> result);

  Starter starter_;
  std::mutex mutex_;
  std::optional<ChosenSpeech> speech_;  // once the start is done
  std::vector<std::pair<platform::SpeechUtterance, platform::Duration>> waiting_;
  std::vector<std::string> notices_;
  std::shared_ptr<FailureCheck> failure_ =
      std::make_shared<FailureCheck>([] { return std::optional<std::string>(); });
  std::thread starting_;
};

// The window's speech and what starts it once the first frame is painted. It is started at once,
// before the window, when a voice is named (an unknown one must be refused before the window
// opens); with nothing to hear or record (--silent) espeak-ng is never started.
struct WindowSpeech {
  ChosenSpeech chosen;
  std::function<void()> start = [] {};
};
WindowSpeech chooseWindowSpeech(const ProgramOptions& options, std::ostream& errors);

}  // namespace program
