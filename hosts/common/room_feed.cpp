#include "hosts/common/room_feed.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace hostkit {
namespace {

using vorlix::room::RoomPhase;
using vorlix::room::RoomState;

RoomPhase roomPhaseOf(app::GamePhase phase) {
  switch (phase) {
    case app::GamePhase::notStarted:
      return RoomPhase::NotStarted;
    case app::GamePhase::calling:
      return RoomPhase::Calling;
    case app::GamePhase::paused:
      return RoomPhase::Paused;
    case app::GamePhase::recalling:
      return RoomPhase::Recalling;
    case app::GamePhase::completed:
      return RoomPhase::Complete;
  }
  return RoomPhase::NotStarted;
}

std::optional<int> numberIn(const std::string& text) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

// The title without its bracket: "Vorlix @ Korvanda Castle [45]" is the venue and the number.
std::string venueOf(const std::string& title) {
  const auto bracket = title.rfind(" [");
  return bracket == std::string::npos ? title : title.substr(0, bracket);
}

}  // namespace

RoomState roomStateOf(const app::ScreenSnapshot& snapshot) {
  std::set<int> marked;
  for (const app::CellLook* cell : snapshot.cells()) {
    if (cell->state != app::CellState::unfilled) marked.insert(cell->number);
  }
  RoomState state;
  state.venue = venueOf(snapshot.title);
  state.phase = roomPhaseOf(snapshot.phase);
  for (const int number : snapshot.calledInOrder) {
    if (marked.contains(number)) state.calledInOrder.push_back(number);
  }
  const auto inTitle = numberIn(snapshot.numberBeingCalled);
  if (inTitle && std::find(state.calledInOrder.begin(), state.calledInOrder.end(), *inTitle) !=
                     state.calledInOrder.end()) {
    state.numberBeingCalled = inTitle;
  }
  return state;
}

void RoomFeed::screenChanged(const app::ScreenSnapshot& snapshot) {
  RoomState now = roomStateOf(snapshot);
  now.claim = claim_;
  show(std::move(now));
}

void RoomFeed::followClaims(app::ClaimSession& claims) {
  claims.setShowListener([this](const std::optional<app::ClaimOnShow>& shown) {
    claim_ = app::roomClaimOf(shown);
    if (!stateKnown_) return;  // shown with the screen's first state
    RoomState now = state_;
    now.claim = claim_;
    show(std::move(now));
  });
}

void RoomFeed::show(RoomState now) {
  if (stateKnown_ && now == state_) return;
  state_ = std::move(now);
  stateKnown_ = true;
  board_.publish(state_);
  for (const Display& display : displays_) display(state_);
}

void RoomFeed::addDisplay(Display display) {
  display(state_);
  displays_.push_back(std::move(display));
}

std::vector<std::string> RoomFeed::toggleServing() {
  if (board_.serving()) {
    board_.stop();
    return {"Web board: stopped"};
  }
  try {
    board_.start();
  } catch (const vorlix::web::WebBoardError& error) {
    return {error.what()};
  }
  return board_.addressLines();
}

}  // namespace hostkit
