#include "platform/audio/espeak_speech_engine.h"

#include <algorithm>
#include <utility>

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
  if (!previousLineEnd_ || handedOverAt >= *previousLineEnd_ + kGapBetweenLines)
    return {handedOverAt, 0};
  const Duration startAt = *previousLineEnd_ + kGapBetweenLines;
  const Duration liveFrom = std::max(handedOverAt, *previousLineEnd_);
  const auto leadIn = std::chrono::duration_cast<std::chrono::microseconds>(startAt - liveFrom);
  return {startAt, static_cast<std::size_t>(leadIn.count() * sampleRate_ / 1'000'000)};
}

void EspeakSpeechEngine::speakOne(const Pending& pending) {
  const UtteranceStart start = startOf(pending.handedOverAt);
  std::size_t samples = 0;
  try {
    sink_->beginUtterance(start);
    synthesizer_->synthesize(
        pending.text, pending.rate * catchUpPace(start.startAt - pending.handedOverAt),
        [this, &samples](std::span<const std::int16_t> pcm) {
          samples += pcm.size();
          sink_->write(pcm);
        },
        false);
    sink_->endUtterance();
  } catch (const std::exception& failure) {
    std::lock_guard lock(mutex_);
    // The same failure on every line is told once, not once a line.
    if (lastError_ != failure.what()) notices_.emplace_back(failure.what());
    lastError_ = failure.what();
  }
  previousLineEnd_ = start.startAt + secondsToDuration(static_cast<double>(samples) / sampleRate_);
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
