// The real program serving its game: a scripted run on the real clock with --serve 127.0.0.1:0
// says where it serves, and a viewer on 127.0.0.1 hears every change the room sees, in order, at
// the game's moments. A board that cannot be served is refused at launch.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "board_client.h"
#include "room_harness.h"
#include "speech/pulse_server.h"
#include "support/program_run.h"

namespace vorlix::web::testing {
namespace {

using room::RoomPhase;

// The port of the first "Web board: http://127.0.0.1:PORT/" line the program writes.
std::optional<std::uint16_t> boardPort(const std::string& errPath) {
  const std::regex line(R"(Web board: http://127\.0\.0\.1:(\d+)/)");
  for (int tries = 0; tries < 1500; ++tries) {
    std::smatch found;
    const std::string text = fileText(errPath);
    if (std::regex_search(text, found, line))
      return static_cast<std::uint16_t>(std::stoi(found[1]));
    std::this_thread::sleep_for(20ms);
  }
  return std::nullopt;
}

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
  const TestFolder folder;
  std::ofstream(folder.file("run.script")) << kScript;
  const pid_t program = speech_test::spawn(
      {"timeout", "60", VORLIX_CALLER, "--script", folder.file("run.script"), "--silent", "--clock",
       "real", "--draw-order", "7,45,12,88", "--serve", "127.0.0.1:0"},
      "/dev/null", folder.file("err.txt"));
  const auto port = boardPort(folder.file("err.txt"));
  ASSERT_TRUE(port) << fileText(folder.file("err.txt"));
  EventStreamClient viewer(*port);
  std::vector<std::string> heard;
  std::vector<std::chrono::steady_clock::time_point> heardAt;
  while (auto event = viewer.next(10s)) {  // until the run ends and the board with it
    heard.push_back(event->data);
    heardAt.push_back(std::chrono::steady_clock::now());
  }
  EXPECT_EQ(speech_test::waitFor(program), 0) << fileText(folder.file("err.txt"));
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
  const TestFolder folder;
  std::ofstream(folder.file("run.script")) << "tap Play\n";
  const std::string run = "--silent --script " + folder.file("run.script").string() + " --serve ";
  const ProgramRun inUse = runProgram(run + "127.0.0.1:" + port);
  EXPECT_EQ(inUse.exitCode, 2);
  EXPECT_EQ(inUse.err, "vorlix-caller: web board: cannot listen on 127.0.0.1:" + port +
                           ": Address already in use\n");
  const ProgramRun badAddress = runProgram(run + "300.1.2.3:80");
  EXPECT_EQ(badAddress.exitCode, 2);
  EXPECT_NE(badAddress.err.find("--serve takes [ADDRESS:]PORT"), std::string::npos)
      << badAddress.err;
}

}  // namespace
}  // namespace vorlix::web::testing
