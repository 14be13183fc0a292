#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "hosts/program/program_options.h"
#include "platform/speech.h"

namespace program {

// The voice of a run: the real speech engine when there is something to hear or record, and a
// line for the host to show about where the speech goes.
struct ChosenSpeech {
  std::unique_ptr<platform::SpeechEngine> engine;  // empty: nothing to hear or record
  std::string note;
};

// Starts the speech the options ask for. `liveSound` is false for runs whose clock is not the wall
// clock: they never play sound, and they start the engine only to record. An unknown voice or a
// recording that cannot be written is a UsageError; warnings (no sound device) go to `errors`,
// once.
ChosenSpeech chooseSpeech(const ProgramOptions& options, bool liveSound, std::ostream& errors);

// The voices, one a line, for --list-voices.
std::string voiceList();

}  // namespace program
