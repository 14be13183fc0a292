#include "hosts/terminal/screen_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "hosts/common/room_keys.h"
#include "platform/color.h"
#include "platform/qr/qr_text.h"
#include "ui/control_catalogue.h"

namespace terminal {
namespace {

constexpr const char* kReset = "\x1b[0m";
constexpr const char* kBold = "\x1b[1m";
constexpr const char* kDim = "\x1b[2m";

int channel(double component) {
  return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255.0));
}

// Any colour the game has no name for is shown as it is, in 24-bit colour.
std::string trueColourBackground(const platform::Color& colour) {
  return "\x1b[48;2;" + std::to_string(channel(colour.red)) + ";" +
         std::to_string(channel(colour.green)) + ";" + std::to_string(channel(colour.blue)) + "m";
}

std::string cellColours(const app::CellLook& cell) {
  switch (cell.state) {
    case app::CellState::unfilled:
      return "\x1b[30;43m";
    case app::CellState::justFilled:
      return "\x1b[1;97;44m";
    case app::CellState::filled:
      return "\x1b[30;42m";
    case app::CellState::other:
      break;
  }
  return "\x1b[30m" + trueColourBackground(cell.colour);
}

std::string controlColours(const app::ControlLook& control) {
  if (control.colour == platform::Color::blackColor()) return "\x1b[97;40m";
  if (control.colour == platform::Color::grayColor()) return "\x1b[37;100m";
  if (control.colour == platform::Color::orangeColor()) return "\x1b[1;30;48;5;208m";
  return "\x1b[97m" + trueColourBackground(control.colour);
}

// The key stands out in yellow on the dark buttons and underlined on any other.
std::string keyColours(const app::ControlLook& control) {
  const bool dark = control.colour == platform::Color::blackColor() ||
                    control.colour == platform::Color::grayColor();
  return dark ? "\x1b[93m" : "\x1b[4m";
}

std::string controlText(const app::ControlLook& control) {
  const std::string colours = controlColours(control);
  std::string text = colours + " ";
  if (const auto key = ui::keyNameFor(control.title); !key.empty() && key != control.title)
    text += keyColours(control) + std::string(key) + kReset + colours + " ";
  return text + control.title + " " + kReset;
}

// Brackets say the same as the colours, for a terminal without colour or an eye that misses them:
// " 45 " not called yet, ">45<" just called, "[45]" called.
std::string cellText(const app::CellLook& cell) {
  char text[8];
  const char* frame = cell.state == app::CellState::justFilled ? "><"
                      : cell.state == app::CellState::filled   ? "[]"
                                                               : "  ";
  std::snprintf(text, sizeof text, "%c%2d%c", frame[0], cell.number, frame[1]);
  return text;
}

void addBoard(std::vector<std::string>& lines, const app::ScreenSnapshot& screen) {
  std::string row;
  int inRow = 0;
  for (const auto& view : screen.views) {
    const auto* cell = std::get_if<app::CellLook>(&view);
    if (cell == nullptr) continue;
    row.append(" ").append(cellColours(*cell)).append(cellText(*cell)).append(kReset);
    if (++inRow == 10) {
      lines.push_back(row);
      row.clear();
      inRow = 0;
    }
  }
  if (!row.empty()) lines.push_back(row);
}

// The controls and the speed label, row by row as the screen lays them out, left to right.
void addPanel(std::vector<std::string>& lines, const app::ScreenSnapshot& screen) {
  std::map<double, std::map<double, std::string>> rows;
  for (const auto& view : screen.views) {
    if (const auto* control = std::get_if<app::ControlLook>(&view))
      rows[control->frame.y][control->frame.x] = controlText(*control);
    else if (const auto* text = std::get_if<app::TextLook>(&view))
      rows[text->frame.y][text->frame.x] = std::string(kBold) + " " + text->text + " " + kReset;
  }
  for (const auto& [y, row] : rows) {
    std::string line;
    for (const auto& [x, text] : row) line += " " + text;
    lines.push_back(line);
  }
}

constexpr const char* kReverse = "\x1b[7m";

// " [Y] Yes  [N] No ", each answer with its key.
std::string answersText(const std::vector<std::string>& buttons) {
  std::string text;
  for (const auto& button : buttons) text += " [" + button.substr(0, 1) + "] " + button + " ";
  return text;
}

std::string promptText(const Prompt& prompt) {
  return std::string(kReverse) + " " + prompt.title + ": " + prompt.message + " " +
         answersText(prompt.buttons) + kReset;
}

std::string clipped(std::string text, int columns) {
  const auto room = static_cast<std::size_t>(std::max(columns - 1, 0));
  if (text.size() > room) text.resize(room);
  return text;
}

// A blank line, then the question open on screen. A question too wide for one line takes the
// blank line for its message (without its title when that does not fit either) and keeps its
// answers on the next. With no question, the second line
// tells the application's notice (the game record cannot be kept).
void addPromptLines(std::vector<std::string>& lines, const CallerStatus& status,
                    TerminalSize size) {
  if (!status.prompt) {
    lines.emplace_back();
    lines.push_back(clipped(status.notice.empty() ? "" : " " + status.notice, size.columns));
    return;
  }
  const Prompt& prompt = *status.prompt;
  const std::string question = " " + prompt.title + ": " + prompt.message + " ";
  const std::string answers = answersText(prompt.buttons);
  if (question.size() + answers.size() < static_cast<std::size_t>(size.columns)) {
    lines.emplace_back();
    lines.push_back(promptText(prompt));
    return;
  }
  const std::string message = " " + prompt.message + " ";
  const bool titleFits = question.size() < static_cast<std::size_t>(size.columns);
  lines.push_back(std::string(kReverse) + clipped(titleFits ? question : message, size.columns) +
                  kReset);
  lines.push_back(std::string(kReverse) + answers + kReset);
}

std::vector<std::string> tooSmall(TerminalSize size) {
  std::ostringstream sentence;
  sentence << "The terminal is too small for the board: it needs " << kSmallestTerminal.columns
           << " columns and " << kSmallestTerminal.rows << " rows, and this one has "
           << size.columns << " columns and " << size.rows
           << " rows. Make it larger to see the game, or press Q to quit.";
  std::vector<std::string> lines;
  std::istringstream words(sentence.str());
  std::string word;
  std::string line;
  const auto width = static_cast<std::size_t>(std::max(size.columns - 1, 10));
  while (words >> word) {
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  lines.push_back(line);
  return lines;
}

// The lines under the panel: the prompt, said, log, speech and keys; a claim has as many.
constexpr std::size_t kClaimLines = 5;

}  // namespace

std::vector<std::string> roomCardLines(const std::vector<std::string>& urls, TerminalSize size) {
  if (urls.empty())
    return {" " + std::string(hostkit::kNotServingLine), "", " J: back to the board"};
  std::vector<std::string> lines;
  for (const std::string& url : urls) lines.push_back(" Web board: " + url);
  const platform::QrCode qr = platform::QrCode::encode(urls.front());
  const auto code = platform::qrCodeAsText(qr, platform::QrTextInk::terminalColours);
  // The rows around the card: the title, the blank lines, the prompt and the status lines.
  const int spare = size.rows - static_cast<int>(lines.size()) - 10;
  const int width = qr.size() + 8;
  if (static_cast<int>(code.size()) <= spare && width < size.columns) {
    for (const std::string& line : code) lines.push_back(" " + line);
  } else {
    lines.push_back(" (a larger terminal shows its QR code)");
  }
  lines.push_back(" J: back to the board");
  return lines;
}

std::vector<std::string> screenLines(const app::ScreenSnapshot& screen, const CallerStatus& status,
                                     TerminalSize size) {
  if (size.columns < kSmallestTerminal.columns || size.rows < kSmallestTerminal.rows)
    return tooSmall(size);
  std::vector<std::string> lines;
  lines.push_back(std::string(" ") + kBold + screen.title + kReset);
  lines.emplace_back();
  if (status.roomCard.empty()) {
    addBoard(lines, screen);
    lines.emplace_back();
    addPanel(lines, screen);
  } else {
    lines.insert(lines.end(), status.roomCard.begin(), status.roomCard.end());
  }
  if (!status.claim.empty()) {
    // The claim takes the place of the lines below the panel while the host checks it.
    lines.emplace_back();
    for (std::size_t line = 0; line < kClaimLines; ++line)
      lines.push_back(line < status.claim.size() ? clipped(" " + status.claim[line], size.columns)
                                                 : "");
    return lines;
  }
  addPromptLines(lines, status, size);
  lines.push_back(clipped(" Said: " + status.lastSpoken, size.columns));
  lines.push_back(std::string(kDim) + clipped(" Log: " + status.lastConsole, size.columns) +
                  kReset);
  lines.push_back(clipped(" Speech: " + status.speechNote, size.columns));
  lines.push_back(std::string(kDim) +
                  clipped(status.roomNote.empty()
                              ? " Keys on buttons. Space play/pause, C claim, W web board, Q quit"
                              : " " + status.roomNote,
                          size.columns) +
                  kReset);
  return lines;
}

}  // namespace terminal
