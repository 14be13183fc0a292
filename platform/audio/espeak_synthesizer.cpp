#include "platform/audio/espeak_synthesizer.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <mutex>

#include "platform/audio/voice_catalogue.h"
#include "platform/message_text.h"

namespace platform {
namespace {

constexpr const char* kDefaultVoice = "en";
constexpr int kNormalWordsPerMinute = 175;
constexpr int kSlowestWordsPerMinute = 80;
constexpr int kFastestWordsPerMinute = 450;

// What one synthesis call carries through the library to the PCM callback.
struct SynthesisContext {
  const EspeakSynthesizer::PcmReceiver* receiver;
  std::exception_ptr failure;
};

// The library calls this with each block of PCM; an exception must not cross the C library, so it
// is kept and synthesis is told to stop.
int onSynthesizedPcm(short* wav, int sampleCount, espeak_EVENT* events) {
  if (wav == nullptr || sampleCount <= 0 || events == nullptr) return 0;
  auto* context = static_cast<SynthesisContext*>(events->user_data);
  try {
    (*context->receiver)(std::span<const std::int16_t>(wav, static_cast<std::size_t>(sampleCount)));
    return 0;
  } catch (...) {
    context->failure = std::current_exception();
    return 1;
  }
}

std::string languagesOf(const espeak_VOICE& voice) {
  // A list of (priority byte, language name, zero byte), closed by an empty name.
  std::string joined;
  for (const char* entry = voice.languages; entry != nullptr && *entry != '\0';) {
    const char* name = entry + 1;
    if (!joined.empty()) joined += ' ';
    joined += name;
    entry = name + std::char_traits<char>::length(name) + 1;
  }
  return joined;
}

// The library's globals are started once, on first use, and kept until the process ends: stopping
// them (espeak_ng_Terminate) hangs in espeak-ng 1.51 waiting for its own internal thread, and a
// restart after it is not supported. Every call into the library is made under `mutex`, so
// listing voices cannot race with synthesis.
struct Library {
  std::mutex mutex;
  bool started = false;
  bool synthesizerAlive = false;
  int sampleRate = 0;
};

Library& library() {
  static Library instance;
  return instance;
}

std::string statusText(espeak_ng_STATUS status) {
  char buffer[256] = {};
  espeak_ng_GetStatusCodeMessage(status, buffer, sizeof buffer);
  return buffer[0] != '\0' ? std::string(buffer) : "error code " + std::to_string(status);
}

// Callers hold the library's mutex.
void ensureLibraryStarted() {
  Library& lib = library();
  if (lib.started) return;
  espeak_ng_InitializePath(nullptr);
  espeak_ng_ERROR_CONTEXT context = nullptr;
  espeak_ng_STATUS status = espeak_ng_Initialize(&context);
  espeak_ng_ClearErrorContext(&context);
  if (status == ENS_OK) status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
  if (status != ENS_OK)
    throw SpeechSetupError("The speech engine espeak-ng could not start: " + statusText(status));
  espeak_SetSynthCallback(onSynthesizedPcm);
  lib.sampleRate = espeak_ng_GetSampleRate();
  lib.started = true;
}

// espeak-ng prints what it thinks of the files it loads ("Full dictionary is not installed for
// 'be'") on standard error, in the middle of the host's screen or messages. While it loads, that
// output goes nowhere. Loading happens on the main thread before the speech worker starts.
class EspeakChatterSilenced {
 public:
  EspeakChatterSilenced() : saved_(::dup(STDERR_FILENO)) {
    std::fflush(stderr);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && nowhere >= 0) ::dup2(nowhere, STDERR_FILENO);
    if (nowhere >= 0) ::close(nowhere);
  }
  ~EspeakChatterSilenced() {
    std::fflush(stderr);
    if (saved_ < 0) return;
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
  }
  EspeakChatterSilenced(const EspeakChatterSilenced&) = delete;
  EspeakChatterSilenced& operator=(const EspeakChatterSilenced&) = delete;

 private:
  int saved_;
};

std::vector<VoiceInfo> listed(const espeak_VOICE* selector) {
  std::vector<VoiceInfo> found;
  for (const espeak_VOICE** voice = espeak_ListVoices(const_cast<espeak_VOICE*>(selector));
       voice != nullptr && *voice != nullptr; ++voice)
    found.push_back({(*voice)->name, languagesOf(**voice), (*voice)->identifier});
  return found;
}

// Callers hold the library's mutex, and have started it.
VoiceCatalogue catalogue() {
  espeak_VOICE variants{};
  variants.languages = "variant";
  const char* dataDirectory = nullptr;
  espeak_Info(&dataDirectory);
  return {listed(nullptr), listed(&variants), dataDirectory != nullptr ? dataDirectory : ""};
}

}  // namespace

int wordsPerMinuteForRate(float rate) {
  const double wordsPerMinute = std::round(static_cast<double>(rate) * 2.0 * kNormalWordsPerMinute);
  return std::clamp(static_cast<int>(wordsPerMinute), kSlowestWordsPerMinute,
                    kFastestWordsPerMinute);
}

EspeakSynthesizer::EspeakSynthesizer(const std::string& voice)
    : voice_(voice.empty() ? kDefaultVoice : voice) {
  Library& lib = library();
  std::lock_guard lock(lib.mutex);
  if (lib.synthesizerAlive)
    throw SpeechSetupError("The speech engine is already in use in this program");
  ensureLibraryStarted();
  // Only a voice espeak-ng lists is handed to it: it would read any file named to it as a voice,
  // and print the lines it does not understand.
  const std::optional<std::string> file = resolveVoice(voice_, catalogue());
  if (!file)
    throw SpeechSetupError("Unknown voice \"" + printableExcerpt(voice_) +
                           "\": espeak-ng has no voice of that name (--list-voices lists them)");
  const espeak_ng_STATUS status = [&] {
    EspeakChatterSilenced quiet;
    return espeak_ng_SetVoiceByName(file->c_str());
  }();
  if (status != ENS_OK)
    throw SpeechSetupError("The voice \"" + printableExcerpt(voice_) +
                           "\" could not be loaded: " + statusText(status));
  voiceFile_ = *file;
  sampleRate_ = lib.sampleRate;
  lib.synthesizerAlive = true;
}

EspeakSynthesizer::~EspeakSynthesizer() {
  Library& lib = library();
  std::lock_guard lock(lib.mutex);
  lib.synthesizerAlive = false;
}

void EspeakSynthesizer::selectRate(float rate) {
  const int wordsPerMinute = wordsPerMinuteForRate(rate);
  if (wordsPerMinute == currentWordsPerMinute_) return;
  const espeak_ng_STATUS status = espeak_ng_SetParameter(espeakRATE, wordsPerMinute, 0);
  if (status != ENS_OK) throw SpeechError("The speaking rate was refused: " + statusText(status));
  currentWordsPerMinute_ = wordsPerMinute;
}

void EspeakSynthesizer::synthesize(const std::string& text, float rate, const PcmReceiver& receiver,
                                   bool closingPause) {
  std::lock_guard lock(library().mutex);
  selectRate(rate);
  SynthesisContext context{&receiver, nullptr};
  const unsigned flags = espeakCHARS_UTF8 | (closingPause ? espeakENDPAUSE : 0u);
  const espeak_ng_STATUS status = espeak_ng_Synthesize(text.c_str(), text.size() + 1, 0,
                                                       POS_CHARACTER, 0, flags, nullptr, &context);
  if (context.failure) std::rethrow_exception(context.failure);
  if (status != ENS_OK)
    throw SpeechError("espeak-ng could not speak \"" + text + "\": " + statusText(status));
}

std::vector<VoiceInfo> EspeakSynthesizer::voices() {
  std::lock_guard lock(library().mutex);
  ensureLibraryStarted();
  return listed(nullptr);
}

}  // namespace platform
