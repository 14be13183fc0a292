#include "platform/audio/sound_module.h"

namespace {

std::optional<std::string> recordingFailure(const platform::RecordingOutcome& outcome) {
  return outcome.failure();
}

const platform::SoundModule kModule{&platform::startSpeech, &platform::listVoices,
                                    &platform::resolveVoice, &recordingFailure};

}  // namespace

extern "C" __attribute__((visibility("default"))) const platform::SoundModule*
vorlix_sound_module() {
  return &kModule;
}
