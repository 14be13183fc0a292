#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include "speech/pcm_analysis.h"
#include "support/screen_harness.h"

using namespace speech_test;
using Spoken = std::vector<platform::TranscriptSpeechEngine::Entry>;

namespace {

// The speech of a game played on the virtual clock, as the screen handed it over.
Spoken spokenIn(ScreenHarness::Options options, const std::function<void(ScreenHarness&)>& play) {
  ScreenHarness game(std::move(options));
  play(game);
  return game.speech.entries();
}

// Hands `spoken` to a recording engine at the moments the screen handed it over, then returns
// where each line starts in the recording (checking each is there in full).
std::vector<double> recordedStarts(const std::string& name, const Spoken& spoken) {
  const std::string path = scratchWavPath(name);
  std::vector<std::string> lines;
  {
    auto engine = makeRecordingEngine(path);
    for (const auto& entry : spoken) {
      engine->speak({entry.text, entry.rate}, entry.at);
      lines.push_back(entry.text);
    }
  }
  return recordedLineStarts(path, lines);
}

// The worked run at speed 5: the welcome, "Single number 7", then "4", "5", "45" are heard at
// 0, 6, 11, 13 and 15 seconds of the recording, each in full.
TEST(TimelineRecording, WorkedRunIsHeardAtItsHandOverTimes) {
  const Spoken spoken = spokenIn({.presetDraws = {7, 45}}, [](ScreenHarness& game) {
    game.tap("Play");
    game.advance(16.0);
  });
  ASSERT_EQ(spoken.size(), 5u);
  EXPECT_EQ(spoken[4].text, "45");
  const std::vector<double> starts = recordedStarts("worked-run", spoken);
  const double heardAt[] = {0.0, 6.0, 11.0, 13.0, 15.0};
  for (std::size_t i = 0; i < starts.size(); ++i)
    EXPECT_NEAR(starts[i], heardAt[i], 0.020) << spoken[i].text;
}

// A whole seeded game, ninety numbers and every fixed line, records with every utterance present
// in full, none heard before it was handed over.
TEST(TimelineRecording, WholeSeededGameHasEveryUtterance) {
  const Spoken spoken = spokenIn({.seed = 20261206, .presetDraws = {}}, [](ScreenHarness& game) {
    game.tap("Play");
    game.runUntilIdle();
  });
  ASSERT_GT(spoken.size(), 90u);
  EXPECT_NE(spoken.back().text.find("successfully completed"), std::string::npos);
  const std::vector<double> starts = recordedStarts("whole-game", spoken);
  EXPECT_EQ(starts.size(), spoken.size());
  for (std::size_t i = 0; i < starts.size(); ++i)
    EXPECT_GE(starts[i], platform::durationToSeconds(spoken[i].at)) << spoken[i].text;
}

// A program killed mid-game leaves a WAV whose header covers everything recorded so far.
TEST(TimelineRecordingDeathTest, KilledMidGameLeavesPlayableFile) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const std::string path = scratchWavPath("killed");
  const std::vector<std::string> lines{"Single number 7", "4", "5"};
  EXPECT_EXIT(
      {
        auto engine = makeRecordingEngine(path);
        for (std::size_t i = 0; i < lines.size(); ++i)
          engine->speak(platform::SpeechUtterance::initWithString(lines[i]),
                        platform::secondsToDuration(2.0 * static_cast<double>(i)));
        engine->waitUntilIdle();
        std::raise(SIGKILL);
      },
      testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(recordedLineStarts(path, lines).size(), lines.size());
}

}  // namespace
