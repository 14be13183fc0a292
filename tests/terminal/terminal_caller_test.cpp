// The terminal caller as a person sees it, under tmux: keys sent with send-keys, the screen read
// with capture-pane. Nothing here sleeps for timing: each check polls the screen until the text
// it waits for appears, with a generous limit.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <thread>

#include "program_run.h"

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

// One tmux server of our own, with one window of a fixed size running the caller.
class TmuxCaller {
 public:
  // The pane runs the caller with these arguments, then says how it ended.
  TmuxCaller(const std::string& arguments, int columns, int rows)
      : tmux_("tmux -L vorlix-test-" + std::to_string(::getpid()) + "-" +
              std::to_string(++instances) + " ") {
    run("new-session -d -s caller -x " + std::to_string(columns) + " -y " + std::to_string(rows) +
        " '" + VORLIX_CALLER + " " + arguments + "; echo caller-ended-with-$?; sleep 60'");
  }
  ~TmuxCaller() { run("kill-server"); }

  std::string screen() const { return commandOutput(tmux_ + "capture-pane -p -t caller"); }
  std::string query(const std::string& format) const {
    return commandOutput(tmux_ + "display-message -p -t caller '" + format + "'");
  }
  // The caller's process: the child of the shell that runs the pane's command.
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

  // Polls the screen until it matches, for at most `limit`.
  bool waitFor(const std::string& pattern,
               std::chrono::seconds limit = std::chrono::seconds(15)) const {
    const std::regex wanted(pattern);
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      if (std::regex_search(screen(), wanted)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

 private:
  void run(const std::string& command) const {
    [[maybe_unused]] const int status =
        std::system((tmux_ + command + " > /dev/null 2>&1").c_str());
  }
  static inline int instances = 0;
  std::string tmux_;
};

TEST(TerminalCaller, PlaysSaysWhenTooSmallAndQuitsCleanlyUnderTmux) {
  if (!haveTmux()) GTEST_SKIP() << "tmux is not installed";
  TmuxCaller caller("--terminal --seed 5 --audio none", 80, 26);
  ASSERT_TRUE(caller.waitFor("Vorlix @ Korvanda Castle\\s")) << caller.screen();
  EXPECT_TRUE(caller.waitFor("Space Play.*F2 L2.*F10 L10.*A ALL.*R Re-start"));

  caller.keys("Space");
  EXPECT_TRUE(caller.waitFor("Said: Welcome to Vorlix game!")) << caller.screen();
  ASSERT_TRUE(caller.waitFor("Vorlix @ Korvanda Castle \\[[0-9]+\\]")) << caller.screen();
  // The number in the title is the one marked on the board: ">45<", or "> 7<".
  std::smatch called;
  const std::string screen = caller.screen();
  ASSERT_TRUE(std::regex_search(screen, called, std::regex("Castle \\[([0-9]+)\\]")));
  EXPECT_TRUE(caller.waitFor(">\\s?" + called[1].str() + "<")) << caller.screen();

  caller.resize(40, 12);
  EXPECT_TRUE(caller.waitFor("terminal is too small[\\s\\S]*needs 66 columns and 21 rows"))
      << caller.screen();
  caller.resize(80, 26);
  EXPECT_TRUE(caller.waitFor("Space Play")) << caller.screen();

  caller.keys("C-c");
  EXPECT_TRUE(caller.waitFor("caller-ended-with-0")) << caller.screen();
  EXPECT_EQ(caller.query("#{alternate_on} #{cursor_flag}"), "0 1\n");
}

// SIGTERM ends the caller as a quit does; a crash signal still leaves the terminal as it was.
TEST(TerminalCaller, SignalsLeaveTheTerminalClean) {
  if (!haveTmux()) GTEST_SKIP() << "tmux is not installed";
  for (const auto& [signalNumber, ending] :
       {std::pair{SIGTERM, "caller-ended-with-0"}, std::pair{SIGSEGV, "caller-ended-with-139"}}) {
    SCOPED_TRACE(ending);
    TmuxCaller caller("--terminal --seed 5 --silent --audio none", 80, 26);
    ASSERT_TRUE(caller.waitFor("M Remaining Numbers")) << caller.screen();
    const pid_t process = caller.callerProcess();
    ASSERT_GT(process, 0);
    ASSERT_EQ(::kill(process, signalNumber), 0);
    EXPECT_TRUE(caller.waitFor(ending)) << caller.screen();
    EXPECT_EQ(caller.query("#{alternate_on} #{cursor_flag}"), "0 1\n");
  }
}

}  // namespace
