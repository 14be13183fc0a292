// Scripted runs of the real program on the virtual clock, checked against their transcripts.
#include <vector>

#include "support/program_run.h"

namespace {

TEST(ScriptedRuns, MatchTheirTranscriptsExactly) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"worked_run", "--draw-order 7,45"},
      {"last_five", "--draw-order 12,7,33,45,81,9"},
      {"all_numbers", "--draw-order 12,7,33,45,81,9"},
      {"restart_no", "--draw-order 7,45"},
      {"restart_yes", "--draw-order 7,45 --seed 1"},
      {"pause_resume", "--draw-order 7,45,3"},
      {"speeds_and_refused_taps", "--draw-order 7,45"},
      {"speed_change", "--draw-order 7,45"},
      {"repeat_twice", "--repeat-twice --draw-order 7,45"},
  };
  for (const auto& [name, options] : cases) {
    SCOPED_TRACE(name);
    const std::string base = std::string(VORLIX_RUNS_DIR) + "/" + name;
    const ProgramRun result = runProgram("--script " + base + ".script " + options);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, fileText(base + ".transcript"));
  }
}

}  // namespace
