#pragma once

#include <string>

#include "platform/audio/audio_sink.h"
#include "platform/audio/wav_writer.h"

namespace platform {

// A WAV file of the utterances back to back, as synthesised, with no time between them.
class WavFileSink : public AudioSink {
 public:
  WavFileSink(const std::string& path, int sampleRate,
              std::uint64_t largestData = WavWriter::kLargestData)
      : writer_(path, sampleRate, largestData) {}

  void write(std::span<const std::int16_t> samples) override;
  void endUtterance() override;
  void finish() override;

  std::shared_ptr<const RecordingOutcome> outcome() const { return writer_.outcome(); }

 protected:
  WavWriter writer_;
};

}  // namespace platform
