#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>

#include "platform/run_loop.h"

namespace platform {

// A live output that could not be opened; startSpeech turns it into a warning and goes on without.
class AudioDeviceUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// When an utterance starts. `startAt` is on the run loop's clock: the hand-over time, or later
// when the line before is still being heard then (it follows that line after a short gap). A
// live output, which plays as it is written, starts the line after `leadInSamples` of silence
// instead: the gap still to come after the line before, counted from the later of the hand-over
// and that line's end.
struct UtteranceStart {
  Duration startAt{};
  std::size_t leadInSamples = 0;
};

// Where synthesised speech goes: 16-bit mono PCM at the synthesiser's sample rate, one utterance
// after another. Every call comes from the speech worker thread, except `stopLive`, which the
// engine may call from the thread that shuts it down.
class AudioSink {
 public:
  // Takes what a live output has to tell the host (its sound went away, or came back).
  using NoticeReporter = std::function<void(const std::string&)>;

  virtual ~AudioSink() = default;

  // Where the sink reports its notices from now on; called once, before the first utterance.
  virtual void setNoticeReporter(NoticeReporter reporter) { (void)reporter; }
  // Called once on the speech worker before the first utterance: a live output gets ready to start
  // playing at once.
  virtual void warmUp() {}
  // An utterance is about to be written.
  virtual void beginUtterance(const UtteranceStart& start) { (void)start; }
  virtual void write(std::span<const std::int16_t> samples) = 0;
  // The utterance has been written in full.
  virtual void endUtterance() {}
  // The program is quitting and will not wait for the rest: live output falls silent from now
  // on, recordings keep everything. Safe to call from any thread.
  virtual void stopLive() {}
  // Nothing more will be written: let live sound play out and complete any file.
  virtual void finish() {}
};

// Writes `sampleCount` samples of silence to `sink`, a block at a time.
void writeSilence(AudioSink& sink, std::size_t sampleCount);

}  // namespace platform
