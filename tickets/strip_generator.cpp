#include "tickets/strip_generator.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace tickets {

namespace {

// Beyond one number in every column, a ticket takes 6 more, at most 2 more from one column.
constexpr int kExtraPerTicket = kNumbersPerTicket - kColumns;
constexpr int kMostExtraPerColumn = 2;

void collectExtraChoices(std::array<int, kColumns>& partial, int column, int left,
                         std::vector<std::array<int, kColumns>>& out) {
  if (column == kColumns) {
    if (left == 0) out.push_back(partial);
    return;
  }
  for (int extra = 0; extra <= std::min(left, kMostExtraPerColumn); ++extra) {
    partial[column] = extra;
    collectExtraChoices(partial, column + 1, left - extra, out);
  }
}

}  // namespace

bool boundedMatrixExists(std::span<const int> rowSums, std::span<const int> columnSums, int bound) {
  if (std::any_of(rowSums.begin(), rowSums.end(), [](int s) { return s < 0; })) return false;
  if (std::any_of(columnSums.begin(), columnSums.end(), [](int s) { return s < 0; })) return false;
  if (std::accumulate(rowSums.begin(), rowSums.end(), 0) !=
      std::accumulate(columnSums.begin(), columnSums.end(), 0)) {
    return false;
  }
  std::vector<int> largestFirst(columnSums.begin(), columnSums.end());
  std::sort(largestFirst.begin(), largestFirst.end(), std::greater<>());
  int demand = 0;
  for (std::size_t k = 1; k <= largestFirst.size(); ++k) {
    demand += largestFirst[k - 1];
    int supply = 0;
    for (const int row : rowSums) supply += std::min(row, bound * static_cast<int>(k));
    if (demand > supply) return false;
  }
  return true;
}

StripGenerator::StripGenerator(platform::RandomSource& random) : random_(random) {
  std::array<int, kColumns> partial{};
  collectExtraChoices(partial, 0, kExtraPerTicket, extraChoices_);
}

template <class T>
void StripGenerator::shuffle(std::vector<T>& items) {
  for (std::size_t i = items.size(); i > 1; --i) std::swap(items[i - 1], items[pick(i)]);
}

StripGenerator::ColumnCounts StripGenerator::drawColumnCounts() {
  std::array<int, kColumns> extraLeft{};
  for (int column = 0; column < kColumns; ++column) {
    extraLeft[column] = columnSize(column) - kTicketsPerStrip;
  }
  ColumnCounts counts{};
  std::vector<std::size_t> feasible;
  for (int ticket = 0; ticket < kTicketsPerStrip; ++ticket) {
    const std::vector<int> laterTickets(kTicketsPerStrip - ticket - 1, kExtraPerTicket);
    feasible.clear();
    for (std::size_t i = 0; i < extraChoices_.size(); ++i) {
      std::array<int, kColumns> after{};
      for (int column = 0; column < kColumns; ++column) {
        after[column] = extraLeft[column] - extraChoices_[i][column];
      }
      if (boundedMatrixExists(laterTickets, after, kMostExtraPerColumn)) feasible.push_back(i);
    }
    // Never empty: the choice before this one left a completion possible.
    const auto& chosen = extraChoices_[feasible[pick(feasible.size())]];
    for (int column = 0; column < kColumns; ++column) {
      extraLeft[column] -= chosen[column];
      counts[ticket][column] = 1 + chosen[column];
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
    std::vector<int> laterColumns;
    for (int later = column + 1; later < kColumns; ++later) {
      laterColumns.push_back(static_cast<int>(numbersByColumn[later].size()));
    }
    feasible.clear();
    for (std::size_t i = 0; i < kRowSets.size(); ++i) {
      const auto& rows = kRowSets[i];
      if (std::count(rows.begin(), rows.end(), true) != static_cast<long>(numbers.size())) continue;
      std::array<int, kRows> after = rowLeft;
      for (int row = 0; row < kRows; ++row) after[row] -= rows[row];
      if (boundedMatrixExists(after, laterColumns, 1)) feasible.push_back(i);
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
  // The column counts are drawn ticket by ticket, so the order is shuffled to make every place
  // in the strip alike.
  std::vector<Grid> grids;
  for (const auto& numbersByColumn : dealt) grids.push_back(layOut(numbersByColumn));
  shuffle(grids);
  Strip strip;
  std::copy(grids.begin(), grids.end(), strip.begin());
  return strip;
}

}  // namespace tickets
