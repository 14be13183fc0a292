#include "platform/audio/pulse_sink.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <string>

namespace platform {
namespace {

constexpr std::uint32_t kBufferMilliseconds = 200;
constexpr std::uint32_t kStartAfterMilliseconds = 20;

}  // namespace

PulseSink::PulseSink(int sampleRate) {
  pa_sample_spec format{};
  format.format = PA_SAMPLE_S16LE;
  format.rate = static_cast<std::uint32_t>(sampleRate);
  format.channels = 1;
  // The server's default buffer holds two seconds and starts playing only once it is full, which
  // would hold back a short line until the next arrives. A small buffer that starts playing after
  // a few milliseconds of sound puts each line in the hall as soon as it is synthesised.
  const std::uint32_t bytesPerMillisecond = format.rate * 2 / 1000;
  pa_buffer_attr buffering{};
  buffering.maxlength = static_cast<std::uint32_t>(-1);
  buffering.tlength = kBufferMilliseconds * bytesPerMillisecond;
  buffering.prebuf = kStartAfterMilliseconds * bytesPerMillisecond;
  buffering.minreq = static_cast<std::uint32_t>(-1);
  buffering.fragsize = static_cast<std::uint32_t>(-1);
  int error = 0;
  stream_ = pa_simple_new(nullptr, "Vorlix caller", PA_STREAM_PLAYBACK, nullptr, "Calling", &format,
                          nullptr, &buffering, &error);
  if (stream_ == nullptr)
    throw AudioDeviceUnavailable(std::string("the sound server did not answer (") +
                                 pa_strerror(error) + ")");
}

PulseSink::~PulseSink() {
  pa_simple_free(stream_);
}

void PulseSink::write(std::span<const std::int16_t> samples) {
  // After a failed write the server is gone; the game goes on in silence rather than retrying
  // on every block.
  if (stopped_ || failed_) return;
  int error = 0;
  if (pa_simple_write(stream_, samples.data(), samples.size_bytes(), &error) < 0) failed_ = true;
}

void PulseSink::finish() {
  int error = 0;
  if (failed_) return;
  if (stopped_)
    pa_simple_flush(stream_, &error);
  else
    pa_simple_drain(stream_, &error);
}

}  // namespace platform
