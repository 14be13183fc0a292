#include "platform/audio/speech_setup.h"

#include "platform/audio/alsa_sink.h"
#include "platform/audio/espeak_speech_engine.h"
#include "platform/audio/espeak_synthesizer.h"
#include "platform/audio/null_sink.h"
#include "platform/audio/pulse_sink.h"
#include "platform/audio/tee_sink.h"
#include "platform/audio/timeline_wav_sink.h"

namespace platform {
namespace {

constexpr const char* kNoDeviceWarning = "No sound device: the caller goes on without sound";

struct LiveOutput {
  std::unique_ptr<AudioSink> sink;
  std::string name;
};

LiveOutput openPulse(int sampleRate) {
  return {std::make_unique<PulseSink>(sampleRate), "pulse"};
}
LiveOutput openAlsa(int sampleRate) {
  return {std::make_unique<AlsaSink>(sampleRate), "alsa"};
}
LiveOutput noOutput() {
  return {std::make_unique<NullSink>(), "none"};
}

// The output asked for, or none with one warning when it cannot be opened: a missing speaker
// never stops a game.
LiveOutput openLiveOutput(const SpeechSetup& setup, int sampleRate,
                          std::vector<std::string>& warnings) {
  if (!setup.liveSound || setup.audio == AudioOutput::none) return noOutput();
  try {
    if (setup.audio == AudioOutput::pulse) return openPulse(sampleRate);
    if (setup.audio == AudioOutput::alsa) return openAlsa(sampleRate);
  } catch (const AudioDeviceUnavailable& failure) {
    warnings.push_back(std::string(kNoDeviceWarning) + " (" + failure.what() + ")");
    return noOutput();
  }
  try {
    return openPulse(sampleRate);
  } catch (const AudioDeviceUnavailable&) {
  }
  try {
    return openAlsa(sampleRate);
  } catch (const AudioDeviceUnavailable&) {
  }
  warnings.emplace_back(kNoDeviceWarning);
  return noOutput();
}

}  // namespace

SpeechStartup startSpeech(const SpeechSetup& setup) {
  auto synthesizer = std::make_unique<EspeakSynthesizer>(setup.voice);
  const int sampleRate = synthesizer->sampleRate();
  SpeechStartup startup;
  LiveOutput live = openLiveOutput(setup, sampleRate, startup.warnings);
  std::unique_ptr<AudioSink> sink = std::move(live.sink);
  startup.outputDescription = live.name;
  if (setup.recordPath) {
    auto recording = std::make_unique<TimelineWavSink>(*setup.recordPath, sampleRate);
    startup.recording = recording->outcome();
    sink = std::make_unique<TeeSink>(std::move(sink), std::move(recording));
    startup.outputDescription += ", recording to " + *setup.recordPath;
  }
  startup.engine = std::make_unique<EspeakSpeechEngine>(std::move(synthesizer), std::move(sink));
  return startup;
}

std::vector<VoiceInfo> listVoices() {
  return EspeakSynthesizer::voices();
}

}  // namespace platform
