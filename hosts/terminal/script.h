#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace terminal {

// One line of a script of taps.
struct ScriptCommand {
  enum class Kind { tap, answer, wait, untilIdle, board, claim, confirm };
  Kind kind = Kind::tap;
  std::string title;         // tap, answer
  double seconds = 0.0;      // wait
  std::uint32_t serial = 0;  // claim: the ticket's serial
  int line = 0;              // where it stands in the script, counting from 1
};

// A script that cannot be run: the message names the line.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& problem)
      : std::runtime_error("script line " + std::to_string(line) + ": " + problem), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// Reads the whole script before anything runs, so a line it does not understand stops the run
// before the first tap. One command a line; '#' starts a comment; blank lines are skipped.
std::vector<ScriptCommand> parseScript(std::istream& in);

}  // namespace terminal
