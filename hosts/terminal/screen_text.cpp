#include "hosts/terminal/screen_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string_view>

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
  // Black of the 256-colour palette, not bold: a theme may show colour 30 or bold black as grey,
  // and grey on orange is hard to read.
  if (control.colour == platform::Color::orangeColor()) return "\x1b[38;5;16;48;5;208m";
  return "\x1b[97m" + trueColourBackground(control.colour);
}

// The key stands out in yellow on the dark buttons and underlined on any other.
std::string keyColours(const app::ControlLook& control) {
  const bool dark = control.colour == platform::Color::blackColor() ||
                    control.colour == platform::Color::grayColor();
  return dark ? "\x1b[93m" : "\x1b[4m";
}

// The key is joined to the title ("0:10"), so a key and its title read as one button. In colour
// the buttons' backgrounds part them; without colour, brackets do.
std::string controlText(const app::ControlLook& control, Colours colours) {
  std::string key(ui::keyNameFor(control.title));
  const std::string joined = key.empty() || key == control.title ? "" : key + ":";
  if (colours == Colours::off) return "[" + joined + control.title + "]";
  const std::string background = controlColours(control);
  std::string text = background + " ";
  if (!joined.empty()) text += keyColours(control) + joined + kReset + background;
  return text + control.title + " " + kReset;
}

std::string clipped(std::string text, int columns) {
  const auto room = static_cast<std::size_t>(std::max(columns - 1, 0));
  if (text.size() > room) text.resize(room);
  return text;
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

void addBoard(std::vector<std::string>& lines, const app::ScreenSnapshot& screen, Colours colours) {
  std::string row;
  int inRow = 0;
  for (const auto& view : screen.views) {
    const auto* cell = std::get_if<app::CellLook>(&view);
    if (cell == nullptr) continue;
    if (colours == Colours::off)
      row.append(" ").append(cellText(*cell));
    else
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
// Without colour the buttons' brackets part them.
void addPanel(std::vector<std::string>& lines, const app::ScreenSnapshot& screen, Colours colours) {
  const bool plain = colours == Colours::off;
  std::map<double, std::map<double, std::string>> rows;
  for (const auto& view : screen.views) {
    if (const auto* control = std::get_if<app::ControlLook>(&view))
      rows[control->frame.y][control->frame.x] = controlText(*control, colours);
    else if (const auto* text = std::get_if<app::TextLook>(&view))
      rows[text->frame.y][text->frame.x] =
          plain ? " " + text->text + " " : std::string(kBold) + " " + text->text + " " + kReset;
  }
  for (const auto& [y, row] : rows) {
    std::string line = " ";
    for (const auto& [x, text] : row) line += text;
    lines.push_back(line);
  }
}

// The question on screen with its answers, the answers first so the keys that answer stay on
// screen. A question too wide for one line also takes the blank line above it for its text (without
// its title when that does not fit either), so the host can read the whole question.
void addPrompt(std::vector<std::string>& lines, const Prompt& prompt, int columns,
               Colours colours) {
  std::string answers;
  for (const auto& button : prompt.buttons)
    answers += " [" + button.substr(0, 1) + "] " + button + " ";
  const std::string question = " " + prompt.title + ": " + prompt.message + " ";
  auto reversed = [colours](const std::string& text) {
    return colours == Colours::off ? text : std::string("\x1b[7m") + text + kReset;
  };
  const auto room = static_cast<std::size_t>(std::max(columns - 1, 0));
  if (answers.size() + 1 + question.size() <= room || lines.empty()) {
    lines.push_back(reversed(clipped(answers + " " + question, columns)));
    return;
  }
  const std::string message = " " + prompt.message + " ";
  lines.back() = reversed(clipped(question.size() <= room ? question : message, columns));
  lines.push_back(reversed(clipped(answers, columns)));
}

// `text` in lines of at most `width` characters, broken between words (a word longer than a line
// is cut).
std::vector<std::string> wrappedWords(const std::string& text, std::size_t width) {
  std::vector<std::string> lines;
  std::istringstream words(text);
  std::string line;
  for (std::string word; words >> word;) {
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word.substr(0, width);
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> tooSmall(TerminalSize size) {
  std::ostringstream sentence;
  sentence << "The terminal is too small for the board: it needs " << kSmallestTerminal.columns
           << " columns and " << kSmallestTerminal.rows << " rows, and this one has "
           << size.columns << " columns and " << size.rows
           << " rows. Make it larger to see the game, or press Q to quit.";
  return wrappedWords(sentence.str(), static_cast<std::size_t>(std::max(size.columns - 1, 10)));
}

// The lines under the panel: the prompt, said, speech (one line or more) and keys; a claim has
// one more, which a terminal of the smallest size still has room for.
constexpr std::size_t kClaimLines = 5;

}  // namespace

Colours coloursOfEnvironment() {
  const char* noColour = std::getenv("NO_COLOR");
  if (noColour != nullptr && *noColour != '\0') return Colours::off;
  return cursorMovesOfEnvironment() ? Colours::on : Colours::off;
}

bool cursorMovesOfEnvironment() {
  const char* term = std::getenv("TERM");
  return term == nullptr || std::string_view(term) != "dumb";
}

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
                                     TerminalSize size, Colours colours) {
  if (size.columns < kSmallestTerminal.columns || size.rows < kSmallestTerminal.rows)
    return tooSmall(size);
  const bool plain = colours == Colours::off;
  auto styled = [plain](const char* style, const std::string& text) {
    return plain ? text : std::string(style) + text + kReset;
  };
  std::vector<std::string> lines;
  lines.push_back(styled(kBold, clipped(" " + screen.title, size.columns)));
  lines.emplace_back();
  if (status.roomCard.empty()) {
    addBoard(lines, screen, colours);
    lines.emplace_back();
    addPanel(lines, screen, colours);
  } else {
    lines.insert(lines.end(), status.roomCard.begin(), status.roomCard.end());
  }
  lines.emplace_back();
  if (!status.claim.empty()) {
    // The claim takes the place of the lines below the panel while the host checks it.
    for (std::size_t line = 0; line < kClaimLines; ++line)
      lines.push_back(line < status.claim.size() ? clipped(" " + status.claim[line], size.columns)
                                                 : "");
    return lines;
  }
  // The question open on screen, or else what the application has to tell (the game record
  // cannot be kept).
  if (status.prompt)
    addPrompt(lines, *status.prompt, size.columns, colours);
  else
    lines.push_back(clipped(status.notice.empty() ? "" : " " + status.notice, size.columns));
  lines.push_back(clipped(" Said: " + status.lastSpoken, size.columns));
  std::vector<std::string> speech;
  // The note about speech (a lost sound server, say) takes the rows the terminal has to spare,
  // broken between words.
  const auto keysLine = 1;
  const auto room =
      std::max<std::ptrdiff_t>(1, size.rows - static_cast<std::ptrdiff_t>(lines.size()) - keysLine);
  for (const auto& line :
       wrappedWords("Speech: " + status.speechNote, static_cast<std::size_t>(size.columns - 2))) {
    if (static_cast<std::ptrdiff_t>(speech.size()) == room) break;
    speech.push_back(" " + line);
  }
  lines.insert(lines.end(), speech.begin(), speech.end());
  lines.push_back(
      styled(kDim, clipped(status.roomNote.empty()
                               ? " Keys on buttons. Space play/pause, C claim, W web board, Q quit"
                               : " " + status.roomNote,
                           size.columns)));
  return lines;
}

}  // namespace terminal
