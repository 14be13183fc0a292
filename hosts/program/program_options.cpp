#include "hosts/program/program_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <sstream>

#include "app/game_export.h"
#include "app/game_recorder.h"
#include "hosts/program/record_options.h"
#include "platform/message_text.h"
#include "tickets/book_json.h"

#ifdef VORLIX_HAVE_WINDOW_HOST
#include "hosts/qt/window_host.h"
#endif

namespace program {
namespace {

constexpr double kNarrowestWidth = 240.0;
constexpr double kWidestWidth = 1366.0;
constexpr const char* kVersion = "vorlix-caller 0.1.0";

std::string widthText(double width) {
  std::ostringstream text;
  text << width;
  return text.str();
}

double parseWidth(const std::string& text) {
  double width = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width);
  const bool number = !text.empty() && error == std::errc() && end == text.data() + text.size();
  if (!number || !(width >= kNarrowestWidth && width <= kWidestWidth))
    throw UsageError("--width must be from " + widthText(kNarrowestWidth) + " to " +
                     widthText(kWidestWidth) + " points, not " + platform::printableExcerpt(text));
  return width;
}

FrontEnd chosenFrontEnd(bool terminal, bool window, bool script) {
  if (terminal + window + script > 1)
    throw UsageError("choose one of --terminal, --window and --script");
  if (terminal) return FrontEnd::terminal;
  if (window) return FrontEnd::window;
  if (script) return FrontEnd::script;
  return FrontEnd::automatic;
}

// One of a few words, or a message that lists them.
std::string oneOf(const std::string& option, const std::string& value,
                  const std::vector<std::string>& words) {
  if (std::find(words.begin(), words.end(), value) != words.end()) return value;
  std::string listed;
  for (std::size_t i = 0; i < words.size(); ++i)
    listed += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
  throw UsageError(option + " takes " + listed + ", not \"" + platform::printableExcerpt(value) +
                   "\"");
}

// The parser's own texts ("--seed: At Most 1 required but received 2") in our words.
}  // namespace

UsageError parserErrorInOurWords(const CLI::App& cli, const CLI::ParseError& error) {
  const std::string text = error.what();
  const auto colon = text.find(": ");
  const std::string option = text.substr(0, colon);
  if (text.ends_with(" is required"))  // a required option or argument that was left out
    return UsageError(text.substr(0, text.size() - 12) + " is needed", UsageError::Help::pointTo);
  if (colon == std::string::npos || option.rfind("--", 0) != 0)
    return UsageError("the command line could not be read: " + platform::printableExcerpt(text),
                      UsageError::Help::pointTo);
  if (text.find(" missing") != std::string::npos) {
    const CLI::Option* known = cli.get_option_no_throw(option);
    const std::string value = known != nullptr ? known->get_type_name() : "VALUE";
    return UsageError(option + " needs a value after it: " + option + " " + value);
  }
  if (text.find("At Most") != std::string::npos)
    return UsageError(option + " is given more than once; give it once");
  return UsageError(option + ": " + platform::printableExcerpt(text.substr(colon + 2)),
                    UsageError::Help::pointTo);
}

namespace {

// What the parser took for neither an option nor its value.
void refuseLeftOver(const std::vector<std::string>& leftOver) {
  if (leftOver.empty()) return;
  const std::string first = platform::printableExcerpt(leftOver.front());
  if (!first.empty() && first.front() == '-')
    throw UsageError("there is no option " + first, UsageError::Help::pointTo);
  throw UsageError("\"" + first +
                       "\" is not an option; every option starts with -- (a script is given "
                       "with --script FILE)",
                   UsageError::Help::pointTo);
}

ClockKind chosenClock(const std::string& clock, FrontEnd frontEnd) {
  if (clock.empty()) return ClockKind::automatic;
  if (frontEnd != FrontEnd::script)
    throw UsageError(
        "--clock only applies to --script runs; the terminal caller and the window "
        "run in real time");
  return clock == "real" ? ClockKind::realTime : ClockKind::virtualTime;
}

// --serve [ADDRESS:]PORT; the option alone serves on every interface at the default port.
vorlix::web::ListenAddress parseServe(const std::string& text) {
  try {
    return vorlix::web::parseListenAddress(text);
  } catch (const std::invalid_argument& error) {
    throw UsageError("--serve takes [ADDRESS:]PORT (8090, 127.0.0.1:8090, [::1]:8090): " +
                     platform::printableExcerpt(error.what()));
  }
}

constexpr std::size_t kMostViewers = 1'000'000;

std::size_t parseMaxViewers(const std::string& text) {
  std::size_t viewers = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), viewers);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || viewers < 1 ||
      viewers > kMostViewers)
    throw UsageError("--max-viewers takes a whole number from 1 to 1000000, not " +
                     platform::printableExcerpt(text));
  return viewers;
}

// The audience window stands beside the caller's window, so it asks for the window.
FrontEnd frontEndWithAudience(FrontEnd chosen) {
  if (chosen == FrontEnd::terminal || chosen == FrontEnd::script)
    throw UsageError(
        "--audience opens the room's window beside the caller's window; it goes "
        "with the window, not with --terminal or --script");
  return FrontEnd::window;
}

// --draw-order @FILE replays a game from its export (vorlix-caller games export).
std::string exportedOrder(const std::string& file) {
  try {
    return app::drawOrderFromExport(file);
  } catch (const std::runtime_error& error) {
    throw UsageError(std::string("--draw-order @FILE: ") + error.what());
  }
}

tickets::Book readBook(const std::string& path) {
  try {
    return tickets::readBookFile(path);
  } catch (const tickets::BookFormatError& error) {
    throw UsageError(std::string("the book ") + error.what());
  }
}

}  // namespace

std::uint64_t parseSeed(const std::string& text) {
  std::uint64_t seed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
  if (text.empty() || error != std::errc() || end != text.data() + text.size())
    throw UsageError("--seed takes a whole number from 0 to 18446744073709551615, not " +
                     platform::printableExcerpt(text));
  return seed;
}

std::vector<std::uint32_t> parseDrawOrder(const std::string& text) {
  std::vector<std::uint32_t> numbers;
  std::istringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), number);
    if (item.empty() || error != std::errc() || end != item.data() + item.size() || number < 1 ||
        number > 90)
      throw UsageError("--draw-order takes numbers from 1 to 90 separated by commas; \"" +
                       platform::printableExcerpt(item) + "\" is not one");
    if (std::find(numbers.begin(), numbers.end(), number) != numbers.end())
      throw UsageError("--draw-order names " + item + " twice; each number is drawn once a game");
    numbers.push_back(number);
  }
  if (numbers.empty() || text.back() == ',')
    throw UsageError("--draw-order takes numbers from 1 to 90 separated by commas");
  return numbers;
}

ParsedCommandLine parseCommandLine(int argc, const char* const* argv) {
  CLI::App cli("Calls a 90-number bingo game: draws the numbers, speaks them and shows the board.",
               "vorlix-caller");
  cli.set_version_flag("--version", kVersion);
  cli.allow_extras();
  bool terminal = false;
  bool window = false;
  ProgramOptions options;
  std::optional<std::string> script;
  std::optional<std::string> seed;
  std::optional<std::string> width;
  std::string drawOrder;
  std::string clock;
  std::string idiom = "phone";
  std::optional<std::string> serve;
  std::optional<std::string> maxViewers;
  cli.add_flag("--terminal", terminal,
               "The caller in this terminal (the default without a display)");
  cli.add_flag("--window", window, "The caller in a desktop window (the default with a display)");
  cli.add_option("--script", script,
                 "Run the script of taps in FILE (- for standard input) and "
                 "print the event transcript")
      ->type_name("FILE");
  cli.add_option("--screenshot", options.screenshotPath,
                 "With --script: save the window as a PNG picture when the script has ended")
      ->type_name("OUT.png");
  cli.add_option("--seed", seed, "Seed for a reproducible draw (default: the secure generator)")
      ->type_name("N");
  cli.add_option("--draw-order", drawOrder,
                 "Draw these distinct numbers first, in order, then go on at random; "
                 "@FILE takes them from a game's export (vorlix-caller games export)")
      ->type_name("N,N,...|@FILE");
  cli.add_option("--clock", clock, "Clock of a scripted run (default: virtual)")
      ->type_name("virtual|real");
  cli.add_option("--width", width, "Width of the screen in points (240 to 1366, default 320)")
      ->type_name("POINTS");
  cli.add_option("--idiom", idiom, "Device the screen is laid out for (default: phone)")
      ->type_name("phone|pad");
  cli.add_flag("--silent", options.screen.silent, "Speak nothing; everything else as usual");
  cli.add_flag("--repeat-twice", options.screen.repeatTwice, "Call each new number twice in a row");
  cli.add_option("--voice", options.voice, "The espeak-ng voice to speak with (see --list-voices)")
      ->type_name("NAME");
  cli.add_flag("--list-voices", options.listVoices, "List the voices and stop");
  cli.add_option("--record", options.recordPath,
                 "Record the game as heard in the hall, as a WAV file (in every mode)")
      ->type_name("FILE.wav");
  cli.add_flag("--force", options.force, "Let --record replace a file that exists");
  cli.add_flag("--verbose", options.verbose,
               "Write the console lines (timer intervals): the window to standard output, the "
               "terminal caller to standard error (redirect it: 2>caller.log)");
  cli.add_option("--audio", options.audio, "Where live speech goes (default: auto)")
      ->type_name("auto|pulse|alsa|none");
  cli.add_option("--serve", serve,
                 "Serve the web board for phones and TVs in the hall (default: every interface, "
                 "port 8090)")
      ->type_name("[ADDRESS:]PORT")
      ->expected(0, 1);
  cli.add_option("--max-viewers", maxViewers, "The most viewers of the web board (default 10000)")
      ->type_name("N");
  cli.add_flag("--audience", options.audience,
               "Show the room's window too: full screen on a second screen when there is one");
  std::optional<std::string> book;
  cli.add_option("--book", book,
                 "Check claims against the tickets of this book (JSON, as vorlix-caller tickets "
                 "--json writes it)")
      ->type_name("FILE.json");
  RecordOptions record;
  record.addTo(cli);

#ifdef VORLIX_HAVE_WINDOW_HOST
  // Built only when the help is shown.
  cli.footer([] { return "Keys in the window:\n" + qthost::windowKeysHelp(); });
#endif

  try {
    cli.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return {std::nullopt, cli.help(), 0};
  } catch (const CLI::CallForVersion&) {
    return {std::nullopt, std::string(kVersion) + "\n", 0};
  } catch (const CLI::ParseError& error) {
    throw parserErrorInOurWords(cli, error);
  }
  refuseLeftOver(cli.remaining());
  if (!clock.empty()) oneOf("--clock", clock, {"virtual", "real"});
  oneOf("--idiom", idiom, {"phone", "pad"});
  oneOf("--audio", options.audio, {"auto", "pulse", "alsa", "none"});
  if (seed) options.seed = parseSeed(*seed);
  if (width) options.screen.width = parseWidth(*width);
  options.frontEnd = chosenFrontEnd(terminal, window, script.has_value());
  options.scriptPath = script.value_or("");
  if (options.screenshotPath && options.frontEnd != FrontEnd::script)
    throw UsageError("--screenshot goes with --script: the picture is taken when the script ends");
  if (!drawOrder.empty() || cli.count("--draw-order") > 0)
    options.drawOrder =
        parseDrawOrder(drawOrder.starts_with('@') ? exportedOrder(drawOrder.substr(1)) : drawOrder);
  if (book) options.book = readBook(*book);
  options.clock = chosenClock(clock, options.frontEnd);
  if (serve) options.serve = parseServe(*serve);
  if (maxViewers) options.maxViewers = parseMaxViewers(*maxViewers);
  if (options.audience) options.frontEnd = frontEndWithAudience(options.frontEnd);
  options.screen.idiom =
      idiom == "pad" ? platform::UserInterfaceIdiom::pad : platform::UserInterfaceIdiom::phone;
  options.screen.keeping = record.settings(options.frontEnd == FrontEnd::script,
                                           app::drawSourceText(options.seed, options.drawOrder));
  return {std::move(options), "", 0};
}

}  // namespace program
