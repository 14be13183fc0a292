// Bad command lines and bad scripts: one clear message naming the problem, exit code 2, no crash.
#include <algorithm>
#include <vector>

#include "program_run.h"

namespace {

TEST(BadInput, EndsWithExitCodeTwoAndOneClearMessage) {
  struct BadInput {
    std::string arguments;
    std::string script;   // standard input
    std::string message;  // part of what the program must say
  };
  const std::string play = "tap Play\n";
  const std::vector<BadInput> cases = {
      {"--bogus", "", "there is no option --bogus"},
      {"--seed 1 --seed 2 --script -", play, "--seed is given more than once; give it once"},
      {"--script - --voice", play, "--voice needs a value after it: --voice NAME"},
      {"--clock bad --script -", play, "--clock takes virtual or real, not \"bad\""},
      {"--audio loud --script -", play, "--audio takes auto, pulse, alsa or none, not \"loud\""},
      {"game.txt", "", "\"game.txt\" is not an option"},
      {"--width wide --script -", play, "--width must be from 240 to 1366 points, not wide"},
      {"--seed -3 --script -", play, "--seed takes a whole number"},
      {"--draw-order 7,45,7 --script -", play, "names 7 twice"},
      {"--draw-order 91 --script -", play, "\"91\" is not one"},
      {"--terminal --script -", play, "choose one of --terminal, --window and --script"},
      {"--script /no/such/script", "", "cannot read the script /no/such/script"},
      {"--screenshot x.png", "", "--screenshot goes with --script"},
      {"--terminal", "", "needs a terminal"},
      {"--window", "", "window"},
      {"--voice no-such-voice --script -", play, "no-such-voice"},
      {"--voice ../../../../../../../etc/passwd --script -", play, "Unknown voice"},
      {"--voice ../../dev/zero --script -", play, "Unknown voice"},
      {"--script -", "tap Play\n\n# fine so far\njump 3\n",
       "script line 4: unknown command \"jump\""},
      {"--script -", "tap Go\n", "script line 1: there is no control titled \"Go\""},
      {"--script -", "wait soon\n", "script line 1: wait needs a number of seconds"},
      {"--script -", "tap Play\nwait 1\nanswer Yes\n", "script line 3: answer Yes, but no alert"},
      {"--script /dev/zero", "", "script line 1: the line is longer than 1000 characters"},
      {"--script -", "tap Play\n" + std::string(5000, 'x'), "script line 2: the line is longer"},
      {"--script -", std::string(1100000, '\n'), "is larger than 1 MiB"},
      {"--script .", "", "the script . is a folder"},
      {"--script -", "jump\x1b[2J\x07\n", "unknown command \"jump\\e[2J\\x07\""},
      {"--script -", "tap " + std::string(300, 'P') + "\n", std::string(80, 'P') + "...\""},
      {"--script -", "tap Play\nwait 1\nanswer \x1b]0;x\x07\n", "answer \\e]0;x\\x07, but"},
  };
  for (const auto& bad : cases) {
    SCOPED_TRACE(bad.arguments + " / " + bad.script);
    const ProgramRun run = runProgram(bad.arguments, bad.script);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(bad.message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.find("root:"), std::string::npos) << "a file's content was echoed";
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << "an escape sequence was echoed";
    EXPECT_LT(run.err.size(), 400u);
  }
}

// Help is offered where the message cannot say what would be right, and only there.
TEST(BadInput, PointsToHelpOnlyWhereHelpWouldHelp) {
  const std::vector<std::pair<std::string, bool>> cases = {{"--bogus", true},
                                                           {"game.txt", true},
                                                           {"--width 5 --script -", false},
                                                           {"--seed x --script -", false},
                                                           {"--voice nobody --script -", false},
                                                           {"--script /no/such", false},
                                                           {"--script - --voice", false}};
  for (const auto& [arguments, help] : cases) {
    SCOPED_TRACE(arguments);
    const ProgramRun run = runProgram(arguments, "tap Play\n");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.find("(see vorlix-caller --help)") != std::string::npos, help) << run.err;
  }
}

// A script saved by an editor that starts it with a UTF-8 byte order mark runs as any other.
TEST(BadInput, ByteOrderMarkAtTheStartOfAScriptIsSkipped) {
  const ProgramRun plain = runProgram("--seed 4 --script -", "tap Play\nwait 10\n");
  const ProgramRun marked = runProgram("--seed 4 --script -", "\xEF\xBB\xBFtap Play\nwait 10\n");
  EXPECT_EQ(marked.exitCode, 0) << marked.err;
  EXPECT_EQ(marked.out, plain.out);
}

}  // namespace
