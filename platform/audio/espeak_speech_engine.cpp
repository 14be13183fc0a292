#include "platform/audio/espeak_speech_engine.h"

#include <utility>

namespace platform {

EspeakSpeechEngine::EspeakSpeechEngine(std::unique_ptr<EspeakSynthesizer> synthesizer,
                                       std::unique_ptr<AudioSink> sink,
                                       std::chrono::milliseconds liveDrainBound)
    : synthesizer_(std::move(synthesizer)),
      sink_(std::move(sink)),
      liveDrainBound_(liveDrainBound),
      sampleRate_(synthesizer_->sampleRate()),
      worker_([this] { run(); }) {}

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

void EspeakSpeechEngine::speakOne(const Pending& pending) {
  try {
    sink_->beginUtterance(pending.handedOverAt);
    synthesizer_->synthesize(pending.text, pending.rate,
                             [this](std::span<const std::int16_t> pcm) { sink_->write(pcm); });
    sink_->endUtterance();
  } catch (const std::exception& failure) {
    std::lock_guard lock(mutex_);
    // The same failure on every line is told once, not once a line.
    if (lastError_ != failure.what()) notices_.emplace_back(failure.what());
    lastError_ = failure.what();
  }
}

void EspeakSpeechEngine::finishedOne() {
  {
    std::lock_guard lock(mutex_);
    ++written_;
  }
  idle_.notify_all();
}

}  // namespace platform
