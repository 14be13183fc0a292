#include "platform/audio/alsa_sink.h"

#include <alsa/asoundlib.h>

#include <string>

namespace platform {
namespace {

constexpr unsigned kLatencyMicroseconds = 100'000;

// ALSA prints its own complaints to standard error, which would garble a terminal screen; the
// failure is reported through the exception instead.
void quietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

AlsaSink::AlsaSink(int sampleRate) {
  snd_lib_error_set_handler(quietAlsaErrors);
  int status = snd_pcm_open(&device_, "default", SND_PCM_STREAM_PLAYBACK, 0);
  if (status == 0)
    status = snd_pcm_set_params(device_, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                                static_cast<unsigned>(sampleRate), 1, kLatencyMicroseconds);
  if (status < 0) {
    if (device_ != nullptr) snd_pcm_close(device_);
    throw AudioDeviceUnavailable(std::string("no ALSA sound device (") + snd_strerror(status) +
                                 ")");
  }
}

AlsaSink::~AlsaSink() {
  snd_pcm_close(device_);
}

void AlsaSink::beginUtterance(const UtteranceStart& start) {
  writeSilence(*this, start.leadInSamples);
}

void AlsaSink::write(std::span<const std::int16_t> samples) {
  while (!samples.empty() && !stopped_ && !failed_) {
    snd_pcm_sframes_t written = snd_pcm_writei(device_, samples.data(), samples.size());
    if (written < 0) written = snd_pcm_recover(device_, static_cast<int>(written), 1);
    if (written < 0) {
      failed_ = true;  // the device is gone; the game goes on in silence
      return;
    }
    samples = samples.subspan(static_cast<std::size_t>(written));
  }
}

void AlsaSink::finish() {
  if (failed_) return;
  if (stopped_)
    snd_pcm_drop(device_);
  else
    snd_pcm_drain(device_);
}

}  // namespace platform
