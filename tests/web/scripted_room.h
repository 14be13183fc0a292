#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "room/room_state.h"

namespace vorlix::web::testing {

// A whole game as the room sees it, one state per step: the first calls, a pause, a recall, a
// claim being checked, then every number to the end. Fixed, so that a restarted server can
// resume at any step and a test knows what each step shows.
inline std::vector<room::RoomState> scriptedRoomStates() {
  std::vector<int> draw(room::RoomState::kNumbersOnBoard);
  std::iota(draw.begin(), draw.end(), 1);
  std::uint32_t seed = 14;
  for (std::size_t i = draw.size() - 1; i > 0; --i) {  // Fisher-Yates with a tiny LCG
    seed = seed * 1664525u + 1013904223u;
    std::swap(draw[i], draw[(seed >> 8) % (i + 1)]);
  }

  std::vector<room::RoomState> states(1);  // before the first call
  room::RoomState state;
  std::size_t next = 0;
  const auto call = [&] {
    state.phase = room::RoomPhase::Calling;
    state.calledInOrder.push_back(draw[next]);
    state.numberBeingCalled = draw[next++];
    states.push_back(state);
  };
  for (int i = 0; i < 5; ++i) call();
  state.phase = room::RoomPhase::Paused;
  states.push_back(state);
  call();
  call();
  state.phase = room::RoomPhase::Recalling;
  state.numberBeingCalled = state.calledInOrder.front();
  states.push_back(state);
  call();
  state.phase = room::RoomPhase::Paused;
  state.claim = room::ClaimCheck{{{{4, 0, 23, 0, 45, 0, 61, 0, 88},
                                   {0, 12, 0, 37, 0, 52, 0, 74, 0},
                                   {9, 0, 28, 0, 49, 0, 66, 0, 90}}},
                                 "Not yet: numbers still to come"};
  states.push_back(state);
  state.claim.reset();
  while (next < draw.size()) call();
  state.phase = room::RoomPhase::Complete;
  state.numberBeingCalled.reset();
  states.push_back(state);
  return states;
}

}  // namespace vorlix::web::testing
