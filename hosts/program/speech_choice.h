#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "hosts/program/program_options.h"
#include "platform/speech.h"

namespace program {

// The voice of a run: the real speech engine when there is something to hear or record, and a
// line for the host to show about where the speech goes.
struct ChosenSpeech {
  std::unique_ptr<platform::SpeechEngine> engine;  // empty: nothing to hear or record
  std::string note;
  // The first write to the recording that failed, if any; ask once the engine is gone.
  std::function<std::optional<std::string>()> recordingFailure = [] {
    return std::optional<std::string>();
  };
};

// Starts the speech the options ask for. `liveSound` is false for runs whose clock is not the wall
// clock: they never play sound, and they start the engine only to record. An unknown voice or a
// recording that cannot be written is a UsageError; warnings (no sound device) go to `errors`,
// once.
ChosenSpeech chooseSpeech(const ProgramOptions& options, bool liveSound, std::ostream& errors);

// Sends the sound libraries' own messages to the system log instead of standard error. Called
// before any of them starts.
void keepSoundLibraryChatterOffTheScreen();

// The voices, one a line, for --list-voices.
std::string voiceList();

}  // namespace program
