#pragma once

#include <string>

#include "platform/audio/wav_file_sink.h"

namespace platform {

// A WAV file of the game as the hall hears it: each utterance starts at its start time on the
// run loop's clock (its hand-over, or a short gap after the line before when that is still being
// heard then); silence fills the time between. The clock is read from the hand-over times only, so
// a game on a virtual clock records in the time it takes to synthesise.
class TimelineWavSink : public WavFileSink {
 public:
  using WavFileSink::WavFileSink;

  void beginUtterance(const UtteranceStart& start) override;
};

}  // namespace platform
