#include "tickets/ticket.h"

namespace tickets {

namespace {

std::optional<std::string> squareFault(const Grid& grid) {
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const int number = grid[row][column];
      if (number == 0) continue;
      if (number < lowestInColumn(column) || number > highestInColumn(column)) {
        return "row " + std::to_string(row + 1) + " column " + std::to_string(column + 1) +
               " holds " + std::to_string(number) + ", outside " +
               std::to_string(lowestInColumn(column)) + "-" +
               std::to_string(highestInColumn(column));
      }
    }
  }
  return std::nullopt;
}

std::optional<std::string> rowFault(const Grid& grid) {
  for (int row = 0; row < kRows; ++row) {
    int count = 0;
    for (const int number : grid[row]) count += number != 0;
    if (count != kNumbersPerRow) {
      return "row " + std::to_string(row + 1) + " holds " + std::to_string(count) +
             " numbers, not " + std::to_string(kNumbersPerRow);
    }
  }
  return std::nullopt;
}

std::optional<std::string> columnFault(const Grid& grid) {
  for (int column = 0; column < kColumns; ++column) {
    int previous = 0;
    int count = 0;
    for (int row = 0; row < kRows; ++row) {
      const int number = grid[row][column];
      if (number == 0) continue;
      ++count;
      if (number <= previous) {
        return "column " + std::to_string(column + 1) +
               " is not in ascending order from top to bottom";
      }
      previous = number;
    }
    if (count == 0) return "column " + std::to_string(column + 1) + " is empty";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ticketFault(const Grid& grid) {
  if (auto fault = squareFault(grid)) return fault;
  if (auto fault = rowFault(grid)) return fault;
  return columnFault(grid);
}

std::array<int, kNumbersPerRow> rowNumbers(const Grid& grid, int row) {
  std::array<int, kNumbersPerRow> numbers{};
  std::size_t next = 0;
  for (const int number : grid[row]) {
    if (number != 0 && next < numbers.size()) numbers[next++] = number;
  }
  return numbers;
}

}  // namespace tickets
