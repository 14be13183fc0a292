// The calling pace of the real vorlix-caller, with speech on (synthesised into a recording): how
// late each announcement firing comes after its due time (median, p99, max) and how far the game
// drifts from the virtual clock's timeline of the same seed, for a real-clock script and the
// terminal caller under tmux, beside a bare timerfd waiting the same intervals in this process.
// The program writes every firing's due and actual time (VORLIX_FIRING_LOG); the drift is the
// actual time from the first firing to the last against the virtual timeline's.
//
//   vorlix-timing-bench [--speeds 2,5,10] [--seconds 20] [--firings N]
//
// By default each run lasts about `--seconds` (a bounded number of firings per speed, so the whole
// benchmark takes a few minutes); `--firings N` asks for N firings per run instead (a whole game
// is about 360 firings: at speed 10 that is over twenty minutes a run).
#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options {
  std::vector<int> speeds{2, 5, 10};
  double seconds = 20.0;
  std::optional<int> firings;
};

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--speeds") {
      options.speeds.clear();
      std::istringstream list(value);
      for (std::string speed; std::getline(list, speed, ',');)
        options.speeds.push_back(std::stoi(speed));
    } else if (name == "--seconds") {
      options.seconds = std::stod(value);
    } else if (name == "--firings") {
      options.firings = std::stoi(value);
    } else {
      std::fprintf(stderr, "usage: %s [--speeds 2,5,10] [--seconds S] [--firings N]\n", argv[0]);
      std::exit(2);
    }
  }
  return options;
}

std::string fileText(const fs::path& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

int shell(const std::string& command) {
  return std::system(command.c_str());
}

char speedKey(int speed) {
  return speed == 10 ? '0' : static_cast<char>('0' + speed);
}

// The firing times of a seeded game at `speed` on the virtual clock, in seconds after the tap on
// Play: every moment after it at which the transcript shows something.
std::vector<double> virtualTimeline(const fs::path& dir, int speed) {
  const fs::path script = dir / "virtual.script", out = dir / "virtual.txt";
  std::ofstream(script) << "tap " << speed << "\ntap Play\nuntil-idle\n";
  shell(std::string(VORLIX_CALLER) + " --script " + script.string() + " --seed 7 --silent > " +
        out.string());
  std::vector<double> times;
  std::istringstream lines(fileText(out));
  std::optional<double> play;
  for (std::string line; std::getline(lines, line);) {
    const double time = std::stod(line.substr(0, line.find(' ')));
    if (!play && line.find(" tap Play") != std::string::npos) play = time;
    if (play && time > *play && (times.empty() || times.back() < time - *play))
      times.push_back(time - *play);
  }
  return times;
}

struct Firing {
  long long due;
  long long actual;
};

std::vector<Firing> readFiringLog(const fs::path& path) {
  std::vector<Firing> firings;
  std::ifstream log(path);
  for (Firing f{}; log >> f.due >> f.actual;) firings.push_back(f);
  return firings;
}

double percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(index, values.size() - 1)];
}

void report(const char* what, const std::vector<Firing>& firings,
            const std::vector<double>& timeline) {
  std::vector<double> late;
  for (const auto& f : firings) late.push_back(static_cast<double>(f.actual - f.due) / 1e6);
  double drift = 0.0;
  const std::size_t n = std::min(firings.size(), timeline.size());
  if (n >= 2) {
    const double played = static_cast<double>(firings[n - 1].actual - firings[0].actual) / 1e6;
    drift = played - (timeline[n - 1] - timeline[0]) * 1000.0;
  }
  std::printf("  %-22s %5zu firings  median %7.3f  p99 %7.3f  max %7.3f  drift %8.3f ms\n", what,
              firings.size(), percentile(late, 0.5), percentile(late, 0.99), percentile(late, 1.0),
              drift);
}

// A real-clock script: tap the speed and Play, then let the clock run.
std::vector<Firing> scriptRun(const fs::path& dir, int speed, double seconds) {
  const fs::path script = dir / "real.script", log = dir / "script-firings.txt";
  std::ofstream(script) << "tap " << speed << "\ntap Play\nwait " << seconds << "\n";
  shell("VORLIX_FIRING_LOG=" + log.string() + " " + VORLIX_CALLER + " --script " + script.string() +
        " --clock real --seed 7 --audio none --force --record " + (dir / "script.wav").string() +
        " > /dev/null");
  return readFiringLog(log);
}

// The terminal caller in a tmux pane: the speed key, Space, then Q after `seconds`.
std::vector<Firing> terminalRun(const fs::path& dir, int speed, double seconds) {
  const fs::path log = dir / "terminal-firings.txt";
  const std::string tmux = "tmux -L vorlix-timing-" + std::to_string(::getpid()) + " ";
  shell(tmux + "new-session -d -x 100 -y 40 'VORLIX_FIRING_LOG=" + log.string() + " " +
        VORLIX_CALLER + " --terminal --seed 7 --audio none --force --record " +
        (dir / "terminal.wav").string() + "'");
  for (int i = 0; i < 100; ++i) {  // until the board is up, at most 10 s
    if (shell(tmux + "capture-pane -p | grep -q 'Remaining Numbers'") == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  shell(tmux + "send-keys " + std::string(1, speedKey(speed)) + " Space");
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  shell(tmux + "send-keys q");
  for (int i = 0; i < 300 && shell(tmux + "has-session 2> /dev/null") == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  shell(tmux + "kill-server 2> /dev/null");
  return readFiringLog(log);
}

// The same intervals waited by a bare timerfd, each counted from the due time of the one before.
std::vector<Firing> timerfdRun(const std::vector<double>& timeline, std::size_t count) {
  const int fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
  const long long start =
      std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
          .count() +
      50'000'000;
  std::vector<Firing> firings;
  for (std::size_t i = 0; i < count && i < timeline.size(); ++i) {
    const long long due = start + static_cast<long long>((timeline[i] - timeline[0]) * 1e9 + 0.5);
    itimerspec at{};
    at.it_value = {static_cast<time_t>(due / 1'000'000'000),
                   static_cast<long>(due % 1'000'000'000)};
    ::timerfd_settime(fd, TFD_TIMER_ABSTIME, &at, nullptr);
    pollfd wait{fd, POLLIN, 0};
    ::poll(&wait, 1, -1);
    const long long actual =
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
            .count();
    std::uint64_t expirations = 0;
    if (::read(fd, &expirations, sizeof expirations) < 0) break;
    firings.push_back({due, actual});
  }
  ::close(fd);
  return firings;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parseOptions(argc, argv);
  const fs::path dir = fs::temp_directory_path() / ("vorlix-timing-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::printf("Announcement firings of vorlix-caller with speech on (recorded), seed 7\n");
  std::printf("lateness after the due time and drift over the run, milliseconds\n");
  for (const int speed : options.speeds) {
    const std::vector<double> timeline = virtualTimeline(dir, speed);
    if (timeline.size() < 2) {
      std::fprintf(stderr, "no virtual timeline at speed %d\n", speed);
      return 1;
    }
    // Firing k comes timeline[k] after Play; run until just past the last one wanted.
    std::size_t count = timeline.size();
    if (options.firings)
      count = std::min(count, static_cast<std::size_t>(*options.firings));
    else
      count = static_cast<std::size_t>(
          std::upper_bound(timeline.begin(), timeline.end(), options.seconds) - timeline.begin());
    count = std::max<std::size_t>(count, 2);
    const double seconds = timeline[count - 1] + 0.3;
    std::printf("speed %d: %zu firings, %.1f s a run\n", speed, count, seconds);
    report("script --clock real", scriptRun(dir, speed, seconds), timeline);
    report("terminal (tmux)", terminalRun(dir, speed, seconds), timeline);
    report("bare timerfd", timerfdRun(timeline, count), timeline);
  }
  fs::remove_all(dir);
  return 0;
}
