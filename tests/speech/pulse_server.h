#pragma once

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

// A private PulseAudio server for one test: a null sink named "hall" at the synthesiser's format
// (22050 Hz mono 16-bit, so what the caller writes reaches the monitor sample for sample), its own
// runtime directory and socket, no cookie, no session bus. PULSE_SERVER is pointed at it, so the
// caller, libpulse in this process and parec all find it.
namespace speech_test {

// Runs `argv` with standard output to `outPath` (if any) and standard error to `errPath` (if any).
inline pid_t spawn(const std::vector<std::string>& argv, const std::string& outPath = "",
                   const std::string& errPath = "") {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  const auto redirect = [](const std::string& path, int fd) {
    if (path.empty()) return;
    if (FILE* file = std::fopen(path.c_str(), "w")) ::dup2(fileno(file), fd);
  };
  redirect(outPath, 1);
  redirect(errPath.empty() ? "/dev/null" : errPath, 2);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  ::execvp(args[0], args.data());
  ::_exit(127);
}

inline int waitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline bool commandExists(const std::string& name) {
  return std::system(("command -v " + name + " > /dev/null 2>&1").c_str()) == 0;
}

class PulseServer {
 public:
  static constexpr int kSampleRate = 22050;

  // Why a server cannot be started on this machine, or empty.
  static std::string missing() {
    for (const char* tool : {"pulseaudio", "pactl", "parec"})
      if (!commandExists(tool))
        return std::string(tool) + " is not installed (scripts/install-deps installs it)";
    return "";
  }

  PulseServer() : dir_(makeDirectory()) {
    ::setenv("PULSE_SERVER", ("unix:" + socket()).c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    ::setenv("HOME", dir_.c_str(), 1);  // its cookie and state stay in the test's directory
  }
  ~PulseServer() {
    stop();
    if (!std::getenv("VORLIX_KEEP_PULSE_DIR")) std::filesystem::remove_all(dir_);
  }
  PulseServer(const PulseServer&) = delete;
  PulseServer& operator=(const PulseServer&) = delete;

  // Starts the server and waits (at most ten seconds) until it answers.
  bool start() {
    pid_ = spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                  "--use-pid-file=no", "--system=false", "--disable-shm=yes", "-F", "/dev/null",
                  "--load=module-native-protocol-unix socket=" + socket() + " auth-anonymous=1",
                  "--load=module-null-sink sink_name=hall rate=22050 channels=1 format=s16le"},
                 "", dir_ + "/server.log");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (std::system("pactl info > /dev/null 2>&1") == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  // Kills the server as a crash would.
  void stop() {
    if (silence_ > 0) {
      ::kill(silence_, SIGKILL);
      waitFor(silence_);
      silence_ = -1;
    }
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    waitFor(pid_);
    pid_ = -1;
  }
  // Records the hall's monitor, raw, to `path` until the returned process is stopped. A null sink
  // with nothing to play stops, and its monitor with it, so a stream of silence keeps the hall
  // running: the recording then follows the wall clock, and silence adds nothing to the sound.
  pid_t recordHall(const std::string& path) {
    if (silence_ <= 0)
      silence_ = spawn({"sh", "-c",
                        "exec pacat --raw --format=s16le --rate=22050 --channels=1 "
                        "--latency-msec=20 < /dev/zero"});
    return spawn({"parec", "--device=hall.monitor", "--raw", "--format=s16le", "--rate=22050",
                  "--channels=1"},
                 path);
  }
  std::string directory() const { return dir_; }

 private:
  static std::string makeDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorlix-pulse-XXXXXX").string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : "";
  }
  std::string socket() const { return dir_ + "/native"; }

  std::string dir_;
  pid_t pid_ = -1;
  pid_t silence_ = -1;
};

}  // namespace speech_test
