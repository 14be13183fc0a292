// Bad command lines and bad scripts: one clear message naming the problem, exit code 2, no crash.
#include <algorithm>
#include <vector>

#include "program_run.h"

namespace {

struct BadInput {
  std::string arguments;
  std::string script;   // standard input
  std::string message;  // part of what the program must say
};

TEST(BadInput, EndsWithExitCodeTwoAndOneClearMessage) {
  const std::string play = "tap Play\n";
  const std::vector<BadInput> cases = {
      {"--bogus", "", "--bogus"},
      {"--width 100 --script -", play, "--width must be from 240 to 1366 points, not 100"},
      {"--width wide --script -", play, "--width must be from 240 to 1366 points, not wide"},
      {"--seed -3 --script -", play, "--seed takes a whole number"},
      {"--draw-order 7,45,7 --script -", play, "names 7 twice"},
      {"--draw-order 0,3 --script -", play, "\"0\" is not one"},
      {"--draw-order 91 --script -", play, "\"91\" is not one"},
      {"--draw-order 4,,5 --script -", play, "\"\" is not one"},
      {"--draw-order 4, --script -", play, "--draw-order takes numbers from 1 to 90"},
      {"--idiom watch --script -", play, "--idiom"},
      {"--clock fast --script -", play, "--clock"},
      {"--terminal --clock virtual", "", "--clock only applies to --script runs"},
      {"--terminal --script -", play, "choose one of --terminal, --window and --script"},
      {"--script /no/such/script", "", "cannot read the script /no/such/script"},
      {"--terminal", "", "needs a terminal"},
      {"--window", "", "window"},
      {"--voice no-such-voice --script -", play, "no-such-voice"},
      {"--audio loud --script -", play, "--audio"},
      {"--record /no/such/dir/game.wav --script -", play, "/no/such/dir/game.wav"},
      {"--script -", "tap Play\n\n# fine so far\njump 3\n",
       "script line 4: unknown command \"jump\""},
      {"--script -", "tap Go\n", "script line 1: there is no control titled \"Go\""},
      {"--script -", "wait -1\n", "script line 1: wait needs a number of seconds"},
      {"--script -", "wait soon\n", "script line 1: wait needs a number of seconds"},
      {"--script -", "board now\n", "script line 1: board takes nothing after it"},
      {"--script -", "tap Play\nwait 1\nanswer Yes\n", "script line 3: answer Yes, but no alert"},
      {"--script -", "tap Re-start\nanswer Maybe\n",
       "script line 2: the alert \"Re-start\" has no button titled \"Maybe\""},
  };
  for (const auto& bad : cases) {
    SCOPED_TRACE(bad.arguments + " / " + bad.script);
    const ProgramRun run = runProgram(bad.arguments, bad.script);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(bad.message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
}

// A script that fails half-way has printed the transcript up to the failing line.
TEST(BadInput, AFailingScriptKeepsTheTranscriptSoFar) {
  const ProgramRun run = runProgram("--script - --draw-order 7", "tap Play\nwait 6\nanswer No\n");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.out.find("6.000 say Single number 7\n"), std::string::npos);
}

TEST(BadInput, HelpAndVersionSucceed) {
  const ProgramRun help = runProgram("--help");
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--terminal", "--window", "--script", "--seed", "--draw-order",
                             "--clock", "--width", "--idiom", "--silent", "--repeat-twice"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  const ProgramRun version = runProgram("--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("vorlix-caller ", 0), 0u);
}

}  // namespace
