#pragma once

#include <atomic>

#include "platform/audio/audio_sink.h"

struct pa_simple;

namespace platform {

// The sound server (PulseAudio, or PipeWire's pulse service) through the simple API. The stream is
// opened at start-up and kept open, so the first line of the game is not late.
class PulseSink : public AudioSink {
 public:
  // Throws AudioDeviceUnavailable when no server answers.
  explicit PulseSink(int sampleRate);
  ~PulseSink() override;
  PulseSink(const PulseSink&) = delete;
  PulseSink& operator=(const PulseSink&) = delete;

  void write(std::span<const std::int16_t> samples) override;
  void stopLive() override { stopped_ = true; }
  void finish() override;

 private:
  pa_simple* stream_ = nullptr;
  std::atomic<bool> stopped_{false};
  bool failed_ = false;
};

}  // namespace platform
