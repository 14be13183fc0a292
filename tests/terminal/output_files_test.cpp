// What a run writes besides the screen: the recording and the transcript. A file that must not be
// replaced is refused before anything runs; a write that fails is told once and fails the run.
#include <algorithm>
#include <vector>

#include "support/program_run.h"

namespace {

TEST(OutputFiles, AreCheckedBeforeTheRunAndEveryFailedWriteIsToldOnce) {
  struct Case {
    std::string command;
    int exitCode;
    std::string message;
    bool transcript;  // whether the game was played
  };
  const std::vector<Case> cases = {
      {"$CALLER --script game.txt --record game.txt", 2, "which is the script being run", false},
      {"$CALLER --script - --record game.wav --force < game.txt; cp game.txt game.wav; "
       "$CALLER --script - --record game.wav --force < game.wav",
       2, "which is the script being run", true},
      {"$CALLER --script game.txt --record kept.wav", 2, "add --force to replace it", false},
      {"$CALLER --script game.txt --record game.mp3", 2, "name the file *.wav", false},
      {"$CALLER --script game.txt --screenshot game.jpg", 2, "name the file *.png", false},
      {"$CALLER --script game.txt --screenshot no/such/folder/game.png", 2, "cannot write", false},
      {"ulimit -f 100; trap \"\" XFSZ; exec $CALLER --script game.txt --record cut.wav", 1,
       "The recording cut.wav could not be written (File too large)", true},
      {"$CALLER --script long.txt --record long.wav", 1, "4 GiB of sound a WAV file can hold",
       true},
      {"$CALLER --script game.txt > /dev/full", 1, "the transcript could not all be written",
       false},
      {"$CALLER --script game.txt >&-", 1, "the transcript could not all be written", false},
      // The recording opened while standard output is closed must not receive the transcript.
      {"$CALLER --script game.txt --record r.wav >&-; e=$?; grep -q ready r.wav && exit 9; exit $e",
       1, "the transcript could not all be written", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const TestFolder folder;
    std::ofstream(folder.file("game.txt")) << "tap Play\nwait 30\n";
    std::ofstream(folder.file("kept.wav")) << "a file nobody asked to replace";
    // Three days paused, then Play: the silence would pass what a WAV header can count.
    std::ofstream(folder.file("long.txt"))
        << "tap Play\nwait 10\ntap Pause\nwait 86400\nwait 86400\nwait 86400\ntap Play\nwait 10\n";
    const ProgramRun run =
        runShell("cd " + folder.path().string() + " && CALLER=" + VORLIX_CALLER +
                 " timeout -k 5 120 env -u DISPLAY -u WAYLAND_DISPLAY bash -c '" + c.command + "'");
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out.find("tap Play") != std::string::npos, c.transcript) << run.out;
    EXPECT_EQ(fileText(folder.file("game.txt")), "tap Play\nwait 30\n");
    EXPECT_EQ(fileText(folder.file("kept.wav")), "a file nobody asked to replace");
  }
}

}  // namespace
