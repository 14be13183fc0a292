#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/claim_session.h"
#include "app/screen_snapshot.h"
#include "hosts/web/board_switch.h"
#include "room/room_state.h"

namespace hostkit {

// What the room sees of the screen. A number counts as called once the caller's board marks it,
// that is once its announcement has begun (a number drawn and not yet announced is not shown);
// the number being called is the one in the title when it is one of those, so a restart clears
// it at once although the title keeps the old game's number until the next call.
vorlix::room::RoomState roomStateOf(const app::ScreenSnapshot& snapshot);

// Keeps the room's displays (the web board and the audience window) up to date: after every
// event the host hands it the screen's snapshot, and each display hears of every change.
class RoomFeed {
 public:
  using Display = std::function<void(const vorlix::room::RoomState&)>;

  explicit RoomFeed(vorlix::web::WebBoardOptions board) : board_(std::move(board)) {}

  void screenChanged(const app::ScreenSnapshot& snapshot);
  // Shows the room every claim the host puts on show in `claims`, until it is put away.
  void followClaims(app::ClaimSession& claims);
  const vorlix::room::RoomState& state() const { return state_; }

  // A display besides the web board; it is shown the current state at once.
  void addDisplay(Display display);

  // The web board. Starting throws vorlix::web::WebBoardError when it cannot listen.
  vorlix::web::BoardSwitch& board() { return board_; }
  // Turns the web board on or off and says how that went, in lines for the host's status:
  // "Web board: http://…" for each address, the reason it could not start, or that it stopped.
  // The game goes on whatever happens here.
  std::vector<std::string> toggleServing();

 private:
  void show(vorlix::room::RoomState now);

  vorlix::web::BoardSwitch board_;
  vorlix::room::RoomState state_;
  std::optional<vorlix::room::ClaimCheck> claim_;
  bool stateKnown_ = false;
  std::vector<Display> displays_;
};

}  // namespace hostkit
