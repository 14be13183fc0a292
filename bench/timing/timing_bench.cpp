// The calling pace of the real vorlix-caller, with speech on (synthesised into a recording): how
// late each announcement firing comes after its due time (median, p99, max) and how far the game
// drifts from the virtual clock's timeline of the same seed, for a real-clock script, the terminal
// caller under tmux and the desktop window on a scratch Xvfb (keys typed by xdotool), beside a
// bare timerfd waiting the same intervals in this process (on a thread while the window runs, so
// it meets the same moments of the machine). The program writes every firing's due and actual
// time (VORLIX_FIRING_LOG); the drift is the actual time from the first firing to the last
// against the virtual timeline's. Each run keeps its game record in a fresh file.
//
//   vorlix-timing-bench [--speeds 2,5,10] [--seconds 20] [--firings N]
//                       [--modes script,terminal,window,timerfd] [--caller PATH]
//
// By default each run lasts about `--seconds` (a bounded number of firings per speed, so the whole
// benchmark takes a few minutes); `--firings N` asks for N firings per run instead (a whole game
// is about 360 firings: at speed 10 that is eighteen minutes a run).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/timerfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options {
  std::vector<int> speeds{2, 5, 10};
  double seconds = 20.0;
  std::optional<int> firings;
  std::set<std::string> modes{"script", "terminal", "window", "timerfd"};
};

// The program timed: this build's, or another build named by --caller (an older one, say).
std::string callerPath = VORLIX_CALLER;

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
    } else if (name == "--caller") {
      callerPath = value;
    } else if (name == "--modes") {
      options.modes.clear();
      std::istringstream list(value);
      for (std::string mode; std::getline(list, mode, ',');) options.modes.insert(mode);
    } else {
      std::fprintf(stderr,
                   "usage: %s [--speeds 2,5,10] [--seconds S] [--firings N] [--modes LIST] "
                   "[--caller PATH]\n",
                   argv[0]);
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
  shell(callerPath + " --script " + script.string() + " --seed 7 --silent > " + out.string());
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
  shell("VORLIX_FIRING_LOG=" + log.string() + " " + callerPath + " --script " + script.string() +
        " --clock real --seed 7 --audio none --force --record " + (dir / "script.wav").string() +
        " > /dev/null");
  return readFiringLog(log);
}

// The terminal caller in a tmux pane: the speed key, Space, then Q after `seconds`.
std::vector<Firing> terminalRun(const fs::path& dir, int speed, double seconds) {
  const fs::path log = dir / "terminal-firings.txt";
  const std::string tmux = "tmux -L vorlix-timing-" + std::to_string(::getpid()) + " ";
  fs::remove(dir / "terminal.sqlite");
  shell(tmux + "new-session -d -x 100 -y 40 'VORLIX_FIRING_LOG=" + log.string() + " " + callerPath +
        " --terminal --seed 7 --audio none --store " + (dir / "terminal.sqlite").string() +
        " --force --record " + (dir / "terminal.wav").string() + "'");
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

// Starts a program with the environment and these variables added; its process id, 0 on failure.
pid_t spawn(std::vector<std::string> arguments, const std::vector<std::string>& variables,
            const posix_spawn_file_actions_t* actions = nullptr) {
  std::vector<char*> args;
  for (auto& argument : arguments) args.push_back(argument.data());
  args.push_back(nullptr);
  std::vector<std::string> environment(variables);
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string entry = *variable;
    const bool replaced = std::any_of(variables.begin(), variables.end(), [&](const auto& v) {
      return entry.compare(0, v.find('=') + 1, v, 0, v.find('=') + 1) == 0;
    });
    if (!replaced && entry.rfind("QT_QPA_PLATFORM=", 0) != 0) environment.push_back(entry);
  }
  std::vector<char*> env;
  for (auto& entry : environment) env.push_back(entry.data());
  env.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], actions, nullptr, args.data(), env.data()) != 0) return 0;
  return pid;
}

// A scratch X server that does not reset between clients; it names its own free display.
class ScratchDisplay {
 public:
  ScratchDisplay() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_ = spawn({"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-noreset"}, {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    char number[16] = {};
    pollfd ready{fds[0], POLLIN, 0};
    if (pid_ != 0 && ::poll(&ready, 1, 20000) == 1 && ::read(fds[0], number, 15) > 0)
      name_ = ":" + std::to_string(std::atoi(number));
    ::close(fds[0]);
  }
  ~ScratchDisplay() {
    if (pid_ == 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  const std::string& name() const { return name_; }  // empty when Xvfb did not start

 private:
  pid_t pid_ = 0;
  std::string name_;
};

// The window on `display`: once it shows, xdotool types the speed key and Space into it; after
// `seconds` it is asked to quit (SIGTERM). `alongside` runs meanwhile, from the tap on Play.
std::vector<Firing> windowRun(const fs::path& dir, int speed, double seconds,
                              const std::string& display, const std::function<void()>& alongside) {
  const fs::path log = dir / "window-firings.txt";
  fs::remove(log);
  fs::remove(dir / "window.sqlite");
  posix_spawn_file_actions_t quiet;  // the console lines go nowhere
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  const pid_t caller = spawn(
      {callerPath, "--window", "--seed", "7", "--audio", "none", "--store",
       (dir / "window.sqlite").string(), "--force", "--record", (dir / "window.wav").string()},
      {"DISPLAY=" + display, "VORLIX_FIRING_LOG=" + log.string()}, &quiet);
  posix_spawn_file_actions_destroy(&quiet);
  const std::string xdotool = "DISPLAY=" + display + " xdotool ";
  shell(xdotool + "search --sync --onlyvisible --name Vorlix windowfocus --sync key " +
        std::string(1, speedKey(speed)) + " space > /dev/null");
  auto meanwhile = std::async(std::launch::async, alongside);
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  ::kill(caller, SIGTERM);
  int status = 0;
  ::waitpid(caller, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    std::fprintf(stderr, "the window ended with status %d\n", status);
  meanwhile.wait();
  return readFiringLog(log);
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
    std::fflush(stdout);
    const auto wanted = [&](const char* mode) { return options.modes.count(mode) > 0; };
    if (wanted("script")) report("script --clock real", scriptRun(dir, speed, seconds), timeline);
    if (wanted("terminal")) report("terminal (tmux)", terminalRun(dir, speed, seconds), timeline);
    std::vector<Firing> bare;
    if (wanted("window")) {
      const ScratchDisplay display;
      if (display.name().empty()) {
        std::printf("  window: skipped (Xvfb could not be started)\n");
      } else {
        std::function<void()> alongside = [] {};
        if (wanted("timerfd")) alongside = [&] { bare = timerfdRun(timeline, count); };
        report("window (Xvfb)", windowRun(dir, speed, seconds, display.name(), alongside),
               timeline);
      }
    }
    if (wanted("timerfd")) {
      if (bare.empty()) bare = timerfdRun(timeline, count);
      report("bare timerfd", bare, timeline);
    }
    std::fflush(stdout);
  }
  fs::remove_all(dir);
  return 0;
}
