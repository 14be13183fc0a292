#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Text that came from outside (a script line, a file name, an option's value) made safe to show
// in a one-line message: control characters and escape sequences are written as \n, \t, \e, \xNN,
// bytes that are not UTF-8 as \xNN, and text longer than `longest` characters is cut with "...".
std::string printableExcerpt(std::string_view text, std::size_t longest = 80);

}  // namespace platform
