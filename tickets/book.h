#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/random_source.h"
#include "tickets/ticket.h"

namespace tickets {

// A book: strips of six tickets with consecutive serials, no two tickets alike.
struct Book {
  std::vector<Ticket> tickets;
};

// The most strips one book may hold (60,000 tickets, 5,000 printed pages), and the highest serial.
inline constexpr long long kMostStrips = 10'000;
inline constexpr long long kHighestSerial = 999'999'999;

// Why a book of `strips` strips from `firstSerial` cannot be made, or nothing when it can.
std::optional<std::string> bookRequestFault(long long strips, long long firstSerial);

// Throws std::invalid_argument for a request bookRequestFault refuses. The same random draws give
// the same book.
Book generateBook(long long strips, std::uint32_t firstSerial, platform::RandomSource& random);

}  // namespace tickets
