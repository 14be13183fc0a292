#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "platform/audio/espeak_speech_engine.h"
#include "platform/audio/timeline_wav_sink.h"
#include "speech/pcm_analysis.h"
#include "support/screen_harness.h"

namespace {

// Where a line is in the recording, in seconds.
struct Heard {
  double start = 0;
  double end = 0;
};

// The real recording sink, noting where each line starts and ends in the file.
class HeardProbe : public platform::TimelineWavSink {
 public:
  HeardProbe(const std::string& path, int sampleRate, std::vector<Heard>& heard)
      : TimelineWavSink(path, sampleRate), heard_(heard) {}

  void beginUtterance(const platform::UtteranceStart& start) override {
    TimelineWavSink::beginUtterance(start);
    heard_.push_back({now(), now()});
  }
  void endUtterance() override {
    TimelineWavSink::endUtterance();
    heard_.back().end = now();
  }

 private:
  double now() const {
    return static_cast<double>(writer_.samplesWritten()) / writer_.sampleRate();
  }
  std::vector<Heard>& heard_;
};

struct SpeedRun {
  std::size_t lines = 0;
  double worstLateness = 0;  // how long after its hand-over a line starts, the worst of the game
  double welcome = 0;        // how long the welcome is heard
};

// A whole seeded game at `speed` on the virtual clock, recorded in the default voice as `--record`
// records it.
SpeedRun recordWholeGameAt(int speed) {
  ScreenHarness game({.seed = 20261207, .presetDraws = {}});
  game.tap(std::to_string(speed));
  game.tap("Play");
  game.runUntilIdle();
  const auto& spoken = game.speech.entries();
  std::vector<Heard> heard;
  {
    auto synthesizer = std::make_unique<platform::EspeakSynthesizer>("");
    const int rate = synthesizer->sampleRate();
    platform::EspeakSpeechEngine engine(
        std::move(synthesizer),
        std::make_unique<HeardProbe>(
            speech_test::scratchWavPath("keep-up-" + std::to_string(speed)), rate, heard));
    for (const auto& entry : spoken) engine.speak({entry.text, entry.rate}, entry.at);
  }
  EXPECT_EQ(heard.size(), spoken.size());
  SpeedRun run{spoken.size(), 0.0, heard.empty() ? 0.0 : heard[0].end - heard[0].start};
  for (std::size_t i = 1; i < spoken.size() && i < heard.size(); ++i)
    run.worstLateness =
        std::max(run.worstLateness, heard[i].start - platform::durationToSeconds(spoken[i].at));
  return run;
}

// At every speed the voice keeps up with the board over a whole game: no line starts more than a
// second after its hand-over. The welcome (4.5 s) is heard in full unless a number is due before
// it ends (speeds 2 and 3), and then up to the end of a sentence, never less than the first.
TEST(VoiceKeepsUp, NoLineMoreThanASecondLateAtAnySpeed) {
  for (int speed = 2; speed <= 10; ++speed) {
    const SpeedRun run = recordWholeGameAt(speed);
    std::cout << "speed " << speed << ": " << run.lines << " lines, worst " << run.worstLateness
              << " s late, welcome heard for " << run.welcome << " s\n";
    EXPECT_GT(run.lines, 90u);
    EXPECT_LE(run.worstLateness, 1.0) << "speed " << speed;
    EXPECT_GT(run.welcome, speed >= 4 ? 4.0 : 1.3) << "speed " << speed;
  }
}

}  // namespace
