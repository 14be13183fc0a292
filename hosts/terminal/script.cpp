#include "hosts/terminal/script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/message_text.h"
#include "ui/control_catalogue.h"

namespace terminal {
namespace {

// A wait longer than this is surely a slip of the keyboard; a whole game takes under an hour.
constexpr double kLongestWait = 24.0 * 3600.0;

std::string_view trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool isControlTitle(std::string_view title) {
  return ui::controlTitled(title) != nullptr;
}

double parseSeconds(std::string_view text, int line) {
  double seconds = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(seconds) || seconds < 0.0 || seconds > kLongestWait)
    throw ScriptError(line, "wait needs a number of seconds from 0 to 86400, not \"" +
                                platform::printableExcerpt(text) + "\"");
  return seconds;
}

std::uint32_t parseSerial(std::string_view text, int line) {
  std::uint32_t serial = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), serial);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || serial < 1 ||
      serial > 999'999'999)
    throw ScriptError(line,
                      "claim needs a ticket's serial, a whole number from 1 to 999999999, "
                      "not \"" +
                          platform::printableExcerpt(text) + "\"");
  return serial;
}

ScriptCommand parseLine(std::string_view text, int line) {
  const auto space = text.find_first_of(" \t");
  const std::string_view word = text.substr(0, space);
  const std::string_view rest = space == std::string_view::npos ? "" : trim(text.substr(space));
  ScriptCommand command;
  command.line = line;
  auto noArgument = [&](ScriptCommand::Kind kind) {
    if (!rest.empty())
      throw ScriptError(line, std::string(word) + " takes nothing after it, found \"" +
                                  platform::printableExcerpt(rest) + "\"");
    command.kind = kind;
  };
  if (word == "tap") {
    if (!isControlTitle(rest))
      throw ScriptError(line, "there is no control titled \"" + platform::printableExcerpt(rest) +
                                  "\" (Play, Pause, Re-start, L2, L3, L5, L10, ALL, Remaining "
                                  "Numbers, 2 to 10)");
    command.kind = ScriptCommand::Kind::tap;
    command.title = rest;
  } else if (word == "answer") {
    if (rest.empty()) throw ScriptError(line, "answer needs the title of an alert's button");
    command.kind = ScriptCommand::Kind::answer;
    command.title = rest;
  } else if (word == "wait") {
    command.kind = ScriptCommand::Kind::wait;
    command.seconds = parseSeconds(rest, line);
  } else if (word == "until-idle") {
    noArgument(ScriptCommand::Kind::untilIdle);
  } else if (word == "board") {
    noArgument(ScriptCommand::Kind::board);
  } else if (word == "claim") {
    command.kind = ScriptCommand::Kind::claim;
    command.serial = parseSerial(rest, line);
  } else if (word == "confirm") {
    noArgument(ScriptCommand::Kind::confirm);
  } else {
    throw ScriptError(line, "unknown command \"" + platform::printableExcerpt(word) +
                                "\" (the commands are tap, answer, wait, until-idle, board, "
                                "claim and confirm)");
  }
  return command;
}

}  // namespace

std::vector<ScriptCommand> parseScript(std::istream& in) {
  std::vector<ScriptCommand> commands;
  std::string text;
  int line = 0;
  while (std::getline(in, text)) {
    ++line;
    std::string_view content = text;
    content = trim(content.substr(0, content.find('#')));
    if (!content.empty()) commands.push_back(parseLine(content, line));
  }
  if (in.bad()) throw ScriptError(line + 1, "the script could not be read to its end");
  return commands;
}

}  // namespace terminal
