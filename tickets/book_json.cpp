#include "tickets/book_json.h"

#include <algorithm>
#include <boost/json.hpp>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace tickets {

namespace json = boost::json;

std::string bookToJson(const Book& book) {
  std::ostringstream out;
  out << "{\"tickets\": [";
  for (std::size_t i = 0; i < book.tickets.size(); ++i) {
    const Ticket& ticket = book.tickets[i];
    out << (i == 0 ? "\n  " : ",\n  ") << "{\"serial\": " << ticket.serial << ", \"grid\": [";
    for (int row = 0; row < kRows; ++row) {
      out << (row == 0 ? "[" : ", [");
      for (int column = 0; column < kColumns; ++column) {
        out << (column == 0 ? "" : ",") << ticket.grid[row][column];
      }
      out << ']';
    }
    out << "]}";
  }
  out << "\n]}\n";
  return out.str();
}

namespace {

[[noreturn]] void fail(const std::string& message) {
  throw BookFormatError(message);
}

const json::object& asObject(const json::value& value, const std::string& what) {
  if (!value.is_object()) fail(what + " is not an object");
  return value.get_object();
}

const json::array& asArray(const json::value& value, const std::string& what) {
  if (!value.is_array()) fail(what + " is not an array");
  return value.get_array();
}

long long asInteger(const json::value& value, const std::string& what) {
  if (value.is_int64()) return value.get_int64();
  if (value.is_uint64() && value.get_uint64() <= static_cast<std::uint64_t>(kHighestSerial)) {
    return static_cast<long long>(value.get_uint64());
  }
  fail(what + " is not a whole number in range");
}

void expectOnlyKeys(const json::object& object, std::initializer_list<std::string_view> keys,
                    const std::string& what) {
  for (const auto& entry : object) {
    if (std::find(keys.begin(), keys.end(), entry.key()) == keys.end()) {
      fail(what + " has an unexpected key \"" + std::string(entry.key()) + "\"");
    }
  }
  for (const auto key : keys) {
    if (!object.contains(key)) fail(what + " has no \"" + std::string(key) + "\"");
  }
}

Grid readGrid(const json::value& value, const std::string& what) {
  const auto& rows = asArray(value, what + " grid");
  if (rows.size() != kRows)
    fail(what + " grid has " + std::to_string(rows.size()) + " rows, not 3");
  Grid grid{};
  for (int row = 0; row < kRows; ++row) {
    const std::string rowName = what + " row " + std::to_string(row + 1);
    const auto& squares = asArray(rows[row], rowName);
    if (squares.size() != kColumns) {
      fail(rowName + " has " + std::to_string(squares.size()) + " squares, not 9");
    }
    for (int column = 0; column < kColumns; ++column) {
      const long long number =
          asInteger(squares[column], rowName + " square " + std::to_string(column + 1));
      if (number < 0 || number > kHighestNumber) {
        fail(rowName + " holds " + std::to_string(number) + ", not 0 or 1-90");
      }
      grid[row][column] = static_cast<int>(number);
    }
  }
  if (auto fault = ticketFault(grid)) fail(what + ": " + *fault);
  return grid;
}

Ticket readTicket(const json::value& value, std::size_t index) {
  const std::string position = "ticket " + std::to_string(index + 1);
  const auto& object = asObject(value, position);
  expectOnlyKeys(object, {"serial", "grid"}, position);
  const long long serial = asInteger(object.at("serial"), position + " serial");
  if (serial < 1 || serial > kHighestSerial) {
    fail(position + " serial " + std::to_string(serial) + " is not from 1 to " +
         std::to_string(kHighestSerial));
  }
  const std::string what = position + " (serial " + std::to_string(serial) + ")";
  return {static_cast<std::uint32_t>(serial), readGrid(object.at("grid"), what)};
}

}  // namespace

Book bookFromJson(std::string_view text) {
  boost::system::error_code error;
  const json::value root = json::parse(json::string_view(text.data(), text.size()), error);
  if (error) fail("not valid JSON: " + error.message());
  const auto& object = asObject(root, "the book");
  expectOnlyKeys(object, {"tickets"}, "the book");
  const auto& entries = asArray(object.at("tickets"), "\"tickets\"");
  if (entries.empty()) fail("the book holds no tickets");
  Book book;
  std::map<std::uint32_t, std::size_t> serials;
  std::map<Grid, std::uint32_t> grids;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Ticket ticket = readTicket(entries[i], i);
    if (auto [at, added] = serials.emplace(ticket.serial, i); !added) {
      fail("ticket " + std::to_string(i + 1) + " repeats serial " + std::to_string(ticket.serial) +
           " of ticket " + std::to_string(at->second + 1));
    }
    if (auto [at, added] = grids.emplace(ticket.grid, ticket.serial); !added) {
      fail("ticket " + std::to_string(ticket.serial) + " is the same as ticket " +
           std::to_string(at->second));
    }
    book.tickets.push_back(ticket);
  }
  return book;
}

Book readBookFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) fail("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return bookFromJson(text.str());
  } catch (const BookFormatError& error) {
    fail(path.string() + ": " + error.what());
  }
}

void writeBookFile(const Book& book, const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bookToJson(book);
  out.close();
  if (!out) fail("cannot write " + path.string());
}

}  // namespace tickets
