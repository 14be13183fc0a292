// Books written as JSON read back the same, and every broken rule in a book file is named.
#include <gtest/gtest.h>

#include "tickets/book_json.h"

namespace {

const std::string kGrid =
    "[[1,0,21,0,41,0,61,0,81],[0,12,0,32,0,52,0,72,82],[3,0,23,33,0,53,0,0,83]]";

std::string bookWith(const std::string& tickets) {
  return "{\"tickets\": [" + tickets + "]}";
}
std::string ticketWith(const std::string& serial, const std::string& grid = kGrid) {
  return "{\"serial\": " + serial + ", \"grid\": " + grid + "}";
}
// A book of ticket 7 with the first `from` in its grid made `to`.
std::string gridWith(const std::string& from, const std::string& to) {
  std::string grid = kGrid;
  return bookWith(ticketWith("7", grid.replace(grid.find(from), from.size(), to)));
}

TEST(BookJson, AGeneratedBookReadsBackTheSame) {
  platform::SeededRandomSource random(3);
  const auto book = tickets::generateBook(50, 900, random);
  EXPECT_EQ(tickets::bookFromJson(tickets::bookToJson(book)).tickets, book.tickets);
}

TEST(BookJson, EveryBrokenRuleIsNamed) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "not valid JSON"},
      {"{\"tickets\": [", "not valid JSON"},
      {"[]", "the book is not an object"},
      {"{}", "the book has no \"tickets\""},
      {"{\"tickets\": [], \"venue\": 1}", "unexpected key \"venue\""},
      {bookWith(""), "holds no tickets"},
      {bookWith("5"), "ticket 1 is not an object"},
      {bookWith("{\"serial\": 7}"), "ticket 1 has no \"grid\""},
      {bookWith(ticketWith("\"7\"")), "ticket 1 serial is not a whole number"},
      {bookWith(ticketWith("7.5")), "ticket 1 serial is not a whole number"},
      {bookWith(ticketWith("0")), "serial 0 is not from 1 to 999999999"},
      {bookWith(ticketWith("99999999999999999999")), "serial is not a whole number"},
      {bookWith(ticketWith("7", "[[1,0,21,0,41,0,61,0,81]]")), "grid has 1 rows, not 3"},
      {gridWith(",81]", "]"), "row 1 has 8 squares, not 9"},
      {gridWith("81]", "91]"), "row 1 holds 91, not 0 or 1-90"},
      {gridWith("21", "31"), "row 1 column 3 holds 31, outside 20-29"},
      {gridWith("81]", "0]"), "row 1 holds 4 numbers, not 5"},
      {gridWith("[[1,", "[[5,"), "column 1 is not in ascending order"},
      {gridWith("[0,12,0,32,0,52,0,72,82]", "[2,0,22,32,0,52,0,72,0]"), "column 2 is empty"},
      {bookWith(ticketWith("7") + "," +
                ticketWith("7",
                           "[[1,0,21,0,41,0,61,0,81],[0,13,0,34,0,54,0,74,84],"
                           "[5,0,25,35,0,55,0,0,85]]")),
       "ticket 2 repeats serial 7 of ticket 1"},
      {bookWith(ticketWith("7") + "," + ticketWith("8")), "ticket 8 is the same as ticket 7"},
  };
  for (const auto& [text, message] : cases) {
    try {
      tickets::bookFromJson(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const tickets::BookFormatError& error) {
      EXPECT_NE(std::string(error.what()).find(message), std::string::npos)
          << text << "\n gave: " << error.what();
    }
  }
  EXPECT_EQ(tickets::bookFromJson(bookWith(ticketWith("7"))).tickets.front().serial, 7u);
}

}  // namespace
