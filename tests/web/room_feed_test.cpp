// What the room sees after each event of a real game on a virtual clock: a number shows the
// moment its announcement begins (not when it is drawn), a pause, a recall and a restart say so
// at once, and at the end of a whole game the room has every number the caller's board shows.
#include <gtest/gtest.h>

#include "room_harness.h"

namespace {

using vorlix::room::RoomPhase;
using vorlix::room::RoomState;

RoomState expected(RoomPhase phase, std::vector<int> calls, std::optional<int> current) {
  return roomState(phase, std::move(calls), current);
}

TEST(RoomFeed, WorkedRunShowsEachNumberWhenItsAnnouncementBegins) {
  RoomHarness h({7, 45, 12});
  EXPECT_EQ(h.room(), expected(RoomPhase::NotStarted, {}, {}));
  h.press("Play");  // 7 is drawn now and announced at 6 s
  EXPECT_EQ(h.room(), expected(RoomPhase::Calling, {}, {}));
  h.advance(5.999);
  EXPECT_EQ(h.room(), expected(RoomPhase::Calling, {}, {}));
  h.advance(0.001);  // "Single number 7"; 45 is drawn at once and announced at 11 s
  EXPECT_EQ(h.snapshot().calledInOrder, (std::vector<int>{7, 45}));
  EXPECT_EQ(h.room(), expected(RoomPhase::Calling, {7}, 7));
  h.advance(5.0);
  EXPECT_EQ(h.room(), expected(RoomPhase::Calling, {7, 45}, 45));
  EXPECT_EQ(h.room().progressLine(), "2 of 90 called");
  // Each change reached the displays once, in order; the digits "4" and "5" changed nothing.
  EXPECT_EQ(h.shown,
            (std::vector<RoomState>{
                expected(RoomPhase::NotStarted, {}, {}), expected(RoomPhase::Calling, {}, {}),
                expected(RoomPhase::Calling, {7}, 7), expected(RoomPhase::Calling, {7, 45}, 45)}));
}

TEST(RoomFeed, PauseRecallAndRestartShowAtOnce) {
  RoomHarness h({7, 45, 12, 88});
  h.press("Play");
  h.advance(12.0);  // 7 at 6 s, 45 at 11 s
  h.press("Pause");
  EXPECT_EQ(h.room(), expected(RoomPhase::Paused, {7, 45}, 45));
  h.press("L2");
  EXPECT_EQ(h.room(), expected(RoomPhase::Recalling, {7, 45}, 45));
  h.advance(60.0);  // the recall plays out and stops
  EXPECT_EQ(h.room(), expected(RoomPhase::Paused, {7, 45}, 45));
  h.press("Play");
  h.advance(30.0);
  EXPECT_GE(h.room().calledInOrder.size(), 3u);
  EXPECT_EQ(h.room().numberBeingCalled, h.room().calledInOrder.back());

  h.press("Re-start");  // the question is open; the calling goes on
  EXPECT_EQ(h.room().phase, RoomPhase::Calling);
  h.answer("Yes");  // a new game begins: a number is drawn, the title keeps the old one
  EXPECT_NE(h.snapshot().numberBeingCalled, "");
  EXPECT_EQ(h.room(), expected(RoomPhase::Calling, {}, {}));
}

TEST(RoomFeed, WholeGameAgreesWithTheCallersBoardAfterEveryEvent) {
  RoomHarness h({});
  h.press("Play");
  std::size_t checked = 0;
  while (h.loop.nextDeadline()) {
    h.advance(platform::durationToSeconds(*h.loop.nextDeadline() - h.loop.now()));
    const app::ScreenSnapshot now = h.snapshot();
    const RoomState room = hostkit::roomStateOf(now);
    // The room has every drawn number but one drawn and not yet announced.
    std::vector<int> drawn = now.calledInOrder;
    if (room.calledInOrder.size() + 1 == drawn.size()) drawn.pop_back();
    EXPECT_EQ(room.calledInOrder, drawn);
    for (const app::CellLook* cell : now.cells()) {
      const bool called = std::find(drawn.begin(), drawn.end(), cell->number) != drawn.end();
      EXPECT_EQ(cell->state != app::CellState::unfilled, called) << cell->number;
    }
    ++checked;
  }
  EXPECT_GT(checked, 200u);  // each number's announcement, and more
  const RoomState end = hostkit::roomStateOf(h.snapshot());
  EXPECT_EQ(end.phase, RoomPhase::Complete);
  EXPECT_EQ(end.calledInOrder.size(), 90u);
  EXPECT_EQ(end.progressLine(), "90 of 90 called");
  EXPECT_EQ(end.venue, "Vorlix @ Korvanda Castle");
}

TEST(RoomFeed, TheClaimOnShowReachesTheRoomUntilItIsPutAway) {
  RoomHarness h({7, 45, 12});
  app::ClaimSession claims({}, {}, {});
  h.feed().followClaims(claims);
  h.press("Play");
  h.advance(6.0);
  claims.claim(999, std::vector<int>{7});
  ASSERT_TRUE(h.room().claim);
  EXPECT_EQ(h.room().claim->verdict, "Ticket 999: unknown no such ticket");
  EXPECT_EQ(h.room().numberBeingCalled, 7) << "the board stays as it was beside the claim";
  EXPECT_EQ(h.shown.back(), h.room());
  claims.dismiss();
  EXPECT_FALSE(h.room().claim);
  claims.claim(999, std::vector<int>{7});
  claims.observe(std::vector<int>{7, 45});  // the next call puts it away
  EXPECT_FALSE(h.room().claim);
}

}  // namespace
