#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "engine/view_controller.h"
#include "platform/alert_view.h"
#include "platform/audio/espeak_speech_engine.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/services.h"
#include "platform/touch.h"
#include "speech/pcm_analysis.h"

using namespace speech_test;

namespace {

// Keeps a transcript of what the screen hands over and passes it on to the real engine.
class TranscribingEngine : public platform::SpeechEngine {
 public:
  explicit TranscribingEngine(platform::SpeechEngine& real) : real_(real) {}
  void speak(const platform::SpeechUtterance& utterance, platform::Duration at) override {
    transcript.speak(utterance, at);
    real_.speak(utterance, at);
  }
  platform::TranscriptSpeechEngine transcript;

 private:
  platform::SpeechEngine& real_;
};

// A loaded screen on a virtual clock whose speech goes to `engine`, with a seeded draw that starts
// with `presetDraws`.
class SpokenGame {
 public:
  SpokenGame(platform::SpeechEngine& engine, std::uint64_t seed,
             std::vector<std::uint32_t> presetDraws)
      : speech(engine),
        seeded_(seed),
        random_(std::move(presetDraws), seeded_),
        scope_(
            {&loop, &speech, &alerts_, &console_, &random_, platform::UserInterfaceIdiom::phone}),
        screen_(std::make_unique<ViewController>()) {
    screen_->setInitialViewFrame({0.0, 0.0, 320.0, 568.0});
    screen_->view();
  }
  void tap(const std::string& title) { platform::tapButtonTitled(screen_->view(), title); }
  const std::vector<platform::TranscriptSpeechEngine::Entry>& spoken() const {
    return speech.transcript.entries();
  }

  platform::VirtualRunLoop loop;
  TranscribingEngine speech;

 private:
  platform::RecordingAlertPresenter alerts_;
  platform::RecordingConsole console_;
  platform::SeededRandomSource seeded_;
  platform::PresetRandomSource random_;
  platform::ServicesScope scope_;
  std::unique_ptr<ViewController> screen_;
};

ExpectedSound expectedSoundOf(const std::vector<platform::TranscriptSpeechEngine::Entry>& spoken) {
  std::vector<std::string> lines;
  for (const auto& entry : spoken) lines.push_back(entry.text);
  return speech_test::expectedSoundOf(lines);
}

// Records the game `play` drives and returns the transcript of what was handed over.
template <class Play>
std::vector<platform::TranscriptSpeechEngine::Entry> recordGame(
    const std::string& path, std::uint64_t seed, std::vector<std::uint32_t> presetDraws,
    Play play) {
  auto engine = makeRecordingEngine(path);
  SpokenGame game(*engine, seed, std::move(presetDraws));
  play(game);
  return game.spoken();
}

}  // namespace

// The worked run at speed 5: the welcome, "Single number 7", then "4", "5", "45" are heard at
// 0, 6, 11, 13 and 15 seconds of the recording, each in full.
TEST(TimelineRecording, WorkedRunIsHeardAtItsHandOverTimes) {
  const std::string path = scratchWavPath("worked-run");
  const auto spoken = recordGame(path, 1, {7, 45}, [](SpokenGame& game) {
    game.tap("Play");
    game.loop.advanceBySeconds(16.0);
  });
  ASSERT_EQ(spoken.size(), 5u);
  EXPECT_EQ(spoken[1].text, "Single number 7");
  EXPECT_EQ(spoken[4].text, "45");

  const ExpectedSound expected = expectedSoundOf(spoken);
  const std::vector<Segment> recorded = findSegments(readWav(path));
  expectSameSegments(recorded, expected.segments);
  if (HasFatalFailure()) return;
  const double heardAt[] = {0.0, 6.0, 11.0, 13.0, 15.0};
  for (std::size_t i = 0; i < spoken.size(); ++i)
    EXPECT_NEAR(recorded[expected.firstSegmentOf[i]].start, heardAt[i], 0.020) << spoken[i].text;
}

// A whole seeded game, ninety numbers and every fixed line, records in seconds with every
// utterance present in full, none heard before it was handed over.
TEST(TimelineRecording, WholeSeededGameHasEveryUtterance) {
  const std::string path = scratchWavPath("whole-game");
  const auto spoken = recordGame(path, 20261206, {}, [](SpokenGame& game) {
    game.tap("Play");
    game.loop.runUntilIdle(std::chrono::hours(10));
  });
  ASSERT_GT(spoken.size(), 90u);
  EXPECT_NE(spoken.back().text.find("successfully completed"), std::string::npos);

  const ExpectedSound expected = expectedSoundOf(spoken);
  const std::vector<Segment> recorded = findSegments(readWav(path));
  expectSameSegments(recorded, expected.segments);
  if (HasFatalFailure()) return;
  for (std::size_t i = 0; i < spoken.size(); ++i)
    EXPECT_GE(recorded[expected.firstSegmentOf[i]].start, platform::durationToSeconds(spoken[i].at))
        << spoken[i].text;
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
  const std::vector<Segment> recorded = findSegments(readWav(path));
  EXPECT_EQ(recorded.size(), lines.size());
}
