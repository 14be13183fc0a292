#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/espeak_speech_engine.h"
#include "platform/audio/speech_setup.h"
#include "platform/audio/tee_sink.h"
#include "platform/audio/timeline_wav_sink.h"
#include "speech/pcm_analysis.h"

using namespace speech_test;
using platform::SpeechUtterance;

namespace {

platform::Duration seconds(double s) {
  return platform::secondsToDuration(s);
}

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

}  // namespace

// Lines handed over far faster than they can be spoken queue up: each is recorded in full, in the
// order handed over, starting right after the one before, even when the engine is shut down the
// moment the last is handed over.
TEST(SpeechEngine, BurstIsRecordedInOrderEachInFullBackToBack) {
  const std::vector<std::string> lines{"Single number 7",
                                       "4",
                                       "Silence please! announcing last 10 numbers!",
                                       "45",
                                       "Single number 3",
                                       "Announcing new numbers! Silence please!"};
  const ExpectedSound expected = expectedSoundOf(lines);
  const std::string path = scratchWavPath("burst");
  {
    auto engine = makeRecordingEngine(path);
    for (std::size_t i = 0; i < lines.size(); ++i)
      engine->speak(SpeechUtterance::initWithString(lines[i]),
                    seconds(0.1 * static_cast<double>(i)));
  }

  const std::vector<Segment> recorded = findSegments(readWav(path));
  expectSameSegments(recorded, expected.segments);
  if (HasFatalFailure()) return;
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_NEAR(recorded[expected.firstSegmentOf[i]].start, expected.backToBackStart[i], 0.03)
        << lines[i];
}

// Quitting while live sound is stuck still ends, once the drain bound has passed, and the
// recording made beside the live sound still gets every line handed over.
TEST(SpeechEngine, QuitPastTheDrainBoundSilencesLiveSoundButRecordsEverything) {
  const std::vector<std::string> lines{"Single number 7", "4", "5", "45"};
  const ExpectedSound expected = expectedSoundOf(lines);
  const std::string path = scratchWavPath("quit-while-stuck");
  {
    auto synthesizer = std::make_unique<platform::EspeakSynthesizer>("");
    auto recording = std::make_unique<platform::TimelineWavSink>(path, synthesizer->sampleRate());
    platform::EspeakSpeechEngine engine(
        std::move(synthesizer),
        std::make_unique<platform::TeeSink>(std::make_unique<StuckLiveSink>(),
                                            std::move(recording)),
        std::chrono::milliseconds(0));
    for (const std::string& line : lines) engine.speak(SpeechUtterance::initWithString(line), {});
  }
  expectSameSegments(findSegments(readWav(path)), expected.segments);
}

// Rate 0.5 is espeak-ng's normal pace: the same line lasts as long as the espeak-ng command makes
// it at 175 words per minute, and a faster rate really is faster.
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

// What speech cannot start with is refused with a message naming it; a real voice other than the
// default is taken.
TEST(SpeechSetup, RefusesUnknownVoiceAndUnwritableRecording) {
  platform::SpeechSetup unknown;
  unknown.voice = "no-such-voice";
  unknown.liveSound = false;
  try {
    platform::startSpeech(unknown);
    FAIL() << "an unknown voice was accepted";
  } catch (const platform::SpeechSetupError& error) {
    EXPECT_NE(std::string(error.what()).find("no-such-voice"), std::string::npos) << error.what();
  }

  platform::SpeechSetup unwritable;
  unwritable.liveSound = false;
  unwritable.recordPath = "/nonexistent-folder/game.wav";
  EXPECT_THROW(platform::startSpeech(unwritable), platform::SpeechSetupError);

  const std::vector<platform::VoiceInfo> voices = platform::listVoices();
  const auto french = std::find_if(voices.begin(), voices.end(),
                                   [](const auto& v) { return v.languages.starts_with("fr"); });
  ASSERT_NE(french, voices.end());
  platform::SpeechSetup inFrench;
  inFrench.voice = french->name;
  inFrench.liveSound = false;
  EXPECT_NO_THROW(platform::startSpeech(inFrench));
}

// On a machine without a sound device the caller says so once and speaks into nothing; a scripted
// run never reaches for live sound at all.
TEST(SpeechSetup, NoSoundDeviceWarnsOnceAndTheEngineGoesOn) {
  platform::SpeechSetup automatic;
  platform::SpeechStartup startup = platform::startSpeech(automatic);
  if (startup.outputDescription != "none") GTEST_SKIP() << "this machine has sound";
  ASSERT_EQ(startup.warnings.size(), 1u);
  EXPECT_NE(startup.warnings[0].find("No sound device"), std::string::npos);
  for (int i = 0; i < 20; ++i)
    startup.engine->speak(SpeechUtterance::initWithString("Single number 7"), seconds(i));
  startup.engine.reset();

  platform::SpeechSetup pulse;
  pulse.audio = platform::AudioOutput::pulse;
  EXPECT_EQ(platform::startSpeech(pulse).warnings.size(), 1u);

  platform::SpeechSetup scripted;
  scripted.audio = platform::AudioOutput::pulse;
  scripted.liveSound = false;
  scripted.recordPath = scratchWavPath("scripted");
  const platform::SpeechStartup quiet = platform::startSpeech(scripted);
  EXPECT_TRUE(quiet.warnings.empty());
  EXPECT_TRUE(quiet.outputDescription.starts_with("none")) << quiet.outputDescription;
}
