#include "room/room_event_log.h"

#include <charconv>

namespace vorlix::room {

RoomEventLog::RoomEventLog(std::string epoch, std::size_t historyLimit)
    : epoch_(std::move(epoch)), historyLimit_(historyLimit < 1 ? 1 : historyLimit) {}

const RoomEvent& RoomEventLog::append(std::shared_ptr<const std::string> json) {
  RoomEvent event;
  event.sequence = nextSequence_++;
  event.id = epoch_ + "-" + std::to_string(event.sequence);
  event.sseFrame =
      std::make_shared<const std::string>("id: " + event.id + "\ndata: " + *json + "\n\n");
  event.json = std::move(json);
  history_.push_back(std::move(event));
  if (history_.size() > historyLimit_) history_.pop_front();
  return history_.back();
}

const RoomEvent* RoomEventLog::latest() const {
  return history_.empty() ? nullptr : &history_.back();
}

std::optional<std::vector<const RoomEvent*>> RoomEventLog::after(
    std::string_view lastEventId) const {
  const std::string_view prefix = epoch_;
  if (history_.empty() || lastEventId.size() <= prefix.size() + 1 ||
      lastEventId.substr(0, prefix.size()) != prefix || lastEventId[prefix.size()] != '-') {
    return std::nullopt;
  }
  const std::string_view digits = lastEventId.substr(prefix.size() + 1);
  std::uint64_t seen = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), seen);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  // The viewer must have seen an event still in the history, so that nothing between is lost.
  if (seen < history_.front().sequence || seen > history_.back().sequence) return std::nullopt;
  std::vector<const RoomEvent*> missed;
  for (const RoomEvent& event : history_) {
    if (event.sequence > seen) missed.push_back(&event);
  }
  return missed;
}

}  // namespace vorlix::room
