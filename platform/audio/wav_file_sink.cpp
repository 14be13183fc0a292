#include "platform/audio/wav_file_sink.h"

namespace platform {

void WavFileSink::write(std::span<const std::int16_t> samples) {
  writer_.append(samples);
}

void WavFileSink::endUtterance() {
  writer_.commit();
}

void WavFileSink::finish() {
  writer_.commit();
}

}  // namespace platform
