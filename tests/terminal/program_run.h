#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs the real vorlix-caller with shell-quoted arguments and the given standard input, and keeps
// what it wrote and how it ended.
struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline ProgramRun runProgram(const std::string& arguments, const std::string& input = "") {
  // Named after this test process, so tests run side by side (ctest -j) never share a file.
  const std::filesystem::path dir = testing::TempDir();
  const std::string stem = "vorlix-" + std::to_string(::getpid());
  const auto in = dir / (stem + "-in.txt");
  const auto out = dir / (stem + "-out.txt");
  const auto err = dir / (stem + "-err.txt");
  std::ofstream(in) << input;
  // Without a display, whoever runs the tests: --window must then refuse plainly.
  // A program that hangs fails the test in two minutes instead of holding up the whole suite.
  const std::string command =
      "timeout -k 5 120 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
      std::string(VORLIX_CALLER) + " " + arguments + " < " + in.string() + " > " + out.string() +
      " 2> " + err.string();
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = fileText(out);
  run.err = fileText(err);
  return run;
}

inline std::string runsDir() {
  return VORLIX_RUNS_DIR;
}
