#include "platform/audio/audio_sink.h"

#include <algorithm>
#include <array>

namespace platform {

void writeSilence(AudioSink& sink, std::size_t sampleCount) {
  static constexpr std::array<std::int16_t, 1024> kSilence{};
  while (sampleCount > 0) {
    const std::size_t block = std::min(sampleCount, kSilence.size());
    sink.write(std::span(kSilence.data(), block));
    sampleCount -= block;
  }
}

}  // namespace platform
