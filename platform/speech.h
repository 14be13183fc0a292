#pragma once

#include <string>
#include <vector>

#include "platform/run_loop.h"

namespace platform {

// One line to be spoken, with its speaking rate (0.5 is the normal pace).
struct SpeechUtterance {
  std::string speechString;
  float rate = 0.5f;

  static SpeechUtterance initWithString(std::string text) { return {std::move(text), 0.5f}; }
  void setRate(float r) { rate = r; }
};

// The process's speech engine: it takes utterances in the order handed over and speaks them one
// after another. `speak` must return at once; `handedOverAt` is the run loop's time of hand-over.
class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  virtual void speak(const SpeechUtterance& utterance, Duration handedOverAt) = 0;
  // What the engine has to tell the host since it was last asked (an output that failed, a sound
  // server that went away or came back), each notice once and in order. Asked on the main thread;
  // a host shows them where the host looks (status line, window, standard error).
  virtual std::vector<std::string> takeNotices() { return {}; }
};

// What a screen speaks through. It never waits for speech and learns nothing back from it.
class SpeechSynthesizer {
 public:
  void speakUtterance(const SpeechUtterance& utterance);
};

}  // namespace platform
