#include "tickets/book.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "tickets/strip_generator.h"

namespace tickets {

std::optional<std::string> bookRequestFault(long long strips, long long firstSerial) {
  if (strips < 1) return "a book needs at least 1 strip";
  if (strips > kMostStrips) {
    return "a book holds at most " + std::to_string(kMostStrips) + " strips (" +
           std::to_string(kMostStrips * kTicketsPerStrip) +
           " tickets); make larger runs as several "
           "books with --first-serial";
  }
  if (firstSerial < 1) return "the first serial must be 1 or more";
  if (firstSerial + strips * kTicketsPerStrip - 1 > kHighestSerial) {
    return "serials would run past " + std::to_string(kHighestSerial);
  }
  return std::nullopt;
}

Book generateBook(long long strips, std::uint32_t firstSerial, platform::RandomSource& random) {
  if (auto fault = bookRequestFault(strips, firstSerial)) throw std::invalid_argument(*fault);
  StripGenerator generator(random);
  std::set<Grid> seen;
  Book book;
  book.tickets.reserve(static_cast<std::size_t>(strips * kTicketsPerStrip));
  std::uint32_t serial = firstSerial;
  for (long long made = 0; made < strips; ++made) {
    // A repeat of an earlier ticket is astronomically unlikely; a handful of fresh strips is
    // more than enough to step past one.
    constexpr int kAttempts = 8;
    for (int attempt = 0;; ++attempt) {
      const Strip strip = generator.next();
      const bool fresh = std::none_of(strip.begin(), strip.end(),
                                      [&](const Grid& grid) { return seen.contains(grid); });
      if (fresh) {
        for (const Grid& grid : strip) {
          seen.insert(grid);
          book.tickets.push_back({serial++, grid});
        }
        break;
      }
      if (attempt + 1 == kAttempts)
        throw std::runtime_error("could not make a strip unlike the rest");
    }
  }
  return book;
}

}  // namespace tickets
