#pragma once

#include "platform/audio/audio_sink.h"

namespace platform {

// No sound at all: for a machine without a sound device and for scripted runs with no recording.
class NullSink : public AudioSink {
 public:
  void write(std::span<const std::int16_t>) override {}
};

}  // namespace platform
