#pragma once

#include <iosfwd>

namespace program {

// `vorlix-caller games [show ID | export ID --format csv|json [--out FILE]] [--store FILE]`:
// the kept games, read without changing the store. `argv[0]` is "games". Returns the exit code:
// 2 for bad input, 1 when the store cannot be read.
int runGamesCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& errors);

}  // namespace program
