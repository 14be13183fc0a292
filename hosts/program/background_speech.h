#pragma once

#include <functional>
#include <future>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "hosts/program/speech_choice.h"

namespace program {

// Speech started on another thread while the window is being made, so the window is painted
// without waiting for espeak-ng (tens of milliseconds). It speaks through the real engine once that
// is up: a line handed over before then (hardly possible: nobody has pressed Play yet) waits for
// it. What the start had to say (no sound device) comes as the engine's first notices.
class BackgroundSpeech : public platform::SpeechEngine {
 public:
  using FailureCheck = std::function<std::optional<std::string>()>;

  // `starting` gives the speech and the warnings its start wrote, one a line.
  explicit BackgroundSpeech(std::future<std::pair<ChosenSpeech, std::string>> starting)
      : starting_(std::move(starting)) {}
  ~BackgroundSpeech() override;

  void speak(const platform::SpeechUtterance& utterance, platform::Duration handedOverAt) override;
  std::vector<std::string> takeNotices() override;
  // The recording's first failed write, readable after this engine is gone.
  FailureCheck recordingFailure() const {
    return [failure = failure_] { return (*failure)(); };
  }

 private:
  platform::SpeechEngine* started();

  std::future<std::pair<ChosenSpeech, std::string>> starting_;
  std::optional<ChosenSpeech> speech_;
  std::vector<std::string> notices_;
  std::shared_ptr<FailureCheck> failure_ =
      std::make_shared<FailureCheck>([] { return std::optional<std::string>(); });
};

// The window's speech: started in the background, except when a voice is named (an unknown one
// must be refused before the window opens) or nothing is to be heard (--silent starts nothing).
ChosenSpeech chooseWindowSpeech(const ProgramOptions& options, std::ostream& errors);

}  // namespace program
