// `make run` is the first thing a new host types: it builds the program and what it links, not
// every test and benchmark first.
#include "support/program_run.h"

namespace {

TEST(MakeRun, BuildsOnlyTheProgram) {
  if (std::system("command -v make > /dev/null 2>&1") != 0) GTEST_SKIP() << "no make";
  const std::string source = std::string(VORLIX_RUNS_DIR) + "/../../..";
  const std::string listing = testing::TempDir() + "vorlix-make-" + std::to_string(::getpid());
  ASSERT_EQ(std::system(("make -n -C " + source + " run > " + listing + " 2>&1").c_str()), 0);
  const std::string commands = fileText(listing);
  std::istringstream lines(commands);
  int builds = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.find("cmake --build") == std::string::npos) continue;
    ++builds;
    EXPECT_NE(line.find("--target vorlix-caller"), std::string::npos) << line;
  }
  EXPECT_EQ(builds, 1) << commands;
}

}  // namespace
