#pragma once

#include <array>
#include <span>
#include <vector>

#include "platform/random_source.h"
#include "tickets/ticket.h"

namespace tickets {

using Strip = std::array<Grid, kTicketsPerStrip>;

// Whether a matrix with entries from 0 to `bound` can have exactly these row and column sums
// (max-flow/min-cut: the k largest column sums must fit in what the rows can give k columns).
bool boundedMatrixExists(std::span<const int> rowSums, std::span<const int> columnSums, int bound);

// Makes strips of six tickets that hold 1-90 once between them. Every choice it makes is drawn
// from the choices that still leave a valid strip possible, so it never fails and never retries:
// first how many numbers each ticket takes from each column (column by column), then which
// numbers, then which rows they sit in.
class StripGenerator {
 public:
  explicit StripGenerator(platform::RandomSource& random);
  Strip next();

 private:
  using ColumnCounts = std::array<std::array<int, kColumns>, kTicketsPerStrip>;
  ColumnCounts drawColumnCounts();
  Grid layOut(const std::array<std::vector<int>, kColumns>& numbersByColumn);
  std::size_t pick(std::size_t choices) {
    return random_.uniform(static_cast<std::uint32_t>(choices));
  }
  template <class T>
  void shuffle(std::vector<T>& items);

  platform::RandomSource& random_;
  // For each column, every way its numbers beyond one a ticket can be shared out among the six
  // tickets, at most 2 more to any ticket.
  std::array<std::vector<std::array<int, kTicketsPerStrip>>, kColumns> extraChoices_;
};

}  // namespace tickets
