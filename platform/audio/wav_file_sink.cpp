#include "platform/audio/wav_file_sink.h"

#include "platform/audio/espeak_synthesizer.h"

namespace platform {

void WavFileSink::write(std::span<const std::int16_t> samples) {
  writer_.append(samples);
}

void WavFileSink::endUtterance() {
  writer_.commit();
}

void WavFileSink::finish() {
  // The engine finishes its sinks while shutting down, where nobody could catch a failure: the
  // writer's outcome keeps it for the host.
  try {
    writer_.commit();
  } catch (const SpeechError&) {
  }
}

}  // namespace platform
