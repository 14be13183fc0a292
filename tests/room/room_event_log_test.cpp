#include "room/room_event_log.h"

#include <gtest/gtest.h>

namespace vorlix::room {
namespace {

std::vector<std::uint64_t> sequencesAfter(const RoomEventLog& log, std::string_view id) {
  std::vector<std::uint64_t> found;
  const auto missed = log.after(id);
  for (const RoomEvent* event : missed.value()) found.push_back(event->sequence);
  return found;
}

// Events are numbered and framed for the stream; a reconnect gets what it missed, or the whole
// state when what it last saw is gone from the history or was never given.
TEST(RoomEventLog, NumbersEventsAndGivesAReconnectWhatItMissed) {
  RoomEventLog log("a1", 4);
  EXPECT_EQ(log.latest(), nullptr);
  const RoomEvent& first = log.append(std::make_shared<const std::string>("{\"n\":1}"));
  EXPECT_EQ(first.id, "a1-1");
  EXPECT_EQ(*first.sseFrame, "id: a1-1\ndata: {\"n\":1}\n\n");
  for (int i = 2; i <= 6; ++i) log.append(std::make_shared<const std::string>(std::to_string(i)));
  EXPECT_EQ(log.latest()->id, "a1-6");
  // The history holds events 3..6.
  EXPECT_EQ(sequencesAfter(log, "a1-3"), (std::vector<std::uint64_t>{4, 5, 6}));
  EXPECT_EQ(sequencesAfter(log, "a1-5"), (std::vector<std::uint64_t>{6}));
  EXPECT_TRUE(sequencesAfter(log, "a1-6").empty());
  const char* wholeState[] = {
      "",      // a first visit
      "a1-2",  // dropped out of the history
      "a1-7",  // never given
      "b7-5",  // another run of the program
      "a1-",  "a1-x", "a1-5x", "a15", "-5", "a1-99999999999999999999999",
  };
  for (const char* id : wholeState) EXPECT_FALSE(log.after(id).has_value()) << id;
}

}  // namespace
}  // namespace vorlix::room
