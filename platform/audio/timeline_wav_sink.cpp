#include "platform/audio/timeline_wav_sink.h"

#include <algorithm>

namespace platform {

void TimelineWavSink::beginUtterance(const UtteranceStart& start) {
  const std::int64_t nanoseconds = std::max<std::int64_t>(start.startAt.count(), 0);
  // Counted in microseconds and rounded to the nearest sample: days of play stay within 64 bits.
  const auto startSample =
      static_cast<std::uint64_t>((nanoseconds / 1000 * writer_.sampleRate() + 500'000) / 1'000'000);
  if (startSample > writer_.samplesWritten())
    writer_.appendSilence(startSample - writer_.samplesWritten());
}

}  // namespace platform
