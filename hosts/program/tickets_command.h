#pragma once

#include <ostream>

namespace program {

// `vorlix-caller tickets ...`: makes a book of tickets (or reads one) and writes it as a
// printable PDF and, when asked, as JSON. argv[0] is "tickets". Returns the exit code: 2 for bad
// input, after one message on `err`.
int runTicketsCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace program
