// A scripted run stopped by a signal ends with that signal's exit code, not as a finished script.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "support/program_run.h"

namespace {

// Whether the process has its own handler for `signal` yet (from /proc/PID/status).
bool catches(pid_t pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("SigCgt:", 0) == 0)
      return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1u;
  return false;
}

// Starts the caller on a script that waits for minutes, signals it once it listens for signals,
// and returns how it ended.
int exitCodeWhenSignalled(const std::string& clock, int signal) {
  const std::string script = testing::TempDir() + "vorlix-long-" + std::to_string(::getpid());
  std::ofstream(script) << "tap Play\nwait 600\nwait 600\n";
  const std::string caller = VORLIX_CALLER;
  std::vector<std::string> arguments{caller, "--script", script, "--clock", clock, "--silent"};
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, caller.c_str(), &files, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&files);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!catches(pid, signal) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ::kill(pid, signal);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

TEST(InterruptedScript, EndsWithTheExitCodeOfTheSignal) {
  for (const auto& [signal, code] : {std::pair{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}}) {
    SCOPED_TRACE(signal);
    EXPECT_EQ(exitCodeWhenSignalled("real", signal), code);
  }
}

}  // namespace
