#pragma once

#include <string>

#include "platform/audio/wav_file_sink.h"

namespace platform {

// A WAV file of the game as the hall hears it: each utterance starts at its hand-over time on the
// run loop's clock or, when the one before is still playing then, right after it; silence fills
// the time between. The clock is read from the hand-over times only, so a game on a virtual clock
// records in the time it takes to synthesise.
class TimelineWavSink : public WavFileSink {
 public:
  using WavFileSink::WavFileSink;

  void beginUtterance(Duration handedOverAt) override;
};

}  // namespace platform
