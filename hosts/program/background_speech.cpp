#include "hosts/program/background_speech.h"

#include <memory>
#include <sstream>

namespace program {

BackgroundSpeech::~BackgroundSpeech() {
  bool linesWaiting = false;
  {
    const std::lock_guard lock(mutex_);
    linesWaiting = !waiting_.empty();
  }
  if (linesWaiting) start();  // a recording gets every line, even one handed over so early
  if (starting_.joinable()) starting_.join();
  speech_.reset();  // the engine finishes its lines and is stopped here
}

void BackgroundSpeech::start() {
  const std::lock_guard lock(mutex_);
  if (starting_.joinable() || speech_) return;
  starting_ = std::thread([this] {
    try {
      started(starter_());
    } catch (const std::exception& error) {
      started({ChosenSpeech{}, std::string(error.what()) + '\n'});
    }
  });
}

void BackgroundSpeech::started(std::pair<ChosenSpeech, std::string> result) {
  const std::lock_guard lock(mutex_);
  speech_ = std::move(result.first);
  *failure_ = speech_->recordingFailure;
  std::istringstream lines(result.second);
  const std::string prefix = "vorlix-caller: ";
  for (std::string line; std::getline(lines, line);)
    notices_.push_back(line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : line);
  if (speech_->engine)
    for (const auto& [utterance, handedOverAt] : waiting_)
      speech_->engine->speak(utterance, handedOverAt);
  waiting_.clear();
}

void BackgroundSpeech::speak(const platform::SpeechUtterance& utterance,
                             platform::Duration handedOverAt) {
  {
    const std::lock_guard lock(mutex_);
    if (speech_) {
      if (speech_->engine) speech_->engine->speak(utterance, handedOverAt);
      return;
    }
    waiting_.emplace_back(utterance, handedOverAt);
  }
  start();
}

std::vector<std::string> BackgroundSpeech::takeNotices() {
  const std::lock_guard lock(mutex_);
  std::vector<std::string> notices = std::exchange(notices_, {});
  if (speech_ && speech_->engine)
    for (auto& notice : speech_->engine->takeNotices()) notices.push_back(std::move(notice));
  return notices;
}

WindowSpeech chooseWindowSpeech(const ProgramOptions& options, std::ostream& errors) {
  if (options.screen.silent || !options.voice.empty()) return {chooseSpeech(options, true, errors)};
  // The warnings of the start are the window's first notices.
  auto engine = std::make_unique<BackgroundSpeech>([options] {
    std::ostringstream warnings;
    ChosenSpeech speech = chooseSpeech(options, true, warnings);
    return std::make_pair(std::move(speech), warnings.str());
  });
  WindowSpeech window{ChosenSpeech{nullptr, "starting"}};
  window.chosen.recordingFailure = engine->recordingFailure();
  window.start = [background = engine.get()] { background->start(); };
  window.chosen.engine = std::move(engine);
  return window;
}

}  // namespace program
