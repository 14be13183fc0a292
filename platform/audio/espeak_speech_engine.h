#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/audio_sink.h"
#include "platform/audio/espeak_synthesizer.h"
#include "platform/speech.h"

namespace platform {

// The process's real speech: `speak` copies the utterance into a queue and returns at once; one
// worker thread takes the utterances in the order handed over, synthesises each in full with
// espeak-ng and writes its PCM to the sink. A later utterance never cuts off an earlier one.
//
// Lines follow each other closely, so a fast game's voice keeps up with its board: espeak-ng's
// closing sentence pause (about 0.3 s) is left out, and a line handed over while the one before
// is still being heard starts `kGapBetweenLines` after it. A line that starts late all the same
// (when lines come faster than they can be said, as the warning before the last ten numbers
// behind a number's last item at the fastest speeds) is said faster, a quarter faster for every
// `kCatchUpStepEvery` late, up to twice the pace asked for, so the voice catches up within a few
// lines. Lines handed over together (a number's last item and a warning) while the voice is busy
// (it spoke less than `kBackToBackWithin` before) are said at twice the pace from the first, and
// `kGapAfterAGroup` after each other and before what follows, as the next number would otherwise
// wait behind both for over a second at the fastest speed. A line that begins in silence opens
// what follows (the welcome, the resume line, a recall's lead-in): it is said a sentence at a time,
// `kGapBetweenLines` apart, and once a later line is due it ends with the sentence it is saying, so
// a number is never held back by a long greeting. Every other line is said whole. The worker keeps
// the timeline of what it has sent (each line's start and end on the run loop's clock) to tell the
// sink when each line starts.
//
// Shutting down (the destructor): the worker goes on with what is queued for up to
// `liveDrainBound` of wall time, so a live hall hears the line in progress and a little more; past
// that the sink's live output is stopped and the rest is synthesised for the recording only. A
// recording therefore always gets every utterance handed over. Then the thread is joined and the
// sink finished (sound played out, WAV header completed).
class EspeakSpeechEngine : public SpeechEngine {
 public:
  static constexpr std::chrono::milliseconds kDefaultLiveDrainBound{3000};
  static constexpr std::chrono::milliseconds kGapBetweenLines{200};
  static constexpr std::chrono::milliseconds kSameMomentGrace{2};
  static constexpr std::chrono::milliseconds kBackToBackWithin{1000};
  static constexpr std::chrono::milliseconds kGapAfterAGroup{150};
  static constexpr std::chrono::milliseconds kCatchUpStepEvery{150};
  static constexpr float kCatchUpStep = 0.25f;
  static constexpr int kCatchUpSteps = 4;

  // How many times the asked pace a line is said at when it starts `lateness` after hand-over.
  static float catchUpPace(Duration lateness);

  EspeakSpeechEngine(std::unique_ptr<EspeakSynthesizer> synthesizer,
                     std::unique_ptr<AudioSink> sink,
                     std::chrono::milliseconds liveDrainBound = kDefaultLiveDrainBound);
  ~EspeakSpeechEngine() override;
  EspeakSpeechEngine(const EspeakSpeechEngine&) = delete;
  EspeakSpeechEngine& operator=(const EspeakSpeechEngine&) = delete;

  void speak(const SpeechUtterance& utterance, Duration handedOverAt) override;

  // Blocks until every utterance handed over so far has been written to the sink. For scripted
  // runs and tests that want the recording complete before going on; the game never calls it.
  void waitUntilIdle();
  int sampleRate() const { return sampleRate_; }
  // The last failure the worker met (a synthesis or sink error), if any; the worker skips the
  // utterance it failed on and goes on with the next.
  std::optional<std::string> lastError() const;
  std::vector<std::string> takeNotices() override;

 private:
  struct Pending {
    std::string text;
    float rate;
    Duration handedOverAt;
  };

  void run();
  std::optional<Pending> nextPending();
  void speakOne(const Pending& pending);
  // Whether the line after the one being said was handed over by `at`, giving it up to
  // `graceToCome` to arrive: the game hands a moment's lines over one after another, so the worker
  // may look before the rest of the moment is queued (it waits only where the wait is not heard).
  bool nextLineHandedOverBy(Duration at,
                            std::chrono::milliseconds graceToCome = std::chrono::milliseconds{0});
  void finishedOne();
  UtteranceStart startOf(Duration handedOverAt) const;
  void tell(const std::string& notice);

  std::unique_ptr<EspeakSynthesizer> synthesizer_;
  std::unique_ptr<AudioSink> sink_;
  std::optional<Duration> previousLineEnd_;       // the worker's own: where the last line ends
  std::optional<Duration> previousHandedOverAt_;  // and when it was handed over
  bool previousInAGroup_ = false;
  const std::chrono::milliseconds liveDrainBound_;
  const int sampleRate_;

  mutable std::mutex mutex_;
  std::condition_variable wakeWorker_;
  std::condition_variable idle_;
  std::deque<Pending> queue_;
  std::uint64_t handedOver_ = 0;
  std::uint64_t written_ = 0;
  bool closing_ = false;
  std::optional<std::string> lastError_;
  std::vector<std::string> notices_;  // failures and sink notices not yet told to the host
  std::thread worker_;                // last: it starts once everything above is ready
};

}  // namespace platform
