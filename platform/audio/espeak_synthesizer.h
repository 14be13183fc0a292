#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/audio/speech_setup.h"

namespace platform {

// espeak-ng's words per minute for an utterance rate. The mapping is linear through the origin with
// 0.5 at espeak-ng's normal 175 wpm (0.25 -> 87, 1.0 -> 350), held within the 80..450 the library
// accepts.
int wordsPerMinuteForRate(float rate);

// A failure while synthesising one utterance, after the engine has started.
class SpeechError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// espeak-ng's library, started and held for one voice. The library keeps its state in globals, so
// one synthesiser lives in a process at a time (a second is refused), and it is driven from one
// thread at a time: the speech worker, once that has started.
class EspeakSynthesizer {
 public:
  using PcmReceiver = std::function<void(std::span<const std::int16_t>)>;

  // Starts the library with `voice` (empty: the default English voice), named as --list-voices
  // shows it (see resolveVoice). Throws SpeechSetupError with a message for the host when the
  // voice is unknown or the library cannot start.
  explicit EspeakSynthesizer(const std::string& voice);
  ~EspeakSynthesizer();
  EspeakSynthesizer(const EspeakSynthesizer&) = delete;
  EspeakSynthesizer& operator=(const EspeakSynthesizer&) = delete;

  int sampleRate() const { return sampleRate_; }
  const std::string& voice() const { return voice_; }
  // The voice file espeak-ng speaks with, "gmw/en" (with "+variant" when one was asked for).
  const std::string& voiceFile() const { return voiceFile_; }

  // Synthesises `text` at `rate` and hands each block of 16-bit mono PCM to `receiver` as soon as
  // it is made; returns once the whole text has been handed on. With `closingPause`, the text
  // ends with the sentence pause the espeak-ng command puts after every line. Throws SpeechError
  // on failure, and passes on whatever `receiver` throws.
  void synthesize(const std::string& text, float rate, const PcmReceiver& receiver,
                  bool closingPause = true);

  // The voices espeak-ng knows, whether or not a synthesiser is alive.
  static std::vector<VoiceInfo> voices();

 private:
  void selectRate(float rate);

  std::string voice_;
  std::string voiceFile_;
  int sampleRate_ = 0;
  int currentWordsPerMinute_ = 0;
};

}  // namespace platform
