#pragma once

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "support/screen_harness.h"

// Steps and readings shared by the panel, game-control and recall tests.
namespace steps {

// One line handed to the synthesiser, with its time in seconds (to the millisecond) from a start.
struct Heard {
  double at;
  std::string text;
  bool operator==(const Heard&) const = default;
};

// How a failing test shows a line.
inline void PrintTo(const Heard& line, std::ostream* out) {
  *out << line.at << " s \"" << line.text << '"';
}

inline std::vector<Heard> heardSince(const ScreenHarness& h, double start) {
  std::vector<Heard> lines;
  for (const auto& entry : h.speech.entries()) {
    const double at = platform::durationToSeconds(entry.at) - start;
    if (at >= -1e-9) lines.push_back({std::round(at * 1000.0) / 1000.0, entry.text});
  }
  return lines;
}

// Where the transcript stands now, to read what is handed over after this point.
inline std::size_t mark(const ScreenHarness& h) {
  return h.speech.entries().size();
}

inline std::vector<std::string> textsAfter(const ScreenHarness& h, std::size_t mark) {
  std::vector<std::string> texts;
  const auto& entries = h.speech.entries();
  for (std::size_t i = mark; i < entries.size(); ++i) texts.push_back(entries[i].text);
  return texts;
}

// Runs the clock timer by timer until `count` numbers have been drawn (or nothing is pending).
inline void runUntilDrawn(ScreenHarness& h, std::size_t count) {
  while (h.vc()._randomNumbers.size() < count) {
    const auto next = h.loop.nextDeadline();
    if (!next) return;
    h.advance(platform::durationToSeconds(*next - h.loop.now()));
  }
}

// Play, then the clock until the whole game has been called.
inline void playWholeGame(ScreenHarness& h) {
  h.tap("Play");
  h.runUntilIdle();
}

// A harness installs the process's services, so only one can run at a time: scenarios to be
// compared run one after the other, each reporting what was heard.
template <class Scenario>
std::vector<Heard> heardIn(Scenario&& scenario) {
  ScreenHarness h;
  scenario(h);
  return heardSince(h, 0.0);
}

inline ScreenHarness::Options drawingFirst(std::vector<std::uint32_t> numbers) {
  ScreenHarness::Options options;
  options.presetDraws = std::move(numbers);
  return options;
}

inline bool takesTaps(ScreenHarness& h, const std::string& title) {
  return h.button(title).isUserInteractionEnabled();
}

}  // namespace steps
