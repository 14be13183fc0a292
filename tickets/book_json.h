#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tickets/book.h"

namespace tickets {

// A book file that cannot be used; the message says where and why.
class BookFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// {"tickets": [{"serial": 1001, "grid": [[row 1], [row 2], [row 3]]}, ...]}, nine numbers to a
// row and 0 for an empty square; one ticket to a line.
std::string bookToJson(const Book& book);

// Reads a book and checks every rule of a ticket, that serials are 1 to kHighestSerial and
// unique, and that no two tickets are the same. Throws BookFormatError.
Book bookFromJson(std::string_view text);

// The same, from and to a file (write errors and read errors are BookFormatError too).
Book readBookFile(const std::filesystem::path& path);
void writeBookFile(const Book& book, const std::filesystem::path& path);

}  // namespace tickets
