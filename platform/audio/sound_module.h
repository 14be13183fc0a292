#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/speech_setup.h"
#include "platform/audio/voice_catalogue.h"

namespace platform {

// The speech back end as the program sees it when espeak-ng and the sound outputs are built as a
// module of their own, loaded the first time the program speaks or lists voices: the sound stack
// is some twenty libraries whose loading would otherwise delay every launch, and a silent run
// never needs it. The module hands out this table.
struct SoundModule {
  SpeechStartup (*startSpeech)(const SpeechSetup& setup);
  std::vector<VoiceInfo> (*listVoices)();
  std::optional<std::string> (*resolveVoice)(std::string_view asked,
                                             const VoiceCatalogue& catalogue);
  std::optional<std::string> (*recordingFailure)(const RecordingOutcome& outcome);
};

// The module's file, beside the program, and the one symbol it exports.
inline constexpr const char* kSoundModuleFile = "libvorlix-sound.so";
inline constexpr const char* kSoundModuleEntry = "vorlix_sound_module";

}  // namespace platform

extern "C" const platform::SoundModule* vorlix_sound_module();
