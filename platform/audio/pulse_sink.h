#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include "platform/audio/audio_sink.h"

struct pa_simple;

namespace platform {

// The sound server (PulseAudio, or PipeWire's pulse service) through the simple API. The stream is
// opened at start-up and kept open, so the first line of the game is not late.
//
// A server that goes away mid-game costs the hall its sound, never the game: the sink reports the
// loss once and drops what it is given. At the start of each later line, at most once per
// `kReconnectInterval`, it tries the server again; once it answers, speech goes on from that line
// and the sink reports that the sound is back. Everything runs on the speech worker, so a slow or
// missing server never holds up the game.
class PulseSink : public AudioSink {
 public:
  static constexpr std::chrono::milliseconds kReconnectInterval{1000};

  // Throws AudioDeviceUnavailable when no server answers.
  explicit PulseSink(int sampleRate);
  ~PulseSink() override;
  PulseSink(const PulseSink&) = delete;
  PulseSink& operator=(const PulseSink&) = delete;

  void setNoticeReporter(NoticeReporter reporter) override { report_ = std::move(reporter); }
  void warmUp() override;
  void beginUtterance(const UtteranceStart& start) override;
  void write(std::span<const std::int16_t> samples) override;
  void stopLive() override { stopped_ = true; }
  void finish() override;

 private:
  // Opens the stream; on failure leaves it closed and returns the server's reason.
  std::string connect();
  void lose(const std::string& reason);
  void tell(const std::string& notice);

  const int sampleRate_;
  pa_simple* stream_ = nullptr;
  std::atomic<bool> stopped_{false};
  bool freshStream_ = false;  // warmed up, and no line played yet
  std::chrono::steady_clock::time_point lastAttempt_{};
  NoticeReporter report_;
};

}  // namespace platform
