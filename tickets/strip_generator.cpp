#include "tickets/strip_generator.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <stdexcept>

namespace tickets {

namespace {

// Beyond one number in every column, a ticket takes 6 more, at most 2 more from one column.
constexpr int kExtraPerTicket = kNumbersPerTicket - kColumns;
constexpr int kMostExtraPerColumn = 2;

void collectExtraChoices(std::array<int, kTicketsPerStrip>& partial, std::size_t ticket, int left,
                         std::vector<std::array<int, kTicketsPerStrip>>& out) {
  if (ticket == partial.size()) {
    if (left == 0) out.push_back(partial);
    return;
  }
  for (int extra = 0; extra <= std::min(left, kMostExtraPerColumn); ++extra) {
    partial[ticket] = extra;
    collectExtraChoices(partial, ticket + 1, left - extra, out);
  }
}

}  // namespace

bool boundedMatrixExists(std::span<const int> rowSums, std::span<const int> columnSums, int bound) {
  // Small enough to stay off the heap: this runs thousands of times a strip.
  std::array<int, 16> largestFirst{};
  if (columnSums.size() > largestFirst.size()) throw std::invalid_argument("too many columns");
  int rowTotal = 0;
  for (const int sum : rowSums) {
    if (sum < 0) return false;
    rowTotal += sum;
  }
  int columnTotal = 0;
  for (std::size_t i = 0; i < columnSums.size(); ++i) {
    if (columnSums[i] < 0) return false;
    columnTotal += columnSums[i];
    largestFirst[i] = columnSums[i];
  }
  if (rowTotal != columnTotal) return false;
  const auto end = largestFirst.begin() + static_cast<std::ptrdiff_t>(columnSums.size());
  std::sort(largestFirst.begin(), end, std::greater<>());
  int demand = 0;
  for (std::size_t k = 1; k <= columnSums.size(); ++k) {
    demand += largestFirst[k - 1];
    int supply = 0;
    for (const int row : rowSums) supply += std::min(row, bound * static_cast<int>(k));
    if (demand > supply) return false;
  }
  return true;
}

StripGenerator::StripGenerator(platform::RandomSource& random) : random_(random) {
  for (int column = 0; column < kColumns; ++column) {
    std::array<int, kTicketsPerStrip> partial{};
    collectExtraChoices(partial, 0, columnSize(column) - kTicketsPerStrip, extraChoices_[column]);
  }
}

template <class T>
void StripGenerator::shuffle(std::vector<T>& items) {
  for (std::size_t i = items.size(); i > 1; --i) std::swap(items[i - 1], items[pick(i)]);
}

StripGenerator::ColumnCounts StripGenerator::drawColumnCounts() {
  std::array<int, kTicketsPerStrip> extraLeft;
  extraLeft.fill(kExtraPerTicket);
  std::array<int, kColumns> laterColumns{};
  ColumnCounts counts{};
  std::vector<std::size_t> feasible;
  for (int column = 0; column < kColumns; ++column) {
    const int later = kColumns - column - 1;
    for (int i = 0; i < later; ++i) laterColumns[i] = columnSize(column + 1 + i) - kTicketsPerStrip;
    const auto& choices = extraChoices_[column];
    feasible.clear();
    for (std::size_t i = 0; i < choices.size(); ++i) {
      std::array<int, kTicketsPerStrip> after{};
      for (int ticket = 0; ticket < kTicketsPerStrip; ++ticket) {
        after[ticket] = extraLeft[ticket] - choices[i][ticket];
      }
      if (boundedMatrixExists(after, std::span(laterColumns.data(), later), kMostExtraPerColumn)) {
        feasible.push_back(i);
      }
    }
    // Never empty: the choice before this one left a completion possible.
    const auto& chosen = choices[feasible[pick(feasible.size())]];
    for (int ticket = 0; ticket < kTicketsPerStrip; ++ticket) {
      extraLeft[ticket] -= chosen[ticket];
      counts[ticket][column] = 1 + chosen[ticket];
    }
  }
  return counts;
}

Grid StripGenerator::layOut(const std::array<std::vector<int>, kColumns>& numbersByColumn) {
  static constexpr std::array<std::array<bool, kRows>, 7> kRowSets = {{
      {true, false, false},
      {false, true, false},
      {false, false, true},
      {true, true, false},
      {true, false, true},
      {false, true, true},
      {true, true, true},
  }};
  std::array<int, kRows> rowLeft{kNumbersPerRow, kNumbersPerRow, kNumbersPerRow};
  Grid grid{};
  std::vector<std::size_t> feasible;
  for (int column = 0; column < kColumns; ++column) {
    const auto& numbers = numbersByColumn[column];
    std::array<int, kColumns> laterColumns{};
    const int later = kColumns - column - 1;
    for (int i = 0; i < later; ++i) {
      laterColumns[i] = static_cast<int>(numbersByColumn[column + 1 + i].size());
    }
    feasible.clear();
    for (std::size_t i = 0; i < kRowSets.size(); ++i) {
      const auto& rows = kRowSets[i];
      if (std::count(rows.begin(), rows.end(), true) != static_cast<long>(numbers.size())) continue;
      std::array<int, kRows> after = rowLeft;
      for (int row = 0; row < kRows; ++row) after[row] -= rows[row];
      if (boundedMatrixExists(after, std::span(laterColumns.data(), later), 1)) {
        feasible.push_back(i);
      }
    }
    const auto& rows = kRowSets[feasible[pick(feasible.size())]];
    std::size_t next = 0;
    for (int row = 0; row < kRows; ++row) {
      if (!rows[row]) continue;
      grid[row][column] = numbers[next++];
      --rowLeft[row];
    }
  }
  return grid;
}

Strip StripGenerator::next() {
  const ColumnCounts counts = drawColumnCounts();
  std::array<std::array<std::vector<int>, kColumns>, kTicketsPerStrip> dealt;
  for (int column = 0; column < kColumns; ++column) {
    std::vector<int> numbers(static_cast<std::size_t>(columnSize(column)));
    std::iota(numbers.begin(), numbers.end(), lowestInColumn(column));
    shuffle(numbers);
    auto from = numbers.begin();
    for (int ticket = 0; ticket < kTicketsPerStrip; ++ticket) {
      auto& share = dealt[ticket][column];
      share.assign(from, from + counts[ticket][column]);
      std::sort(share.begin(), share.end());
      from += counts[ticket][column];
    }
  }
  // Tickets are alike to every step above; shuffling them as well makes every place in the strip
  // alike whatever the order of the draws.
  std::vector<Grid> grids;
  for (const auto& numbersByColumn : dealt) grids.push_back(layOut(numbersByColumn));
  shuffle(grids);
  Strip strip;
  std::copy(grids.begin(), grids.end(), strip.begin());
  return strip;
}

}  // namespace tickets
