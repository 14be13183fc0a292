#pragma once

#include <memory>

#include "platform/audio/audio_sink.h"

namespace platform {

// Sends everything to two sinks, so live sound and a recording go together.
class TeeSink : public AudioSink {
 public:
  TeeSink(std::unique_ptr<AudioSink> first, std::unique_ptr<AudioSink> second)
      : first_(std::move(first)), second_(std::move(second)) {}

  void setNoticeReporter(NoticeReporter reporter) override;
  void warmUp() override;
  void beginUtterance(const UtteranceStart& start) override;
  void write(std::span<const std::int16_t> samples) override;
  void endUtterance() override;
  void stopLive() override;
  void finish() override;

 private:
  std::unique_ptr<AudioSink> first_;
  std::unique_ptr<AudioSink> second_;
};

}  // namespace platform
