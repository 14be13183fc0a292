// Measures, for every phrase the game speaks, the time from hand-over to the first PCM sample
// reaching the sink and the time to synthesise the whole phrase: once through the in-process
// engine, once by spawning the `espeak-ng` command per line (the naive design), side by side.
// Usage: vorlix-speech-bench [rounds]   (default 3 rounds over all phrases)

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/audio/espeak_speech_engine.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Timing {
  double firstSampleMs;
  double wholePhraseMs;
};

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Every line the caller can say: the fixed lines and every number as it is phrased.
std::vector<std::string> gamePhrases() {
  std::vector<std::string> phrases{
      "Welcome to Vorlix game! Game is about to start! Please keep silence!",
      "Announcing new numbers! Silence please!", "Silence please! announcing last 10 numbers!",
      "Please keep silence! announcing last 5 numbers!",
      "Please keep silence! Vorlix successfully completed! Congratulations for all winners"};
  for (int digit = 0; digit <= 9; ++digit) phrases.push_back(std::to_string(digit));
  for (int n = 1; n <= 9; ++n) phrases.push_back("Single number " + std::to_string(n));
  for (int n = 10; n <= 90; ++n) phrases.push_back(std::to_string(n));
  return phrases;
}

// Notes when the first sample of each utterance arrives and when the utterance is complete.
class StopwatchSink : public platform::AudioSink {
 public:
  void beginUtterance(const platform::UtteranceStart&) override { firstSample_.reset(); }
  void write(std::span<const std::int16_t> samples) override {
    if (!firstSample_ && !samples.empty()) firstSample_ = Clock::now();
  }
  void endUtterance() override { end_ = Clock::now(); }
  Clock::time_point firstSample() const { return *firstSample_; }
  Clock::time_point end() const { return end_; }

 private:
  std::optional<Clock::time_point> firstSample_;
  Clock::time_point end_;
};

class InProcessSpeech {
 public:
  InProcessSpeech() {
    auto sink = std::make_unique<StopwatchSink>();
    sink_ = sink.get();
    engine_ = std::make_unique<platform::EspeakSpeechEngine>(
        std::make_unique<platform::EspeakSynthesizer>(""), std::move(sink));
  }

  Timing speak(const std::string& phrase) {
    const Clock::time_point handOver = Clock::now();
    engine_->speak(platform::SpeechUtterance::initWithString(phrase), {});
    engine_->waitUntilIdle();
    return {millisecondsBetween(handOver, sink_->firstSample()),
            millisecondsBetween(handOver, sink_->end())};
  }

 private:
  StopwatchSink* sink_;
  std::unique_ptr<platform::EspeakSpeechEngine> engine_;
};

// `espeak-ng --stdout` per phrase: the first sample is the first byte after the WAV header.
Timing speakBySpawning(const std::string& phrase) {
  constexpr std::size_t kWavHeaderBytes = 44;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) std::exit(1);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::string program = "espeak-ng", speed = "-s", wpm = "175", out = "--stdout", text = phrase;
  char* argv[] = {program.data(), speed.data(), wpm.data(), out.data(), text.data(), nullptr};

  const Clock::time_point handOver = Clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, "espeak-ng", &actions, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "cannot run espeak-ng\n");
    std::exit(1);
  }
  close(pipeEnds[1]);
  Clock::time_point firstSample{};
  std::size_t received = 0;
  char buffer[4096];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    received += static_cast<std::size_t>(n);
    if (firstSample == Clock::time_point{} && received > kWavHeaderBytes)
      firstSample = Clock::now();
  }
  close(pipeEnds[0]);
  waitpid(child, nullptr, 0);
  posix_spawn_file_actions_destroy(&actions);
  return {millisecondsBetween(handOver, firstSample), millisecondsBetween(handOver, Clock::now())};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void report(const char* what, const std::vector<double>& inProcess,
            const std::vector<double>& spawned) {
  const double a = median(inProcess), b = median(spawned);
  std::printf("%-34s %12.3f %12.3f %10.1fx\n", what, a, b, b / a);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::vector<std::string> phrases = gamePhrases();
  InProcessSpeech inProcess;
  std::vector<double> firstIn, wholeIn, firstSpawned, wholeSpawned;
  for (int round = 0; round < rounds; ++round) {
    for (const std::string& phrase : phrases) {
      const Timing in = inProcess.speak(phrase);
      const Timing spawned = speakBySpawning(phrase);
      firstIn.push_back(in.firstSampleMs);
      wholeIn.push_back(in.wholePhraseMs);
      firstSpawned.push_back(spawned.firstSampleMs);
      wholeSpawned.push_back(spawned.wholePhraseMs);
    }
  }
  std::printf("%zu phrases x %d rounds, medians in milliseconds\n", phrases.size(), rounds);
  std::printf("%-34s %12s %12s %11s\n", "", "in-process", "spawned", "ratio");
  report("hand-over to first PCM sample", firstIn, firstSpawned);
  report("hand-over to whole phrase written", wholeIn, wholeSpawned);
  return 0;
}
