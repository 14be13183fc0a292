#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/audio/wav_writer.h"
#include "platform/speech.h"

namespace platform {

// Where live speech goes. `automatic` takes the sound server if one answers, else ALSA, else none.
enum class AudioOutput { automatic, pulse, alsa, none };

struct SpeechSetup {
  std::string voice;  // a voice as --list-voices shows it; empty for the default English voice
  AudioOutput audio = AudioOutput::automatic;
  bool liveSound = true;                  // false for runs whose clock is not the wall clock
  std::optional<std::string> recordPath;  // a WAV of the whole game as heard in the hall
};

struct VoiceInfo {
  std::string name;       // "English (Great Britain)"
  std::string languages;  // "en-gb en", as espeak-ng lists them
  std::string file;       // espeak-ng's identifier of the voice file, "gmw/en"
};

struct SpeechStartup {
  std::unique_ptr<SpeechEngine> engine;
  std::string outputDescription;      // "pulse", "alsa", "none", plus the recording if any
  std::vector<std::string> warnings;  // said once to the host, e.g. that no sound device answered
  // With a recording: its first write failure, readable after the engine is gone.
  std::shared_ptr<const RecordingOutcome> recording;
};

// A setup the speech cannot start with: an unknown voice, a recording that cannot be written.
class SpeechSetupError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Starts the speech engine for the process. Throws SpeechSetupError with a message for the host.
SpeechStartup startSpeech(const SpeechSetup& setup);

// The voices the engine knows, by name.
std::vector<VoiceInfo> listVoices();

}  // namespace platform
