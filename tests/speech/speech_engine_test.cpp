#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/speech_setup.h"
#include "platform/audio/tee_sink.h"
#include "speech/pcm_analysis.h"

using namespace speech_test;
using platform::SpeechUtterance;

namespace {

// A live output stuck as a device can be: it takes nothing until told the program is quitting.
class StuckLiveSink : public platform::AudioSink {
 public:
  void write(std::span<const std::int16_t>) override {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return stopped_; });
  }
  void stopLive() override {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    released_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool stopped_ = false;
};

// Lines handed over far faster than they can be spoken queue up, and quitting while live sound
// is stuck still ends once the drain bound has passed (the test's timeout catches a hang): the
// recording beside the live sound gets every line in full, in the order handed over.
TEST(SpeechEngine, BurstThenQuitPastTheDrainBoundRecordsEverythingInOrder) {
  const std::vector<std::string> lines{"Single number 7", "4",
                                       "Silence please! announcing last 10 numbers!", "45",
                                       "Announcing new numbers! Silence please!"};
  const std::string path = scratchWavPath("quit-while-stuck");
  {
    auto synthesizer = std::make_unique<platform::EspeakSynthesizer>("");
    auto recording = std::make_unique<platform::TimelineWavSink>(path, synthesizer->sampleRate());
    platform::EspeakSpeechEngine engine(
        std::move(synthesizer),
        std::make_unique<platform::TeeSink>(std::make_unique<StuckLiveSink>(),
                                            std::move(recording)),
        std::chrono::milliseconds(0));
    for (std::size_t i = 0; i < lines.size(); ++i)
      engine.speak(SpeechUtterance::initWithString(lines[i]),
                   platform::secondsToDuration(0.1 * static_cast<double>(i)));
  }
  EXPECT_EQ(recordedLineStarts(path, lines).size(), lines.size());
}

// Rate 0.5 is espeak-ng's normal pace: the line lasts as long as the espeak-ng command makes it at
// 175 words per minute, and a faster rate really is faster.
TEST(SpeechEngine, RateHalfSpeaksAtEspeakNormalPace) {
  const std::string line =
      "Please keep silence! Vorlix successfully completed! Congratulations for all winners";
  const std::string reference = scratchWavPath("reference-175wpm");
  const std::string command = "espeak-ng -v en -s 175 -w '" + reference + "' '" + line + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << "the espeak-ng command is needed: " << command;
  const double normal = synthesizeAlone(line, 0.5f).seconds();
  EXPECT_NEAR(normal, readWav(reference).seconds(), 0.02 * normal);
  EXPECT_LT(synthesizeAlone(line, 1.0f).seconds(), 0.7 * normal);
}

// Without a sound device the caller says so once and speaks into nothing.
TEST(SpeechSetup, WarnsOnceWithoutASoundDevice) {
  platform::SpeechStartup startup = platform::startSpeech({});
  if (startup.outputDescription != "none") GTEST_SKIP() << "this machine has sound";
  ASSERT_EQ(startup.warnings.size(), 1u);
  EXPECT_NE(startup.warnings[0].find("No sound device"), std::string::npos);
  for (int i = 0; i < 20; ++i)
    startup.engine->speak(SpeechUtterance::initWithString("Single number 7"),
                          platform::secondsToDuration(i));
}

}  // namespace
