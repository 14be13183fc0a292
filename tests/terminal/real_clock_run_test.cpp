// The real clock keeps the virtual clock's timeline: a part of a game at the fastest speed, played
// by the real program on the wall clock, says and shows every line at the same moments (after the
// tap on Play) as the same game on the virtual clock, to the millisecond. Each firing counts from
// the one before's due time, so a loaded machine's late wake-ups change nothing here.
#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "support/program_run.h"

namespace {

struct Event {
  double time;
  std::string what;
};

// The transcript's events from the tap on Play on, with their times counted from it.
std::vector<Event> eventsFromPlay(const std::string& transcript) {
  std::vector<Event> events;
  std::istringstream lines(transcript);
  double origin = -1.0;
  for (std::string line; std::getline(lines, line);) {
    const auto space = line.find(' ');
    const double time = std::stod(line.substr(0, space));
    const std::string what = line.substr(space + 1);
    if (origin < 0.0 && what == "tap Play") origin = time;
    if (origin >= 0.0) events.push_back({time - origin, what});
  }
  return events;
}

TEST(RealClockRun, KeepsTheVirtualClocksTimelineToTheMillisecond) {
  // Speed 2 says an item every 0.8 s after a 2.4 s welcome; 7.6 s holds three numbers and ends
  // midway between two firings.
  const std::string script = "tap 2\ntap Play\nwait 7.6\n";
  const ProgramRun virtualRun = runProgram("--script - --seed 12 --silent", script);
  const ProgramRun realRun = runProgram("--script - --seed 12 --silent --clock real", script);
  ASSERT_EQ(virtualRun.exitCode, 0) << virtualRun.err;
  ASSERT_EQ(realRun.exitCode, 0) << realRun.err;

  const auto expected = eventsFromPlay(virtualRun.out);
  const auto played = eventsFromPlay(realRun.out);
  ASSERT_GT(expected.size(), 15u);
  ASSERT_EQ(played.size(), expected.size()) << realRun.out;
  // The tap itself is stamped when the wall clock reads it, a moment (longer under a sanitizer)
  // apart from when its timer was armed; from the first firing on, every event keeps that offset.
  // A loaded machine may wake one firing late, and its events are stamped late, but the firings
  // after it are back on time: the least lateness over the last third stays within a few
  // milliseconds, where a loop that counted each interval from its late firing would drift
  // further with every one.
  const double offset = played[1].time - expected[1].time;
  EXPECT_LE(std::abs(offset), 0.010);
  double leastLatenessAtTheEnd = 1.0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(played[i].what, expected[i].what);
    if (i == 0) continue;
    const double lateness = std::abs(played[i].time - expected[i].time - offset);
    EXPECT_LE(lateness, 0.025) << played[i].what;
    if (i >= expected.size() * 2 / 3)
      leastLatenessAtTheEnd = std::min(leastLatenessAtTheEnd, lateness);
  }
  EXPECT_LE(leastLatenessAtTheEnd, 0.0031) << "the timeline drifted: " << realRun.out;
}

}  // namespace
