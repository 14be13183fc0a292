#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>

#include "platform/run_loop.h"

namespace platform {

// A live output that could not be opened; startSpeech turns it into a warning and goes on without.
class AudioDeviceUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where synthesised speech goes: 16-bit mono PCM at the synthesiser's sample rate, one utterance
// after another. Every call comes from the speech worker thread, except `stopLive`, which the
// engine may call from the thread that shuts it down.
class AudioSink {
 public:
  virtual ~AudioSink() = default;

  // An utterance is about to be written; `handedOverAt` is its hand-over time on the run loop's
  // clock, which only a recording laid out in time needs.
  virtual void beginUtterance(Duration handedOverAt) { (void)handedOverAt; }
  virtual void write(std::span<const std::int16_t> samples) = 0;
  // The utterance has been written in full.
  virtual void endUtterance() {}
  // The program is quitting and will not wait for the rest: live output falls silent from now
  // on, recordings keep everything. Safe to call from any thread.
  virtual void stopLive() {}
  // Nothing more will be written: let live sound play out and complete any file.
  virtual void finish() {}
};

}  // namespace platform
