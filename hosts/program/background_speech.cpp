#include "hosts/program/background_speech.h"

#include <memory>
#include <sstream>

namespace program {

BackgroundSpeech::~BackgroundSpeech() {
  started();  // the engine finishes its lines and is stopped here, not on the starting thread
  speech_.reset();
}

platform::SpeechEngine* BackgroundSpeech::started() {
  if (!speech_ && starting_.valid()) {
    try {
      auto [speech, warnings] = starting_.get();
      speech_ = std::move(speech);
      *failure_ = speech_->recordingFailure;
      std::istringstream lines(warnings);
      const std::string prefix = "vorlix-caller: ";
      for (std::string line; std::getline(lines, line);)
        notices_.push_back(line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line);
    } catch (const std::exception& error) {
      speech_ = ChosenSpeech{};
      notices_.push_back(error.what());
    }
  }
  return speech_ ? speech_->engine.get() : nullptr;
}

void BackgroundSpeech::speak(const platform::SpeechUtterance& utterance,
                             platform::Duration handedOverAt) {
  if (auto* engine = started()) engine->speak(utterance, handedOverAt);
}

// Never waits: until the engine is up there is nothing to tell.
std::vector<std::string> BackgroundSpeech::takeNotices() {
  if (!speech_ && starting_.valid() &&
      starting_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
    return {};
  auto* engine = started();
  std::vector<std::string> notices = std::move(notices_);
  notices_.clear();
  if (engine != nullptr)
    for (auto& notice : engine->takeNotices()) notices.push_back(std::move(notice));
  return notices;
}

ChosenSpeech chooseWindowSpeech(const ProgramOptions& options, std::ostream& errors) {
  if (options.screen.silent || !options.voice.empty()) return chooseSpeech(options, true, errors);
  (void)errors;  // the warnings of the start are the window's first notices
  auto starting = std::async(std::launch::async, [options] {
    std::ostringstream warnings;
    ChosenSpeech speech = chooseSpeech(options, true, warnings);
    return std::make_pair(std::move(speech), warnings.str());
  });
  auto engine = std::make_unique<BackgroundSpeech>(std::move(starting));
  ChosenSpeech chosen{nullptr, "starting"};
  chosen.recordingFailure = engine->recordingFailure();
  chosen.engine = std::move(engine);
  return chosen;
}

}  // namespace program
