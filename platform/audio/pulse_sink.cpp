#include "platform/audio/pulse_sink.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <utility>

namespace platform {
namespace {

constexpr std::uint32_t kBufferMilliseconds = 200;
constexpr std::uint32_t kStartAfterMilliseconds = 20;
constexpr std::uint32_t kFirstLineLeadMicroseconds = 5000;

}  // namespace

PulseSink::PulseSink(int sampleRate) : sampleRate_(sampleRate) {
  const std::string failure = connect();
  if (stream_ == nullptr)
    throw AudioDeviceUnavailable("the sound server did not answer (" + failure + ")");
}

PulseSink::~PulseSink() {
  if (stream_ != nullptr) pa_simple_free(stream_);
}

std::string PulseSink::connect() {
  pa_sample_spec format{};
  format.format = PA_SAMPLE_S16LE;
  format.rate = static_cast<std::uint32_t>(sampleRate_);
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
  lastAttempt_ = std::chrono::steady_clock::now();
  stream_ = pa_simple_new(nullptr, "Vorlix caller", PA_STREAM_PLAYBACK, nullptr, "Calling", &format,
                          nullptr, &buffering, &error);
  return stream_ == nullptr ? pa_strerror(error) : "";
}

void PulseSink::warmUp() {
  // A server whose sink has been idle can take a second or more to start a new stream (a null
  // sink sleeps up to two seconds between renders); a line written before then would play late.
  // A little silence written now starts the stream while nothing waits for it.
  writeSilence(*this, static_cast<std::size_t>(sampleRate_) * kBufferMilliseconds / 1000);
  freshStream_ = true;
}

void PulseSink::beginUtterance(const UtteranceStart& start) {
  if (stopped_) return;
  if (stream_ == nullptr && std::chrono::steady_clock::now() - lastAttempt_ >= kReconnectInterval &&
      connect().empty()) {
    warmUp();
    tell("Sound is back");
  }
  // The first line a stream plays after starting loses its first few milliseconds (the server
  // starts reading before they arrive); a little silence in front of it is lost instead.
  if (std::exchange(freshStream_, false))
    writeSilence(*this,
                 static_cast<std::size_t>(sampleRate_) * kFirstLineLeadMicroseconds / 1'000'000);
  writeSilence(*this, start.leadInSamples);
}

void PulseSink::write(std::span<const std::int16_t> samples) {
  if (stream_ == nullptr || stopped_) return;
  int error = 0;
  if (pa_simple_write(stream_, samples.data(), samples.size_bytes(), &error) < 0)
    lose(pa_strerror(error));
}

void PulseSink::finish() {
  if (stream_ == nullptr) return;
  int error = 0;
  if (stopped_)
    pa_simple_flush(stream_, &error);
  else
    pa_simple_drain(stream_, &error);
}

void PulseSink::lose(const std::string& reason) {
  pa_simple_free(stream_);
  stream_ = nullptr;
  lastAttempt_ = std::chrono::steady_clock::now();
  tell("Sound lost: the sound server stopped answering (" + reason +
       "); the game goes on and speech returns with the server");
}

void PulseSink::tell(const std::string& notice) {
  if (report_) report_(notice);
}

}  // namespace platform
