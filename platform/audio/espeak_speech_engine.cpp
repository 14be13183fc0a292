#include "platform/audio/espeak_speech_engine.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace platform {

EspeakSpeechEngine::EspeakSpeechEngine(std::unique_ptr<EspeakSynthesizer> synthesizer,
                                       std::unique_ptr<AudioSink> sink,
                                       std::chrono::milliseconds liveDrainBound)
    : synthesizer_(std::move(synthesizer)),
      sink_(std::move(sink)),
      liveDrainBound_(liveDrainBound),
      sampleRate_(synthesizer_->sampleRate()),
      worker_([this] { run(); }) {
  sink_->setNoticeReporter([this](const std::string& notice) { tell(notice); });
}

EspeakSpeechEngine::~EspeakSpeechEngine() {
  std::unique_lock lock(mutex_);
  closing_ = true;
  wakeWorker_.notify_one();
  const bool drained =
      idle_.wait_for(lock, liveDrainBound_, [this] { return written_ == handedOver_; });
  lock.unlock();
  if (!drained) sink_->stopLive();
  worker_.join();
  sink_->finish();
}

void EspeakSpeechEngine::speak(const SpeechUtterance& utterance, Duration handedOverAt) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back({utterance.speechString, utterance.rate, handedOverAt});
    ++handedOver_;
  }
  wakeWorker_.notify_one();
}

void EspeakSpeechEngine::waitUntilIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return written_ == handedOver_; });
}

std::optional<std::string> EspeakSpeechEngine::lastError() const {
  std::lock_guard lock(mutex_);
  return lastError_;
}

std::vector<std::string> EspeakSpeechEngine::takeNotices() {
  std::lock_guard lock(mutex_);
  return std::exchange(notices_, {});
}

void EspeakSpeechEngine::run() {
  sink_->warmUp();
  while (std::optional<Pending> pending = nextPending()) {
    speakOne(*pending);
    finishedOne();
  }
}

std::optional<EspeakSpeechEngine::Pending> EspeakSpeechEngine::nextPending() {
  std::unique_lock lock(mutex_);
  wakeWorker_.wait(lock, [this] { return !queue_.empty() || closing_; });
  if (queue_.empty()) return std::nullopt;
  Pending next = std::move(queue_.front());
  queue_.pop_front();
  return next;
}

float EspeakSpeechEngine::catchUpPace(Duration lateness) {
  const auto steps = lateness / kCatchUpStepEvery;
  return 1.0f +
         kCatchUpStep * static_cast<float>(std::clamp<std::int64_t>(steps, 0, kCatchUpSteps));
}

UtteranceStart EspeakSpeechEngine::startOf(Duration handedOverAt) const {
  const Duration gap = previousInAGroup_ ? kGapAfterAGroup : kGapBetweenLines;
  if (!previousLineEnd_ || handedOverAt >= *previousLineEnd_ + gap) return {handedOverAt, 0};
  const Duration startAt = *previousLineEnd_ + gap;
  const Duration liveFrom = std::max(handedOverAt, *previousLineEnd_);
  const auto leadIn = std::chrono::duration_cast<std::chrono::microseconds>(startAt - liveFrom);
  return {startAt, static_cast<std::size_t>(leadIn.count() * sampleRate_ / 1'000'000)};
}

namespace {

// The sentences of a line, each with its closing mark: "Welcome! Game is about to start!" is
// "Welcome!" and "Game is about to start!".
std::vector<std::string> sentencesOf(const std::string& text) {
  std::vector<std::string> sentences;
  std::size_t begin = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool closes = (text[i] == '.' || text[i] == '!' || text[i] == '?') &&
                        (i + 1 == text.size() || text[i + 1] == ' ');
    if (!closes) continue;
    sentences.push_back(text.substr(begin, i + 1 - begin));
    begin = text.find_first_not_of(' ', i + 1);
    if (begin == std::string::npos) break;
    i = begin - 1;
  }
  if (begin != std::string::npos && begin < text.size()) sentences.push_back(text.substr(begin));
  return sentences;
}

}  // namespace

bool EspeakSpeechEngine::nextLineHandedOverBy(Duration at, std::chrono::milliseconds graceToCome) {
  std::unique_lock lock(mutex_);
  const auto waiting = [&] { return !queue_.empty() && queue_.front().handedOverAt <= at; };
  if (graceToCome.count() > 0)
    wakeWorker_.wait_for(lock, graceToCome, [&] { return waiting() || closing_; });
  return waiting();
}

void EspeakSpeechEngine::speakOne(const Pending& pending) {
  const UtteranceStart start = startOf(pending.handedOverAt);
  float pace = catchUpPace(start.startAt - pending.handedOverAt);
  const bool backToBack =
      previousLineEnd_ && *previousLineEnd_ + kBackToBackWithin > pending.handedOverAt;
  const bool startsLater = start.startAt - pending.handedOverAt >= kGapBetweenLines;
  const bool inAGroup =
      backToBack &&
      (previousHandedOverAt_ == pending.handedOverAt ||
       nextLineHandedOverBy(pending.handedOverAt,
                            startsLater ? kSameMomentGrace : std::chrono::milliseconds{0}));
  if (inAGroup) pace = std::max(pace, 1.0f + kCatchUpSteps * kCatchUpStep);
  const float rate = pending.rate * pace;
  const bool opening = start.startAt == pending.handedOverAt;
  const std::vector<std::string> parts =
      opening ? sentencesOf(pending.text) : std::vector<std::string>{pending.text};
  std::size_t samples = 0;
  const auto heardUntil = [&] {
    return start.startAt + secondsToDuration(static_cast<double>(samples) / sampleRate_);
  };
  const auto send = [this, &samples](std::span<const std::int16_t> pcm) {
    samples += pcm.size();
    sink_->write(pcm);
  };
  try {
    sink_->beginUtterance(start);
    for (std::size_t i = 0; i < parts.size(); ++i) {
      if (i > 0) {
        if (nextLineHandedOverBy(heardUntil())) break;
        const std::vector<std::int16_t> gap(static_cast<std::size_t>(
            std::chrono::duration<double>(kGapBetweenLines).count() * sampleRate_));
        send(gap);
      }
      synthesizer_->synthesize(parts[i], rate, send, false);
    }
    sink_->endUtterance();
  } catch (const std::exception& failure) {
    std::lock_guard lock(mutex_);
    // The same failure on every line is told once, not once a line.
    if (lastError_ != failure.what()) notices_.emplace_back(failure.what());
    lastError_ = failure.what();
  }
  previousLineEnd_ = heardUntil();
  previousHandedOverAt_ = pending.handedOverAt;
  previousInAGroup_ = inAGroup;
}

void EspeakSpeechEngine::tell(const std::string& notice) {
  std::lock_guard lock(mutex_);
  notices_.push_back(notice);
}

void EspeakSpeechEngine::finishedOne() {
  {
    std::lock_guard lock(mutex_);
    ++written_;
  }
  idle_.notify_all();
}

}  // namespace platform
