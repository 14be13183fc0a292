// Scripted runs of the real program on the virtual clock, checked against their transcripts.
#include <set>
#include <sstream>
#include <vector>

#include "program_run.h"

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

// A whole seeded game read from standard input: every number called, the board full, the
// completion said last and shown.
TEST(ScriptedRuns, AWholeSeededGameCallsEveryNumberAndCompletes) {
  const ProgramRun game = runProgram("--script - --seed 2026", "tap Play\nuntil-idle\nboard\n");
  ASSERT_EQ(game.exitCode, 0) << game.err;
  std::set<std::string> called;
  std::string lastSaid;
  std::istringstream lines(game.out);
  for (std::string time, kind, payload; lines >> time >> kind && std::getline(lines, payload);) {
    if (kind == "title") called.insert(payload);
    if (kind == "say") lastSaid = payload;
  }
  EXPECT_EQ(called.size(), 90u);
  EXPECT_EQ(lastSaid,
            " Please keep silence! Vorlix successfully completed! Congratulations for all winners");
  EXPECT_NE(game.out.find(" alert Success! | Done! | Yes\n"), std::string::npos);
  EXPECT_NE(game.out.find(" board unfilled:\n"), std::string::npos);
}

}  // namespace
