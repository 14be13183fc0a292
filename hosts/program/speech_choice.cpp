#include "hosts/program/speech_choice.h"

#include <cstdlib>
#include <ostream>
#include <sstream>

#ifdef VORLIX_HAVE_SPEECH
#include "hosts/program/sound_module_loader.h"
#endif

namespace program {

void keepSoundLibraryChatterOffTheScreen() {
  // libpulse prints its own complaints ("shm.c: ftruncate() failed") on standard error, in the
  // middle of the terminal board and of our one-line messages; the system log is their place.
  // Whoever set libpulse's own logging variables keeps what they asked for.
  if (std::getenv("PULSE_LOG") == nullptr && std::getenv("PULSE_LOG_SYSLOG") == nullptr &&
      std::getenv("PULSE_LOG_JOURNAL") == nullptr && std::getenv("PULSE_LOG_FILE") == nullptr)
    ::setenv("PULSE_LOG_SYSLOG", "1", 0);
}

#ifdef VORLIX_HAVE_SPEECH

namespace {

platform::AudioOutput audioOutput(const std::string& name) {
  if (name == "pulse") return platform::AudioOutput::pulse;
  if (name == "alsa") return platform::AudioOutput::alsa;
  if (name == "none") return platform::AudioOutput::none;
  return platform::AudioOutput::automatic;
}

// The speech module; a missing or foreign one is the host's to hear about, like a wrong option.
const platform::SoundModule& sound() {
  try {
    return soundModule();
  } catch (const platform::SpeechSetupError& error) {
    throw UsageError(error.what());
  }
}

platform::SpeechStartup start(const platform::SpeechSetup& setup) {
  const platform::SoundModule& module = sound();
  try {
    return module.startSpeech(setup);
  } catch (const platform::SpeechSetupError& error) {
    throw UsageError(error.what());
  }
}

}  // namespace

ChosenSpeech chooseSpeech(const ProgramOptions& options, bool liveSound, std::ostream& errors) {
  // A silent screen hands nothing over: no sound device is looked for and, unless a recording is
  // asked for, espeak-ng is never started.
  if (options.screen.silent) {
    if (!options.recordPath) return {nullptr, "none (--silent)"};
    liveSound = false;
  }
  const platform::SpeechSetup setup{options.voice, audioOutput(options.audio), liveSound,
                                    options.recordPath};
  // With nothing to hear or record the engine would only burn time; the voice is still checked.
  if (!liveSound && !options.recordPath) {
    if (!options.voice.empty()) start(setup);
    return {nullptr, "none (a run on the virtual clock plays no sound)"};
  }
  platform::SpeechStartup startup = start(setup);
  std::string note = startup.outputDescription;
  for (const auto& warning : startup.warnings) {
    errors << "vorlix-caller: " << warning << '\n';
    note += " (" + warning + ")";
  }
  ChosenSpeech chosen{std::move(startup.engine), note};
  if (auto recording = startup.recording)
    chosen.recordingFailure = [recording] { return soundModule().recordingFailure(*recording); };
  return chosen;
}

// A header naming the columns, and the voice spoken with when --voice is not given marked.
std::string voiceList() {
  const platform::SoundModule& module = sound();
  const auto voices = module.listVoices();
  const auto defaultFile =
      module.resolveVoice(platform::kDefaultVoiceName, platform::VoiceCatalogue{voices, {}, {}});
  std::ostringstream list;
  list << "Voice (--voice takes the name or a language)  Languages\n";
  for (const auto& voice : voices) {
    list << voice.name << "  " << voice.languages;
    if (defaultFile && voice.file == *defaultFile) list << "  (default)";
    list << '\n';
  }
  return list.str();
}

#else

ChosenSpeech chooseSpeech(const ProgramOptions& options, bool, std::ostream&) {
  if (!options.voice.empty() || options.recordPath)
    throw UsageError("this build has no speech engine, so --voice and --record cannot be used");
  return {nullptr, "shown on the Said line (this build has no speech engine)"};
}

std::string voiceList() {
  return "This build has no speech engine, so it has no voices.\n";
}

#endif

}  // namespace program
