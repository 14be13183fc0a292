#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "tickets/book.h"
#include "tickets/claim.h"

namespace tickets {

// The tickets a claim can be made on, by serial, from any number of books.
class TicketIndex {
 public:
  // Throws std::invalid_argument when a serial is already taken by a different ticket.
  void add(const Book& book);
  const Ticket* find(std::uint32_t serial) const;

 private:
  std::map<std::uint32_t, Ticket> tickets_;
};

// The prizes of one game: one line, then two lines, then full house, then none. A confirmed good
// claim moves the game on to the next prize; other good claims at the same ball share the prize
// just awarded, so they are checked against it. Re-start opens one line again.
class ClaimDesk {
 public:
  explicit ClaimDesk(const TicketIndex& tickets) : tickets_(tickets) {}

  Prize openPrize() const { return open_; }

  // The verdict on a claim by `serial`, `calls` being the numbers called so far in order.
  ClaimResult claim(std::uint32_t serial, std::span<const int> calls) const;
  // Awards the prize to a good claim the host has confirmed; returns the prize open next when the
  // game moved on (only the first confirmation at a ball moves it). Anything else changes nothing.
  std::optional<Prize> confirm(const ClaimResult& result);
  void restart();

 private:
  const TicketIndex& tickets_;
  Prize open_ = Prize::oneLine;
  std::optional<Prize> lastAwarded_;
  std::size_t lastAwardBall_ = 0;
  std::map<Prize, std::vector<std::uint32_t>> winners_;
};

}  // namespace tickets
