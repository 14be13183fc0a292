// The real program serving its game: a scripted run on the real clock with --serve 127.0.0.1:0
// says where it serves, and a viewer on 127.0.0.1 hears every change the room sees, in order, at
// the game's moments. A board that cannot be served is refused at launch.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "board_client.h"
#include "room_harness.h"

extern char** environ;

namespace vorlix::web::testing {
namespace {

using room::RoomPhase;

std::string fileText(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// The program running in the background, its standard error in a file of this test's own.
class RunningProgram {
 public:
  RunningProgram(const std::vector<std::string>& arguments, const std::string& script) {
    const std::string stem = ::testing::TempDir() + "vorlix-board-" + std::to_string(::getpid()) +
                             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ofstream(stem + ".script") << script;
    errPath_ = stem + ".err";
    std::vector<std::string> words = {VORLIX_CALLER, "--script", stem + ".script", "--silent"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errPath_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_EQ(posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
  }
  ~RunningProgram() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  // The port of the first "Web board: http://127.0.0.1:PORT/" line, once it is written.
  std::optional<std::uint16_t> boardPort(std::chrono::seconds limit = 30s) {
    const std::regex line(R"(Web board: http://127\.0\.0\.1:(\d+)/)");
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      std::smatch found;
      const std::string text = fileText(errPath_);
      if (std::regex_search(text, found, line))
        return static_cast<std::uint16_t>(std::stoi(found[1]));
      std::this_thread::sleep_for(20ms);
    }
    return std::nullopt;
  }

  // The exit code, once it has ended (-1 when it does not end in time).
  int exitCode(std::chrono::seconds limit = 60s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(20ms);
    }
    return -1;
  }
  std::string errors() const { return fileText(errPath_); }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
  std::string errPath_;
};

// Speed 2 (the fastest), the first calls, a pause, a recall, a restart. Each move falls well
// between two of the game's moments (7 at 5.4 s, 45 at 7.4 s, the recall's end at 14.1 s), so the
// real clock and the virtual one see the same order.
const std::string kScript =
    "tap 2\nwait 3\ntap Play\nwait 5.5\ntap Pause\ntap L2\nwait 7\ntap Re-start\nanswer Yes\n"
    "wait 0.5\n";

// The same moves in this process on the virtual clock: every state the room should see.
std::vector<std::string> statesTheRoomSees() {
  RoomHarness h({7, 45, 12, 88});
  h.press("2");
  h.advance(3);
  h.press("Play");
  h.advance(5.5);
  h.press("Pause");
  h.press("L2");
  h.advance(7);
  h.press("Re-start");
  h.answer("Yes");
  h.advance(0.5);
  std::vector<std::string> json;
  for (const auto& state : h.shown) json.push_back(room::toJson(state));
  return json;
}

TEST(ProgramBoard, ScriptedRunOnTheRealClockServesEveryChangeAtItsMoment) {
  const std::vector<std::string> expected = statesTheRoomSees();
  ASSERT_GE(expected.size(), 8u);
  RunningProgram program(
      {"--clock", "real", "--draw-order", "7,45,12,88", "--serve", "127.0.0.1:0"}, kScript);
  const auto port = program.boardPort();
  ASSERT_TRUE(port) << program.errors();
  EventStreamClient viewer(*port);
  std::vector<std::string> heard;
  std::vector<std::chrono::steady_clock::time_point> heardAt;
  while (auto event = viewer.next(10s)) {  // until the run ends and the board with it
    heard.push_back(event->data);
    heardAt.push_back(std::chrono::steady_clock::now());
  }
  EXPECT_EQ(program.exitCode(), 0) << program.errors();
  // The viewer came in during the first wait, so it heard the whole game from there on.
  ASSERT_FALSE(heard.empty());
  const auto first = std::find(expected.begin(), expected.end(), heard.front());
  ASSERT_NE(first, expected.end()) << heard.front();
  EXPECT_LE(first - expected.begin(), 1);
  EXPECT_EQ(heard, std::vector<std::string>(first, expected.end()));

  // Events leave at the game's moments: 7 is announced 2.4 s after Play at speed 2.
  const auto at = [&](RoomPhase phase, std::vector<int> calls, std::optional<int> current) {
    const auto it = std::find(heard.begin(), heard.end(),
                              room::toJson(roomState(phase, std::move(calls), current)));
    EXPECT_NE(it, heard.end());
    return heardAt[static_cast<std::size_t>(it - heard.begin())];
  };
  const auto play = at(RoomPhase::Calling, {}, {});
  const auto seven = at(RoomPhase::Calling, {7}, 7);
  EXPECT_GE(seven - play, 2200ms);
}

TEST(ProgramBoard, BoardThatCannotBeServedIsRefusedAtLaunch) {
  WebBoardOptions taken;
  taken.listen = {"127.0.0.1", 0};
  const WebBoardServer holder(taken);
  const std::string port = std::to_string(holder.port());
  RunningProgram inUse({"--serve", "127.0.0.1:" + port}, "tap Play\n");
  EXPECT_EQ(inUse.exitCode(), 2);
  EXPECT_EQ(inUse.errors(), "vorlix-caller: web board: cannot listen on 127.0.0.1:" + port +
                                ": Address already in use\n");
  RunningProgram badAddress({"--serve", "300.1.2.3:80"}, "tap Play\n");
  EXPECT_EQ(badAddress.exitCode(), 2);
  EXPECT_NE(badAddress.errors().find("--serve takes [ADDRESS:]PORT"), std::string::npos)
      << badAddress.errors();
}

}  // namespace
}  // namespace vorlix::web::testing
