#include "room/room_state.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/web/scripted_room.h"

namespace vorlix::room {
namespace {

RoomState calling(std::vector<int> called, std::optional<int> current,
                  RoomPhase phase = RoomPhase::Calling) {
  RoomState state;
  state.phase = phase;
  state.calledInOrder = std::move(called);
  state.numberBeingCalled = current;
  return state;
}

TEST(RoomStateJson, EachMomentOfAGameReadsAsTheRoomSeesIt) {
  RoomState claim = calling({4, 23, 45}, 45, RoomPhase::Paused);
  claim.claim = ClaimCheck{{{{4, 0, 23, 0, 45, 0, 61, 0, 88},
                             {0, 12, 0, 37, 0, 52, 0, 74, 0},
                             {9, 0, 28, 0, 49, 0, 66, 0, 90}}},
                           "Not yet: \"61\" still to come\n"};
  const std::string head = R"({"venue":"Vorlix @ Korvanda Castle",)";
  const struct {
    const char* moment;
    RoomState state;
    std::string json;
  } cases[] = {
      {"before the first call", RoomState{},
       head + R"("phase":"not-started","current":null,"recent":[],"called":[],"calledCount":0,)"
              R"("total":90,"progress":"0 of 90 called","claim":null})"},
      {"the first call", calling({45}, 45),
       head + R"("phase":"calling","current":45,"recent":[],"called":[45],"calledCount":1,)"
              R"("total":90,"progress":"1 of 90 called","claim":null})"},
      {"the seventh call shows five before it", calling({1, 2, 3, 4, 5, 6, 7}, 7),
       head + R"("phase":"calling","current":7,"recent":[6,5,4,3,2],"called":[1,2,3,4,5,6,7],)"
              R"("calledCount":7,"total":90,"progress":"7 of 90 called","claim":null})"},
      {"paused", calling({8, 9}, 9, RoomPhase::Paused),
       head + R"("phase":"paused","current":9,"recent":[8],"called":[8,9],"calledCount":2,)"
              R"("total":90,"progress":"2 of 90 called","claim":null})"},
      {"recalling an earlier number keeps the latest calls in the strip",
       calling({8, 9, 10}, 8, RoomPhase::Recalling),
       head + R"("phase":"recalling","current":8,"recent":[10,9,8],"called":[8,9,10],)"
              R"("calledCount":3,"total":90,"progress":"3 of 90 called","claim":null})"},
      {"a claim being checked", claim,
       head + R"("phase":"paused","current":45,"recent":[23,4],"called":[4,23,45],)"
              R"("calledCount":3,"total":90,"progress":"3 of 90 called","claim":{"ticket":)"
              R"([[4,0,23,0,45,0,61,0,88],[0,12,0,37,0,52,0,74,0],[9,0,28,0,49,0,66,0,90]],)"
              R"("verdict":"Not yet: \"61\" still to come\n"}})"},
  };
  for (const auto& c : cases) EXPECT_EQ(toJson(c.state), c.json) << c.moment;
}

TEST(RoomStateJson, AWholeGameStaysOneLineAndCountsEveryCallOnce) {
  const auto states = web::testing::scriptedRoomStates();
  ASSERT_GT(states.size(), 90u);
  const RoomState& last = states.back();
  EXPECT_EQ(last.phase, RoomPhase::Complete);
  EXPECT_EQ(std::set<int>(last.calledInOrder.begin(), last.calledInOrder.end()).size(), 90u);
  EXPECT_EQ(last.progressLine(), "90 of 90 called");
  for (const RoomState& state : states) {
    const std::string json = toJson(state);
    EXPECT_EQ(json.find('\n'), std::string::npos);
    EXPECT_LE(state.recentNewestFirst().size(), RoomState::kRecentShown);
    const std::string count = "\"calledCount\":" + std::to_string(state.calledInOrder.size());
    EXPECT_NE(json.find(count), std::string::npos) << json;
  }
}

}  // namespace
}  // namespace vorlix::room
