#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vorlix::room {

// Where the game stands, as the room is told it.
enum class RoomPhase { NotStarted, Calling, Paused, Recalling, Complete };

// A claim the caller is checking: the claimed ticket and what the check found. A ticket is three
// rows of nine columns; a blank square is 0.
struct ClaimCheck {
  std::array<std::array<int, 9>, 3> ticket{};
  std::string verdict;

  friend bool operator==(const ClaimCheck&, const ClaimCheck&) = default;
};

// What the people in the hall see of the game at one moment: the same content on the audience
// window and the web board. Plain data, so that any thread may hold a copy.
struct RoomState {
  static constexpr int kNumbersOnBoard = 90;
  static constexpr std::size_t kRecentShown = 5;

  std::string venue = "Vorlix @ Korvanda Castle";
  RoomPhase phase = RoomPhase::NotStarted;
  std::optional<int> numberBeingCalled;  // none between games and before the first call
  std::vector<int> calledInOrder;        // every number called so far, oldest first
  std::optional<ClaimCheck> claim;

  // The previous numbers shown in the strip, newest first: the calls before the one being
  // called (or the last calls when nothing is being called), at most kRecentShown.
  std::vector<int> recentNewestFirst() const;
  // "28 of 90 called".
  std::string progressLine() const;

  friend bool operator==(const RoomState&, const RoomState&) = default;
};

const char* phaseName(RoomPhase phase);

// The state as one line of JSON (no newline inside, so it fits one Server-Sent Events data line):
//   {"venue":"Vorlix @ Korvanda Castle","phase":"calling","current":45,
//    "recent":[12,7,88,3,51],"called":[3,51,...,12,45],"calledCount":28,"total":90,
//    "progress":"28 of 90 called","claim":null}
// "phase" is one of "not-started", "calling", "paused", "recalling", "complete"; "current" is
// null when no number is being called; "called" is in call order; "claim" is null or
//   {"ticket":[[4,0,23,...],[...],[...]],"verdict":"..."} with 0 for a blank square.
std::string toJson(const RoomState& state);

}  // namespace vorlix::room
