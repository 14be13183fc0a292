// Scripted runs of the real program on the virtual clock, checked against their transcripts.
#include <algorithm>
#include <cstdint>
#include <set>
#include <sstream>
#include <vector>

#include "program_run.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The payload of each line of this kind ("12.000 title X" -> "X").
std::vector<std::string> payloads(const std::string& transcript, const std::string& kind) {
  std::vector<std::string> found;
  for (const auto& line : linesOf(transcript)) {
    const auto space = line.find(' ');
    if (line.compare(space + 1, kind.size() + 1, kind + " ") == 0)
      found.push_back(line.substr(space + kind.size() + 2));
  }
  return found;
}

TEST(ScriptedRuns, MatchTheirTranscriptsExactly) {
  struct Case {
    std::string name;
    std::string options;
  };
  const std::vector<Case> cases = {
      {"worked_run", "--draw-order 7,45"},
      {"last_five", "--draw-order 12,7,33,45,81,9"},
      {"all_numbers", "--draw-order 12,7,33,45,81,9"},
      {"restart_no", "--draw-order 7,45"},
      {"restart_yes", "--draw-order 7,45 --seed 1"},
      {"pause_resume", "--draw-order 7,45,3"},
      {"speeds_and_refused_taps", "--draw-order 7,45"},
  };
  for (const auto& run : cases) {
    SCOPED_TRACE(run.name);
    const std::string base = runsDir() + "/" + run.name;
    const ProgramRun result = runProgram("--script " + base + ".script " + run.options);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, fileText(base + ".transcript"));
  }
}

// A whole seeded game read from standard input: every number called once, the board full, the
// completion said and shown, and the same game with --silent differs only in what is spoken.
TEST(ScriptedRuns, AWholeSeededGameCallsEveryNumberOnceAndCompletes) {
  const std::string script = "tap Play\nuntil-idle\nboard\n";
  const ProgramRun game = runProgram("--script - --seed 2026", script);
  ASSERT_EQ(game.exitCode, 0) << game.err;

  std::set<std::string> called;
  for (const auto& title : payloads(game.out, "title")) called.insert(title);
  EXPECT_EQ(called.size(), 90u);
  const auto said = payloads(game.out, "say");
  ASSERT_FALSE(said.empty());
  EXPECT_EQ(said.back(),
            "Please keep silence! Vorlix successfully completed! Congratulations for all winners");
  EXPECT_EQ(std::count(said.begin(), said.end(), "Silence please! announcing last 10 numbers!"), 1);
  EXPECT_EQ(payloads(game.out, "alert"), std::vector<std::string>{"Success! | Done! | Yes"});
  const auto board = payloads(game.out, "board");
  ASSERT_EQ(board.size(), 3u);
  EXPECT_EQ(board[2], "unfilled:");
  std::istringstream marked(board[0].substr(12) + board[1].substr(7));
  std::set<int> onBoard;
  for (int n; marked >> n;) onBoard.insert(n);
  EXPECT_EQ(onBoard.size(), 90u);

  const ProgramRun silent = runProgram("--script - --seed 2026 --silent", script);
  std::string withoutSpeech;
  for (const auto& line : linesOf(game.out))
    if (line.find(" say ") == std::string::npos) withoutSpeech += line + "\n";
  EXPECT_EQ(silent.out, withoutSpeech);
}

// The screen options reach the screen: the layout follows the width and the device, but not what
// the game does; --repeat-twice calls each new number twice.
TEST(ScriptedRuns, ScreenOptionsChangeTheLayoutNotTheGame) {
  const std::string worked = "--script " + runsDir() + "/worked_run.script --draw-order 7,45 ";
  EXPECT_EQ(runProgram(worked + "--width 768 --idiom pad").out,
            fileText(runsDir() + "/worked_run.transcript"));
  const auto said = payloads(runProgram(worked + "--repeat-twice").out, "say");
  EXPECT_EQ(std::vector<std::string>(said.begin() + 1, said.end()),
            (std::vector<std::string>{"Single number 7", "Single number 7"}));
}

// On the real clock a wait really waits: the tap after it comes no earlier than the wait's end.
TEST(ScriptedRuns, OnTheRealClockAWaitTakesItsTime) {
  const ProgramRun run = runProgram("--script - --clock real --audio none --silent",
                                    "tap Play\nwait 0.3\ntap Pause\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto line = run.out.find(" tap Pause");
  ASSERT_NE(line, std::string::npos) << run.out;
  const auto start = run.out.rfind('\n', line) + 1;
  EXPECT_GE(std::stod(run.out.substr(start, line - start)), 0.3) << run.out;
}

// A scripted run on the virtual clock plays no sound but records the game as the hall would hear
// it: each line placed at its moment, so the worked run's last "45" at 15 s is in the recording.
TEST(ScriptedRuns, RecordTheGameOnItsOwnTimeline) {
  const std::string wav = testing::TempDir() + "/vorlix-worked-run.wav";
  const ProgramRun run =
      runProgram("--script " + runsDir() + "/worked_run.script --draw-order 7,45 --record " + wav);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, fileText(runsDir() + "/worked_run.transcript"));
  const std::string audio = fileText(wav);
  ASSERT_GT(audio.size(), 44u);
  const auto field = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(audio[at + i]);
    return value;
  };
  const double seconds = static_cast<double>(audio.size() - 44) / field(28);  // bytes per second
  EXPECT_GT(seconds, 15.0);
  EXPECT_LT(seconds, 25.0);
}

}  // namespace
