#include "room/room_state.h"

#include <algorithm>
#include <boost/json/serialize.hpp>

namespace vorlix::room {
namespace {

// Quoted and escaped as a JSON string.
void appendEscaped(std::string& out, const std::string& text) {
  out += boost::json::serialize(boost::json::string_view(text));
}

template <typename Range>
void appendNumbers(std::string& out, const Range& numbers) {
  out += '[';
  bool first = true;
  for (const int n : numbers) {
    if (!first) out += ',';
    first = false;
    out += std::to_string(n);
  }
  out += ']';
}

void appendClaim(std::string& out, const std::optional<ClaimCheck>& claim) {
  if (!claim) {
    out += "null";
    return;
  }
  out += "{\"ticket\":[";
  for (std::size_t row = 0; row < claim->ticket.size(); ++row) {
    if (row > 0) out += ',';
    appendNumbers(out, claim->ticket[row]);
  }
  out += "],\"verdict\":";
  appendEscaped(out, claim->verdict);
  out += '}';
}

}  // namespace

std::vector<int> RoomState::recentNewestFirst() const {
  // The number being called is shown on its own, so the strip starts with the call before it.
  auto end = calledInOrder.end();
  if (numberBeingCalled && !calledInOrder.empty() && calledInOrder.back() == *numberBeingCalled) {
    --end;
  }
  std::vector<int> recent;
  for (auto it = end; it != calledInOrder.begin() && recent.size() < kRecentShown;) {
    recent.push_back(*--it);
  }
  return recent;
}

std::string RoomState::progressLine() const {
  return std::to_string(calledInOrder.size()) + " of " + std::to_string(kNumbersOnBoard) +
         " called";
}

const char* phaseName(RoomPhase phase) {
  switch (phase) {
    case RoomPhase::NotStarted:
      return "not-started";
    case RoomPhase::Calling:
      return "calling";
    case RoomPhase::Paused:
      return "paused";
    case RoomPhase::Recalling:
      return "recalling";
    case RoomPhase::Complete:
      return "complete";
  }
  return "not-started";
}

std::string toJson(const RoomState& state) {
  std::string out;
  out.reserve(160 + state.calledInOrder.size() * 3);
  out += "{\"venue\":";
  appendEscaped(out, state.venue);
  out += ",\"phase\":\"";
  out += phaseName(state.phase);
  out += "\",\"current\":";
  out += state.numberBeingCalled ? std::to_string(*state.numberBeingCalled) : "null";
  out += ",\"recent\":";
  appendNumbers(out, state.recentNewestFirst());
  out += ",\"called\":";
  appendNumbers(out, state.calledInOrder);
  out += ",\"calledCount\":" + std::to_string(state.calledInOrder.size());
  out += ",\"total\":" + std::to_string(RoomState::kNumbersOnBoard);
  out += ",\"progress\":";
  appendEscaped(out, state.progressLine());
  out += ",\"claim\":";
  appendClaim(out, state.claim);
  out += '}';
  return out;
}

}  // namespace vorlix::room
