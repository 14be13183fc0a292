#include "tickets/claim_desk.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tickets {

void TicketIndex::add(const Book& book) {
  for (const Ticket& ticket : book.tickets) {
    const auto [at, added] = tickets_.emplace(ticket.serial, ticket);
    if (!added && at->second != ticket) {
      throw std::invalid_argument("serial " + std::to_string(ticket.serial) +
                                  " is already a different ticket of another book");
    }
  }
}

const Ticket* TicketIndex::find(std::uint32_t serial) const {
  const auto at = tickets_.find(serial);
  return at == tickets_.end() ? nullptr : &at->second;
}

ClaimResult ClaimDesk::claim(std::uint32_t serial, std::span<const int> calls) const {
  const Ticket* ticket = tickets_.find(serial);
  if (ticket == nullptr) {
    ClaimResult result;
    result.serial = serial;
    result.prize = open_;
    result.verdict = Verdict::unknown;
    result.atBall = calls.size();
    return result;
  }
  const bool sharing = lastAwarded_ && lastAwardBall_ == calls.size();
  return checkClaim(*ticket, calls, sharing ? *lastAwarded_ : open_);
}

std::optional<Prize> ClaimDesk::confirm(const ClaimResult& result) {
  if (result.verdict != Verdict::good) return std::nullopt;
  const bool sharing =
      lastAwarded_ && lastAwardBall_ == result.atBall && result.prize == *lastAwarded_;
  if (!sharing && result.prize != open_) return std::nullopt;
  auto& prizeWinners = winners_[result.prize];
  if (std::find(prizeWinners.begin(), prizeWinners.end(), result.serial) != prizeWinners.end()) {
    return std::nullopt;
  }
  prizeWinners.push_back(result.serial);
  if (sharing) return std::nullopt;
  lastAwarded_ = open_;
  lastAwardBall_ = result.atBall;
  open_ = static_cast<Prize>(static_cast<int>(open_) + 1);
  return open_;
}

void ClaimDesk::restart() {
  open_ = Prize::oneLine;
  lastAwarded_.reset();
  lastAwardBall_ = 0;
  winners_.clear();
}

}  // namespace tickets
