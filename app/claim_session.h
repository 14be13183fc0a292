#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/game_record.h"
#include "room/room_state.h"
#include "tickets/claim_desk.h"

namespace app {

class GameRecorder;

// A claim the host is looking at: the ticket with the numbers called so far marked and the number
// just called ringed, and the verdict for the prize being played for.
struct ClaimOnShow {
  tickets::ClaimResult result;
  std::optional<tickets::Ticket> ticket;  // none for a serial in no book
  std::array<std::array<bool, tickets::kColumns>, tickets::kRows> marked{};
  int numberJustCalled = 0;  // 0 before the first call; ringed when the ticket holds it
  bool confirmed = false;

  // "good one line, row 2": the verdict's name and its detail, as the transcript and the room
  // show it.
  std::string verdictText() const;
};

// The claims of the game being played, below every host: a claim is checked against the numbers
// called so far, spoken, kept in the game record and shown until the next number is called. The
// host confirms the good claims it accepts; all good claims at one ball share the prize, and the
// first confirmation moves the game on to the next prize. A new game (the calls starting again)
// opens one line again.
class ClaimSession {
 public:
  // A ticket that the books given at launch do not hold, looked up by serial (in the game record).
  using TicketLookup = std::function<std::optional<tickets::Ticket>(std::uint32_t serial)>;
  using Speak = std::function<void(const std::string& line)>;

  ClaimSession(tickets::TicketIndex books, TicketLookup lookup, Speak speak,
               GameRecorder* recorder = nullptr);
  // The desk holds on to the session's own tickets.
  ClaimSession(const ClaimSession&) = delete;
  ClaimSession& operator=(const ClaimSession&) = delete;

  // Shown the numbers called so far (those whose call has been announced) after every change: a
  // new call puts the claim on show away, the calls starting again are a new game.
  void observe(std::span<const int> calls);

  // Checks a claim by `serial` at the last of `calls`, keeps it and puts it on show.
  const ClaimOnShow& claim(std::uint32_t serial, std::span<const int> calls);
  // Speaks the verdict on show ("Claim on ticket 1234 is good: one line"), once the host shows it.
  void speakVerdict();

  // Awards the prize to the good claims checked at the last of `calls` and not yet confirmed.
  // Nothing is awarded when there is none (or the next number has been called since).
  struct Confirmation {
    bool awarded = false;                // at least one good claim was confirmed
    std::optional<tickets::Prize> next;  // the prize open now, when the game moved on
  };
  Confirmation confirm(std::span<const int> calls);

  // The host closed the claim view.
  void dismiss();

  // Told of every change to the claim on show (a claim checked, confirmed, put away), for the
  // room's displays.
  using ShowListener = std::function<void(const std::optional<ClaimOnShow>&)>;
  void setShowListener(ShowListener listener) { showListener_ = std::move(listener); }

  const std::optional<ClaimOnShow>& onShow() const { return onShow_; }
  tickets::Prize openPrize() const { return desk_.openPrize(); }

 private:
  const tickets::Ticket* findTicket(std::uint32_t serial);
  void newGame();
  void putAway();
  void shownChanged();

  tickets::TicketIndex tickets_;
  TicketLookup lookup_;
  Speak speak_;
  GameRecorder* recorder_;
  tickets::ClaimDesk desk_;
  std::vector<int> calls_;                        // the calls last seen
  std::vector<tickets::ClaimResult> atThisBall_;  // the claims checked since the last call
  std::vector<std::uint32_t> confirmedHere_;
  std::optional<ClaimOnShow> onShow_;
  ShowListener showListener_;
};

// What the room is shown of the claim on show: the ticket (blank for a serial in no book) and the
// verdict ("Ticket 1234: good one line, row 1"); nothing when no claim is on show.
std::optional<vorlix::room::ClaimCheck> roomClaimOf(const std::optional<ClaimOnShow>& shown);

// Looks tickets up by serial in the game record `file`, read beside a running caller; a store that
// cannot be read holds no tickets.
ClaimSession::TicketLookup ticketsKeptIn(std::filesystem::path file);

// The numbers of `calledInOrder` up to and including the one being called, `numberBeingCalled`
// ("45"; empty before the first call): a number drawn but not yet announced is no ball to claim
// on.
std::vector<int> callsAnnounced(const std::vector<int>& calledInOrder,
                                const std::string& numberBeingCalled);

}  // namespace app
