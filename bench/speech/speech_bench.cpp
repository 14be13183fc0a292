// Measures, for every phrase the game speaks, the time from hand-over to the first PCM sample
// reaching the sink and the time to synthesise the whole phrase: once through the in-process
// engine, once by spawning the `espeak-ng` command per line (the naive design), side by side.
// Then the same through a real sound server: a private PulseAudio server with a null sink, whose
// monitor is read as it plays; hand-over to the first sound heard there, through the caller's
// PulseSink against `espeak-ng` spawned per line playing to the same server.
// Usage: vorlix-speech-bench [rounds]   (default 3 rounds over all phrases)

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/espeak_speech_engine.h"
#include "platform/audio/pulse_sink.h"
#include "speech/pulse_server.h"

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

double percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
  return values[at];
}

void report(const char* what, const std::vector<double>& inProcess,
            const std::vector<double>& spawned) {
  std::printf("%-34s", what);
  for (const double share : {0.5, 0.99, 1.0})
    std::printf(" %9.3f %9.3f", percentile(inProcess, share), percentile(spawned, share));
  std::printf(" %8.1fx\n", percentile(spawned, 0.5) / percentile(inProcess, 0.5));
}

void reportHeader() {
  std::printf("%-34s %9s %9s %9s %9s %9s %9s %9s\n", "(milliseconds)", "med in", "med spawn",
              "p99 in", "p99 spawn", "max in", "max spawn", "median");
}

// The hall: a private sound server's null sink, its monitor read as it plays. Notes when sound is
// first heard after `arm`.
class LiveHall {
 public:
  bool start() {
    if (!speech_test::PulseServer::missing().empty() || !server_.start()) return false;
    int ends[2];
    if (pipe(ends) != 0) return false;
    keepRunning_ = speech_test::spawn({"sh", "-c",
                                       "exec pacat --raw --format=s16le --rate=22050 --channels=1 "
                                       "--latency-msec=20 < /dev/zero"});
    recorder_ = fork();
    if (recorder_ == 0) {
      dup2(ends[1], STDOUT_FILENO);
      close(ends[0]);
      execlp("parec", "parec", "--device=hall.monitor", "--raw", "--format=s16le", "--rate=22050",
             "--channels=1", "--latency-msec=2", "--process-time-msec=1", nullptr);
      _exit(127);
    }
    close(ends[1]);
    pipe_ = ends[0];
    reader_ = std::thread([this] { listen(); });
    return true;
  }
  ~LiveHall() {
    if (recorder_ > 0) {
      kill(recorder_, SIGKILL);
      speech_test::waitFor(recorder_);
    }
    if (keepRunning_ > 0) {
      kill(keepRunning_, SIGKILL);
      speech_test::waitFor(keepRunning_);
    }
    if (reader_.joinable()) reader_.join();
    if (pipe_ >= 0) close(pipe_);
  }
  void arm() {
    heardAt_ = {};
    armed_ = true;
  }
  // Waits (at most five seconds) for sound, then for the hall to fall quiet again.
  std::optional<Clock::time_point> heard() {
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (armed_ && Clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    if (armed_) return std::nullopt;
    while (Clock::now() - lastSound_.load() < std::chrono::milliseconds(300) &&
           Clock::now() < deadline + std::chrono::seconds(10))
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return heardAt_;
  }

 private:
  void listen() {
    std::int16_t block[64];
    for (ssize_t n; (n = read(pipe_, block, sizeof block)) > 0;) {
      const auto now = Clock::now();
      for (ssize_t i = 0; i < n / 2; ++i) {
        if (std::abs(block[i]) <= 300) continue;
        lastSound_ = now;
        if (armed_) {
          heardAt_ = now;
          armed_ = false;
        }
        break;
      }
    }
  }

  speech_test::PulseServer server_;
  pid_t keepRunning_ = -1;
  pid_t recorder_ = -1;
  int pipe_ = -1;
  std::thread reader_;
  std::atomic<bool> armed_{false};
  std::atomic<Clock::time_point> lastSound_{};
  Clock::time_point heardAt_{};
};

std::optional<double> heardAfterHandOver(LiveHall& hall, const std::function<void()>& handOver) {
  hall.arm();
  const Clock::time_point start = Clock::now();
  handOver();
  const auto heard = hall.heard();
  if (!heard) return std::nullopt;
  return millisecondsBetween(start, *heard);
}

// Hand-over to the first sound in the hall, per phrase: the in-process engine through PulseSink
// against `espeak-ng` spawned per line playing to the same server.
void benchmarkLiveHall(const std::vector<std::string>& phrases) {
  LiveHall hall;
  if (!hall.start()) {
    std::printf("\nlive hall skipped: no PulseAudio server could be started (%s)\n",
                speech_test::PulseServer::missing().c_str());
    return;
  }
  auto synthesizer = std::make_unique<platform::EspeakSynthesizer>("");
  const int rate = synthesizer->sampleRate();
  platform::EspeakSpeechEngine engine(std::move(synthesizer),
                                      std::make_unique<platform::PulseSink>(rate));
  std::this_thread::sleep_for(std::chrono::seconds(3));  // the stream's first start
  std::vector<double> inProcess, spawned;
  const Clock::time_point zero = Clock::now();  // the hand-over times' clock, as a host's run loop
  for (const std::string& phrase : phrases) {
    if (auto ms = heardAfterHandOver(hall, [&] {
          engine.speak(platform::SpeechUtterance::initWithString(phrase),
                       std::chrono::duration_cast<platform::Duration>(Clock::now() - zero));
        }))
      inProcess.push_back(*ms);
    pid_t child = -1;
    if (auto ms = heardAfterHandOver(hall, [&] {
          child = speech_test::spawn({"espeak-ng", "-s", "175", phrase});
        }))
      spawned.push_back(*ms);
    speech_test::waitFor(child);
  }
  if (inProcess.empty() || spawned.empty()) {
    std::printf("\nlive hall: nothing was heard\n");
    return;
  }
  std::printf(
      "\n%zu phrases through a PulseAudio null sink, heard on its monitor (%zu / %zu heard)\n",
      phrases.size(), inProcess.size(), spawned.size());
  reportHeader();
  report("hand-over to first sound heard", inProcess, spawned);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::vector<std::string> phrases = gamePhrases();
  auto inProcess = std::make_optional<InProcessSpeech>();
  std::vector<double> firstIn, wholeIn, firstSpawned, wholeSpawned;
  for (int round = 0; round < rounds; ++round) {
    for (const std::string& phrase : phrases) {
      const Timing in = inProcess->speak(phrase);
      const Timing spawned = speakBySpawning(phrase);
      firstIn.push_back(in.firstSampleMs);
      wholeIn.push_back(in.wholePhraseMs);
      firstSpawned.push_back(spawned.firstSampleMs);
      wholeSpawned.push_back(spawned.wholePhraseMs);
    }
  }
  inProcess.reset();  // one synthesiser at a time in a process
  std::printf("%zu phrases x %d rounds, in-process engine (in) against espeak-ng spawned\n",
              phrases.size(), rounds);
  reportHeader();
  report("hand-over to first PCM sample", firstIn, firstSpawned);
  report("hand-over to whole phrase written", wholeIn, wholeSpawned);
  std::vector<std::string> some;
  for (std::size_t i = 0; i < phrases.size(); i += 3) some.push_back(phrases[i]);
  benchmarkLiveHall(some);
  return 0;
}
