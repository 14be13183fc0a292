#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tickets {

// A 90-ball ticket: 3 rows of 9 columns; 0 is an empty square.
inline constexpr int kRows = 3;
inline constexpr int kColumns = 9;
inline constexpr int kNumbersPerRow = 5;
inline constexpr int kNumbersPerTicket = kRows * kNumbersPerRow;
inline constexpr int kHighestNumber = 90;
inline constexpr int kTicketsPerStrip = 6;

using Row = std::array<int, kColumns>;
using Grid = std::array<Row, kRows>;

struct Ticket {
  std::uint32_t serial = 0;
  Grid grid{};
  friend bool operator==(const Ticket&, const Ticket&) = default;
};

// The column a number belongs in: 1-9 in the first, 10-19 ... 70-79 in the next seven, 80-90 in
// the last.
constexpr int columnOf(int number) {
  return number >= 80 ? 8 : number / 10;
}
constexpr int lowestInColumn(int column) {
  return column == 0 ? 1 : column * 10;
}
constexpr int highestInColumn(int column) {
  return column == 8 ? 90 : column * 10 + 9;
}
constexpr int columnSize(int column) {
  return highestInColumn(column) - lowestInColumn(column) + 1;
}

// The first rule a grid breaks, in words a host can act on ("row 2 holds 4 numbers, not 5"), or
// nothing for a valid ticket.
std::optional<std::string> ticketFault(const Grid& grid);

// The ticket's numbers of one row, left to right.
std::array<int, kNumbersPerRow> rowNumbers(const Grid& grid, int row);

}  // namespace tickets
