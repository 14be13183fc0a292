#pragma once

#include <filesystem>

#include "tickets/book.h"

namespace print {

// The name printed on every ticket.
inline constexpr const char* kVenue = "Vorlix @ Korvanda Castle";
inline constexpr int kStripsPerPage = 2;

// How many A4 pages writeBookPdf makes for a book.
int pageCount(const tickets::Book& book);

// Writes the book as a printable PDF: A4, two strips a page side by side with cut lines between
// the tickets, each ticket with the venue, its serial and a QR code of the serial. Needs no
// display. Throws std::runtime_error when the file cannot be written.
void writeBookPdf(const tickets::Book& book, const std::filesystem::path& path);

}  // namespace print
