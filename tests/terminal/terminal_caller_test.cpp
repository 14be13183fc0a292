// The terminal caller as a person sees it, under tmux: keys sent with send-keys, the screen read
// with capture-pane. Nothing here sleeps for timing: each check polls the screen until the text
// it waits for appears, with a generous limit.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "support/program_run.h"

namespace {

std::string commandOutput(const std::string& command) {
  std::string output;
  if (FILE* pipe = ::popen((command + " 2> /dev/null").c_str(), "r")) {
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
      output.append(buffer, n);
    ::pclose(pipe);
  }
  return output;
}

bool haveTmux() {
  return std::system("command -v tmux > /dev/null 2>&1") == 0;
}

// One tmux server of our own, with one window of a fixed size running a plain shell, in which the
// caller is started as a person would. The shell's data home is a folder of its own, so the games
// the caller keeps there never reach a user's record.
class TmuxShell {
 public:
  TmuxShell(int columns, int rows)
      : name_("vorlix-test-" + std::to_string(::getpid()) + "-" + std::to_string(++instances)),
        tmux_("tmux -L " + name_ + " "),
        dataHome_(std::filesystem::path(testing::TempDir()) / name_) {
    std::filesystem::create_directories(dataHome_);
    run("new-session -d -s caller -x " + std::to_string(columns) + " -y " + std::to_string(rows) +
        " 'env XDG_DATA_HOME=" + dataHome_.string() + " bash --norc --noprofile -i'");
    waitFor("bash-[0-9.]+[$#]");
  }
  ~TmuxShell() {
    run("kill-server");
    std::filesystem::remove_all(dataHome_);
  }
  // Where the caller keeps its games by default in this shell.
  std::filesystem::path storeFile() const { return dataHome_ / "vorlix-caller" / "Vorlix.sqlite"; }

  // Types the command that starts the caller with these arguments; true once its panel shows.
  bool startCaller(const std::string& arguments) const {
    keys("'" + std::string(VORLIX_CALLER) + " " + arguments + "' Enter");
    return waitFor("M:Remaining Numbers");
  }
  // Asks the shell how the caller ended, and checks the terminal is back as it was: the main
  // screen, with the cursor shown.
  void expectEndedWith(int code) const {
    // Keys typed before the caller has given the terminal back are its own, and go with its
    // keyboard mode: the question is only typed once the shell is alone again.
    EXPECT_TRUE(waitUntil([this] { return callerProcess() == 0; })) << screen();
    keys("'echo caller-ended-with-$?' Enter");  // single quotes: $? is the shell's in the pane
    EXPECT_TRUE(waitFor("\ncaller-ended-with-" + std::to_string(code) + "\n")) << screen();
    EXPECT_EQ(query("#{alternate_on} #{cursor_flag}"), "0 1\n");
  }

  std::string screen() const { return commandOutput(tmux_ + "capture-pane -p -t caller"); }
  std::string query(const std::string& format) const {
    return commandOutput(tmux_ + "display-message -p -t caller '" + format + "'");
  }
  // The caller's process: the child of the shell in the pane.
  pid_t callerProcess() const {
    const std::string shell = std::to_string(std::atoi(query("#{pane_pid}").c_str()));
    std::ifstream children("/proc/" + shell + "/task/" + shell + "/children");
    pid_t child = 0;
    children >> child;
    return child;
  }
  void keys(const std::string& keys) const { run("send-keys -t caller " + keys); }
  void resize(int columns, int rows) const {
    run("resize-window -t caller -x " + std::to_string(columns) + " -y " + std::to_string(rows));
  }

  // Polls until the condition holds, for at most `limit`.
  template <class Condition>
  static bool waitUntil(Condition holds, std::chrono::seconds limit = std::chrono::seconds(15)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      if (holds()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  // Polls the screen until it matches, for at most `limit`.
  bool waitFor(const std::string& pattern,
               std::chrono::seconds limit = std::chrono::seconds(15)) const {
    const std::regex wanted(pattern);
    return waitUntil([&] { return std::regex_search(screen(), wanted); }, limit);
  }

 private:
  void run(const std::string& command) const {
    [[maybe_unused]] const int status =
        std::system((tmux_ + command + " > /dev/null 2>&1").c_str());
  }
  static inline int instances = 0;
  std::string name_;
  std::string tmux_;
  std::filesystem::path dataHome_;
};

TEST(TerminalCaller, PlaysSaysWhenTooSmallSuspendsAndQuitsCleanlyUnderTmux) {
  if (!haveTmux()) GTEST_SKIP() << "tmux is not installed";
  // The smallest terminal the caller takes: the title stays on the first row.
  TmuxShell shell(66, 21);
  ASSERT_TRUE(shell.startCaller("--terminal --seed 5 --audio none")) << shell.screen();
  EXPECT_TRUE(shell.waitFor("^ Vorlix @ Korvanda Castle\\s")) << shell.screen();
  EXPECT_TRUE(shell.waitFor("Space:Play.*F2:L2.*F10:L10.*A:ALL.*R:Re-start"));

  shell.keys("Space");
  EXPECT_TRUE(shell.waitFor("Said: Welcome to Vorlix game!")) << shell.screen();
  ASSERT_TRUE(shell.waitFor("Vorlix @ Korvanda Castle \\[[0-9]+\\]")) << shell.screen();
  // The number in the title is the one marked on the board: ">45<", or "> 7<".
  std::smatch called;
  const std::string screen = shell.screen();
  ASSERT_TRUE(std::regex_search(screen, called, std::regex("Castle \\[([0-9]+)\\]")));
  EXPECT_TRUE(shell.waitFor(">\\s?" + called[1].str() + "<")) << shell.screen();

  shell.resize(40, 12);
  EXPECT_TRUE(shell.waitFor("terminal is too small[\\s\\S]*needs 66 columns and 21 rows"))
      << shell.screen();
  shell.resize(80, 26);
  EXPECT_TRUE(shell.waitFor("Space:Play")) << shell.screen();

  // Ctrl-Z gives the terminal back while the caller is stopped; fg takes it again and redraws.
  shell.keys("C-z");
  EXPECT_TRUE(shell.waitFor("Stopped")) << shell.screen();
  EXPECT_EQ(shell.query("#{alternate_on} #{cursor_flag}"), "0 1\n");
  shell.keys("fg Enter");
  EXPECT_TRUE(shell.waitFor("M:Remaining Numbers")) << shell.screen();
  EXPECT_EQ(shell.query("#{alternate_on}"), "1\n");

  shell.keys("C-c");
  shell.expectEndedWith(0);
}

// A display that is named but does not answer: the caller says so in one line and runs in the
// terminal; asked for the window, it says so and ends with code 2 (Qt would abort).
TEST(TerminalCaller, DisplayThatDoesNotAnswerFallsBackToTheTerminal) {
  if (!haveTmux()) GTEST_SKIP() << "tmux is not installed";
  TmuxShell shell(80, 26);
  const std::string caller = "DISPLAY=:99 " + std::string(VORLIX_CALLER);
  shell.keys("'" + caller + " --window' Enter");
  EXPECT_TRUE(shell.waitFor("display :99 does not answer, so there is no window to show"))
      << shell.screen();
  shell.expectEndedWith(2);
  shell.keys("'clear; " + caller + " --seed 5 --silent --audio none' Enter");
  ASSERT_TRUE(shell.waitFor("M:Remaining Numbers")) << shell.screen();
  shell.keys("C-c");
  shell.expectEndedWith(0);
  EXPECT_TRUE(shell.waitFor("display :99 does not answer; the caller runs in this terminal\n"))
      << shell.screen();
}

// SIGTERM ends the caller as a quit does; a crash signal still leaves the terminal as it was.
TEST(TerminalCaller, SignalsLeaveTheTerminalClean) {
  if (!haveTmux()) GTEST_SKIP() << "tmux is not installed";
  for (const auto& [signalNumber, exitCode] : {std::pair{SIGTERM, 0}, std::pair{SIGSEGV, 139}}) {
    SCOPED_TRACE(exitCode);
    TmuxShell shell(80, 26);
    ASSERT_TRUE(shell.startCaller("--terminal --seed 5 --silent --audio none")) << shell.screen();
    const pid_t process = shell.callerProcess();
    ASSERT_GT(process, 0);
    ASSERT_EQ(::kill(process, signalNumber), 0);
    shell.expectEndedWith(exitCode);
  }
}

// A second caller on a record in use says so on its status line (standard error is hidden under
// the board) and calls without keeping.
TEST(TerminalCaller, SaysOnItsStatusLineWhenTheRecordIsInUse) {
  if (!haveTmux()) GTEST_SKIP() << "tmux is not installed";
  TmuxShell shell(150, 26);
  ASSERT_TRUE(shell.startCaller("--terminal --silent --audio none")) << shell.screen();
  TmuxShell second(150, 26);
  ASSERT_TRUE(
      second.startCaller("--terminal --silent --audio none --store " + shell.storeFile().string()))
      << second.screen();
  EXPECT_TRUE(second.waitFor(" The game record \"" + shell.storeFile().string() +
                             "\" is in use by another running caller; the game goes on without"))
      << second.screen();
  second.keys("Space");
  EXPECT_TRUE(second.waitFor("Castle \\[[0-9]+\\]")) << second.screen();
  second.keys("q");
  second.expectEndedWith(0);
  shell.keys("q");
  shell.expectEndedWith(0);
}

}  // namespace
