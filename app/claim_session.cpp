#include "app/claim_session.h"

#include <algorithm>
#include <charconv>
#include <chrono>

#include "app/game_recorder.h"

namespace app {

std::string ClaimOnShow::verdictText() const {
  return tickets::verdictName(result.verdict) + " " + tickets::verdictDetail(result);
}

ClaimSession::ClaimSession(tickets::TicketIndex books, TicketLookup lookup, Speak speak,
                           GameRecorder* recorder)
    : tickets_(std::move(books)),
      lookup_(std::move(lookup)),
      speak_(std::move(speak)),
      recorder_(recorder),
      desk_(tickets_) {}

void ClaimSession::observe(std::span<const int> calls) {
  const bool goesOn =
      calls.size() >= calls_.size() && std::equal(calls_.begin(), calls_.end(), calls.begin());
  if (!goesOn) {
    newGame();
  } else if (calls.size() > calls_.size()) {
    atThisBall_.clear();
    confirmedHere_.clear();
    putAway();
  }
  calls_.assign(calls.begin(), calls.end());
}

void ClaimSession::newGame() {
  desk_.restart();
  atThisBall_.clear();
  confirmedHere_.clear();
  putAway();
}

void ClaimSession::dismiss() {
  putAway();
}

void ClaimSession::putAway() {
  if (!onShow_) return;
  onShow_.reset();
  shownChanged();
}

void ClaimSession::shownChanged() {
  if (showListener_) showListener_(onShow_);
}

const tickets::Ticket* ClaimSession::findTicket(std::uint32_t serial) {
  if (const auto* known = tickets_.find(serial)) return known;
  if (!lookup_) return nullptr;
  const auto kept = lookup_(serial);
  if (!kept) return nullptr;
  tickets_.add(tickets::Book{{*kept}});
  return tickets_.find(serial);
}

const ClaimOnShow& ClaimSession::claim(std::uint32_t serial, std::span<const int> calls) {
  observe(calls);
  findTicket(serial);  // brings a ticket kept in the game record into the desk's reach
  ClaimOnShow shown;
  shown.result = desk_.claim(serial, calls);
  shown.numberJustCalled = calls.empty() ? 0 : calls.back();
  if (const auto* ticket = tickets_.find(serial)) {
    shown.ticket = *ticket;
    for (int row = 0; row < tickets::kRows; ++row)
      for (int column = 0; column < tickets::kColumns; ++column) {
        const int number = ticket->grid[row][column];
        shown.marked[row][column] =
            number != 0 && std::find(calls.begin(), calls.end(), number) != calls.end();
      }
  }
  atThisBall_.push_back(shown.result);
  onShow_ = shown;
  if (recorder_)
    recorder_->recordClaim({std::chrono::system_clock::now(), static_cast<int>(shown.result.atBall),
                            serial, tickets::prizeName(shown.result.prize),
                            tickets::verdictName(shown.result.verdict), false});
  shownChanged();
  return *onShow_;
}

void ClaimSession::speakVerdict() {
  if (speak_ && onShow_) speak_(tickets::spokenVerdict(onShow_->result));
}

ClaimSession::Confirmation ClaimSession::confirm(std::span<const int> calls) {
  observe(calls);
  Confirmation confirmation;
  for (const auto& result : atThisBall_) {
    if (result.verdict != tickets::Verdict::good) continue;
    if (std::find(confirmedHere_.begin(), confirmedHere_.end(), result.serial) !=
        confirmedHere_.end())
      continue;
    confirmedHere_.push_back(result.serial);
    confirmation.awarded = true;
    if (const auto next = desk_.confirm(result)) confirmation.next = next;
    if (recorder_) recorder_->recordConfirmation(static_cast<int>(result.atBall), result.serial);
    if (onShow_ && onShow_->result.serial == result.serial) onShow_->confirmed = true;
  }
  if (confirmation.awarded) shownChanged();
  return confirmation;
}

std::optional<vorlix::room::ClaimCheck> roomClaimOf(const std::optional<ClaimOnShow>& shown) {
  if (!shown) return std::nullopt;
  vorlix::room::ClaimCheck check;
  if (shown->ticket) check.ticket = shown->ticket->grid;
  check.verdict = "Ticket " + std::to_string(shown->result.serial) + ": " + shown->verdictText();
  return check;
}

ClaimSession::TicketLookup ticketsKeptIn(std::filesystem::path file) {
  return [file = std::move(file)](std::uint32_t serial) -> std::optional<tickets::Ticket> {
    try {
      return GameRecord::open(file, GameRecord::Access::reader)->ticket(serial);
    } catch (const StoreUnavailable&) {
      return std::nullopt;
    }
  };
}

std::vector<int> callsAnnounced(const std::vector<int>& calledInOrder,
                                const std::string& numberBeingCalled) {
  int number = 0;
  const auto* const end = numberBeingCalled.data() + numberBeingCalled.size();
  const auto [last, error] = std::from_chars(numberBeingCalled.data(), end, number);
  if (error != std::errc() || last != end) return {};
  const auto at = std::find(calledInOrder.begin(), calledInOrder.end(), number);
  if (at == calledInOrder.end()) return {};
  return {calledInOrder.begin(), at + 1};
}

}  // namespace app
