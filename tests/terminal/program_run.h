#pragma once

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
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// What the real vorlix-caller wrote and how it ended.
struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs the program with shell-quoted arguments and the given standard input, without a display
// (whoever runs the tests: --window must then refuse plainly), and with a documents directory of
// its own, so no test touches the user's game record. A program that hangs fails the test
// in two minutes instead of holding up the whole suite.
inline ProgramRun runProgram(const std::string& arguments, const std::string& input = "") {
  // Named after this test process, so tests run side by side (ctest -j) never share a file.
  const std::string stem = testing::TempDir() + "vorlix-" + std::to_string(::getpid());
  std::ofstream(stem + "-in.txt") << input;
  const std::string command =
      "timeout -k 5 120 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_DATA_HOME=" +
      stem + "-data " + std::string(VORLIX_CALLER) + " " + arguments + " < " + stem + "-in.txt > " +
      stem + "-out.txt 2> " + stem + "-err.txt";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
          fileText(stem + "-out.txt"), fileText(stem + "-err.txt")};
}
