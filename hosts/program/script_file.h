#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

#include "hosts/terminal/script.h"

namespace program {

// A script of taps is a few hundred short lines; anything far past these is not a script, and is
// refused before it can fill the memory (--script /dev/zero).
inline constexpr std::size_t kLongestScriptLine = 1000;
inline constexpr std::size_t kLargestScript = 1 << 20;

// Reads the script at `path` ("-" for standard input) within the limits above, skipping a UTF-8
// byte order mark at its start, and parses it. Throws UsageError for a script that cannot be read,
// is a folder or is too large, and terminal::ScriptError for a line too long or not understood.
std::vector<terminal::ScriptCommand> readScriptFile(const std::string& path);

// The same for a script already open.
std::vector<terminal::ScriptCommand> readScriptStream(std::istream& in, const std::string& name);

}  // namespace program
