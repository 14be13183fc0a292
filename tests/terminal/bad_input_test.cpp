// Bad command lines and bad scripts: one clear message naming the problem, exit code 2, no crash.
#include <algorithm>
#include <vector>

#include "support/program_run.h"

namespace {

TEST(BadInput, EndsWithExitCodeTwoAndOneClearMessage) {
  struct BadInput {
    std::string arguments;
    std::string script;   // standard input
    std::string message;  // part of what the program must say
    bool help = false;    // whether it points to --help: only where it cannot say what is right
  };
  const std::string play = "tap Play\n";
  const std::vector<BadInput> cases = {
      {"--bogus", "", "there is no option --bogus", true},
      {"--seed 1 --seed 2 --script -", play, "--seed is given more than once; give it once"},
      {"--script - --voice", play, "--voice needs a value after it: --voice NAME"},
      {"--clock bad --script -", play, "--clock takes virtual or real, not \"bad\""},
      {"--audio loud --script -", play, "--audio takes auto, pulse, alsa or none, not \"loud\""},
      {"game.txt", "", "\"game.txt\" is not an option", true},
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
    EXPECT_EQ(run.err.find("(see vorlix-caller --help)") != std::string::npos, bad.help);
  }
}

// A script saved on Windows (CR LF line ends) by an editor that starts it with a UTF-8 byte order
// mark runs as any other: neither is part of a command.
TEST(BadInput, ByteOrderMarkAndCrLfAreNoPartOfTheScript) {
  const std::string script = "tap Play\nwait 2.5\ntap Remaining Numbers # all\nwait 9\nboard\n";
  std::string windows = "\xEF\xBB\xBF";
  for (const char c : script) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const ProgramRun plain = runProgram("--seed 4 --script -", script);
  const ProgramRun marked = runProgram("--seed 4 --script -", windows);
  EXPECT_EQ(marked.exitCode, 0) << marked.err;
  EXPECT_EQ(marked.out, plain.out);
}

}  // namespace
