#pragma once

#include <atomic>

#include "platform/audio/audio_sink.h"

struct _snd_pcm;

namespace platform {

// The sound card through ALSA's default device, opened at start-up and kept open.
class AlsaSink : public AudioSink {
 public:
  // Throws AudioDeviceUnavailable when there is no device to open.
  explicit AlsaSink(int sampleRate);
  ~AlsaSink() override;
  AlsaSink(const AlsaSink&) = delete;
  AlsaSink& operator=(const AlsaSink&) = delete;

  void beginUtterance(const UtteranceStart& start) override;
  void write(std::span<const std::int16_t> samples) override;
  void stopLive() override { stopped_ = true; }
  void finish() override;

 private:
  _snd_pcm* device_ = nullptr;
  std::atomic<bool> stopped_{false};
  bool failed_ = false;
};

}  // namespace platform
