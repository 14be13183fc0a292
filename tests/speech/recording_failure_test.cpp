// A recording that cannot take more is told to the host once, and what was written stays a
// playable WAV of everything before the failure.
#include <gtest/gtest.h>

#include "platform/audio/espeak_speech_engine.h"
#include "platform/audio/timeline_wav_sink.h"
#include "speech/pcm_analysis.h"

namespace {

TEST(RecordingFailure, IsOneNoticeAndKeepsAPlayableFileOfWhatCameBefore) {
  const std::string path = speech_test::scratchWavPath("full");
  constexpr std::uint64_t kRoom = 200'000;  // bytes of sound: a line or two, not five
  std::shared_ptr<const platform::RecordingOutcome> outcome;
  std::vector<std::string> notices;
  {
    auto synthesizer = std::make_unique<platform::EspeakSynthesizer>("");
    auto sink = std::make_unique<platform::TimelineWavSink>(path, synthesizer->sampleRate(), kRoom);
    outcome = sink->outcome();
    platform::EspeakSpeechEngine engine(std::move(synthesizer), std::move(sink));
    for (int line = 0; line < 5; ++line)
      engine.speak(platform::SpeechUtterance::initWithString("Single number 7"),
                   platform::secondsToDuration(2.0 * line));
    engine.waitUntilIdle();
    notices = engine.takeNotices();
  }
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices.front().find("could not be written"), std::string::npos) << notices.front();
  ASSERT_TRUE(outcome->failure());
  EXPECT_EQ(*outcome->failure(), notices.front());
  const auto pcm = speech_test::readWav(path);
  EXPECT_GT(pcm.samples.size(), 0u);
  EXPECT_LE(pcm.samples.size() * 2, kRoom);
}

}  // namespace
