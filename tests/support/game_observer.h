#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/screen_harness.h"

// Ways of reading what a screen under test has shown and said, shared by the engine and board
// tests. The harness records; these helpers only look.
namespace observe {

inline constexpr std::string_view kIntervalPrefix = "timerInterval: ";

// The fixed lines of the cycle, as a host hears them.
inline constexpr const char* kWelcome =
    "Welcome to Vorlix game! Game is about to start! Please keep silence!";
inline constexpr const char* kResume = "Announcing new numbers! Silence please!";
inline constexpr const char* kLastTen = "Silence please! announcing last 10 numbers!";
inline constexpr const char* kLastFive = "Please keep silence! announcing last 5 numbers!";
inline constexpr const char* kCompletion =
    "Please keep silence! Vorlix successfully completed! Congratulations for all winners";

// A screen whose draw starts with the given numbers, then goes on from the seed.
inline ScreenHarness::Options drawing(std::vector<std::uint32_t> numbers, std::uint64_t seed = 1) {
  ScreenHarness::Options options;
  options.seed = seed;
  options.presetDraws = std::move(numbers);
  return options;
}

inline std::chrono::milliseconds millis(platform::Duration d) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(d);
}

using Heard = std::vector<std::pair<std::chrono::milliseconds, std::string>>;

// What has been handed to the synthesiser, to the millisecond of the virtual clock.
inline Heard heard(const ScreenHarness& h) {
  Heard result;
  for (const auto& entry : h.speech.entries()) result.emplace_back(millis(entry.at), entry.text);
  return result;
}

// The texts of the "timerInterval: " console lines, in order.
inline std::vector<std::string> timerIntervals(const platform::RecordingConsole& console) {
  std::vector<std::string> intervals;
  for (const std::string& line : console.lines())
    if (line.starts_with(kIntervalPrefix)) intervals.push_back(line.substr(kIntervalPrefix.size()));
  return intervals;
}

// One letter per cell, number 1 first: 'u' not called, 'j' just called, 'f' called earlier,
// '?' any other colour.
inline std::string board(const ViewController& vc) {
  std::string letters;
  for (const auto& cell : vc._gridViewsArray) {
    const auto& colour = cell->backgroundColor();
    if (colour == vc.color_un_filled)
      letters += 'u';
    else if (colour == vc.color_just_filled)
      letters += 'j';
    else if (colour == vc.color_filled)
      letters += 'f';
    else
      letters += '?';
  }
  return letters;
}

inline long cellsIn(const ViewController& vc, char state) {
  const std::string letters = board(vc);
  return static_cast<long>(std::count(letters.begin(), letters.end(), state));
}

// What a screen shows and what its cycle is waiting for after one event, for comparing runs.
struct Frame {
  platform::Duration at;
  std::string title;
  std::string board;
  std::size_t pendingTimers;
  bool operator==(const Frame&) const = default;
};

// Records a frame after every timer firing of the harness's run loop, and runs an optional check
// at the same moment.
class FrameRecorder {
 public:
  explicit FrameRecorder(ScreenHarness& h) : h_(h) {
    h_.loop.setAfterEventHook([this] { record(); });
  }
  ~FrameRecorder() { h_.loop.setAfterEventHook(nullptr); }
  FrameRecorder(const FrameRecorder&) = delete;
  FrameRecorder& operator=(const FrameRecorder&) = delete;

  void onEachEvent(std::function<void()> check) { check_ = std::move(check); }
  const std::vector<Frame>& frames() const { return frames_; }

 private:
  void record() {
    frames_.push_back(
        {h_.loop.now(), h_.vc().title(), board(h_.vc()), h_.loop.pendingTimerCount()});
    if (check_) check_();
  }

  ScreenHarness& h_;
  std::vector<Frame> frames_;
  std::function<void()> check_;
};

}  // namespace observe
