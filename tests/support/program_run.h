#pragma once

// Runs the real vorlix-caller (or any shell command line) and reads back what it wrote, with a
// folder of each test's own for the files it uses.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

inline std::string fileText(const std::filesystem::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// A fresh folder for one test, named after the process and the test so that tests run side by
// side never share one, and removed with all in it when the test ends.
class TestFolder {
 public:
  TestFolder()
      : path_(std::filesystem::path(testing::TempDir()) /
              ("vorlix-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path file(const std::string& name = "Vorlix.sqlite") const {
    return path_ / name;
  }

 private:
  std::filesystem::path path_;
};

// What a command wrote and how it ended (128 + the signal for one that a signal ended).
struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs a shell command line with the given standard input. Its files are named after this test
// process, so tests run side by side (ctest -j) never share one.
inline ProgramRun runShell(const std::string& command, const std::string& input = "") {
  const std::string stem = testing::TempDir() + "vorlix-" + std::to_string(::getpid());
  std::ofstream(stem + "-in.txt") << input;
  const int status = std::system(
      ("(" + command + ") < " + stem + "-in.txt > " + stem + "-out.txt 2> " + stem + "-err.txt")
          .c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
          fileText(stem + "-out.txt"), fileText(stem + "-err.txt")};
}

#ifdef VORLIX_CALLER
// Runs the program with shell-quoted arguments, without a display (whoever runs the tests:
// --window must then refuse plainly), and with a documents directory of its own, so no test
// touches the user's game record. With `killAfter` seconds it is killed with SIGKILL then if
// still running, and gone when this returns (exit code 137); else a program that hangs fails the
// test in two minutes instead of holding up the whole suite.
inline ProgramRun runProgram(const std::string& arguments, const std::string& input = "",
                             double killAfter = 0.0) {
  const std::string limit = killAfter > 0.0
                                ? "timeout --foreground -s KILL " + std::to_string(killAfter)
                                : "timeout -k 5 120";
  return runShell(limit + " env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME=" +
                      testing::TempDir() + "vorlix-" + std::to_string(::getpid()) + "-data " +
                      VORLIX_CALLER + " " + arguments,
                  input);
}
#endif
