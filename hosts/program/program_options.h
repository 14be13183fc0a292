#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
class ParseError;
}  // namespace CLI

#include "app/application_main.h"
#include "hosts/web/listen_address.h"
#include "tickets/book.h"

namespace program {

enum class FrontEnd { automatic, terminal, window, script };
enum class ClockKind { automatic, virtualTime, realTime };

// Everything the command line asks for, checked.
struct ProgramOptions {
  FrontEnd frontEnd = FrontEnd::automatic;
  std::string scriptPath;                     // "-" for standard input
  std::optional<std::string> screenshotPath;  // a PNG of the window once the script has ended
  std::optional<std::uint64_t> seed;
  std::vector<std::uint32_t> drawOrder;
  ClockKind clock = ClockKind::automatic;
  app::ScreenSettings screen;
  std::string voice;
  bool listVoices = false;
  std::optional<std::string> recordPath;
  bool force = false;    // --record may replace an existing file
  bool verbose = false;  // console lines: the window's to standard output, the terminal's to errors
  std::string audio = "auto";
  std::optional<vorlix::web::ListenAddress> serve;  // --serve: where the web board listens
  std::size_t maxViewers = 10000;                   // the web board's cap on viewers
  bool audience = false;  // --audience: the window for the room beside the caller's window
  std::optional<tickets::Book> book;  // --book: claims are checked against its tickets
};

// Bad command-line input: the message names the problem; the program exits with code 2. Where the
// message cannot say what would have been right (an option that does not exist), it points to
// --help.
class UsageError : public std::runtime_error {
 public:
  enum class Help { notNeeded, pointTo };
  explicit UsageError(const std::string& message, Help help = Help::notNeeded)
      : std::runtime_error(message), help_(help) {}
  bool pointsToHelp() const { return help_ == Help::pointTo; }

 private:
  Help help_;
};

// The command-line parser's complaint in our own words.
UsageError parserErrorInOurWords(const CLI::App& cli, const CLI::ParseError& error);

// What parsing gave: options to run with, or text to print and an exit code (--help, --version).
struct ParsedCommandLine {
  std::optional<ProgramOptions> options;
  std::string text;
  int exitCode = 0;
};

// Throws UsageError for anything it cannot accept.
ParsedCommandLine parseCommandLine(int argc, const char* const* argv);

// A --seed value: a whole number from 0 to 2^64 - 1; throws UsageError.
std::uint64_t parseSeed(const std::string& text);

// "7,45,3" to the numbers, each from 1 to 90 and none twice; throws UsageError.
std::vector<std::uint32_t> parseDrawOrder(const std::string& text);

}  // namespace program
