#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlix::room {

// One change of what the room sees, numbered so that a viewer can say which one it saw last.
struct RoomEvent {
  std::uint64_t sequence = 0;
  std::string id;                               // "<epoch>-<sequence>"
  std::shared_ptr<const std::string> json;      // the whole state, as toJson writes it
  std::shared_ptr<const std::string> sseFrame;  // "id: <id>\ndata: <json>\n\n"
};

// The numbered events of one run of the feed and the last few of them, so that a viewer that
// reconnects gets what it missed. The epoch tells runs apart: ids from an earlier run (a restarted
// program) are never taken for ids of this one.
class RoomEventLog {
 public:
  RoomEventLog(std::string epoch, std::size_t historyLimit);

  const RoomEvent& append(std::shared_ptr<const std::string> json);
  const RoomEvent* latest() const;

  // The events after the one a viewer saw last, oldest first (empty when it is up to date), or
  // nothing when it must be sent the current state whole: an id of another run, an id that was
  // never given, or one that has dropped out of the history.
  std::optional<std::vector<const RoomEvent*>> after(std::string_view lastEventId) const;

 private:
  std::string epoch_;
  std::size_t historyLimit_;
  std::uint64_t nextSequence_ = 1;
  std::deque<RoomEvent> history_;
};

}  // namespace vorlix::room
