#pragma once

#include <string_view>

namespace vorlix::web {

// The web board's page: one self-contained HTML file (board.html), built into the program.
std::string_view boardPageHtml();

}  // namespace vorlix::web
