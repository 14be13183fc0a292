#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/screen_snapshot.h"
#include "hosts/terminal/terminal_session.h"

namespace terminal {

// An alert on screen, shown as a prompt under the board.
struct Prompt {
  std::string title;
  std::string message;
  std::vector<std::string> buttons;
};

// What the terminal shows besides the screen itself.
struct CallerStatus {
  std::optional<Prompt> prompt;
  std::string lastSpoken;             // the line handed to the voice last
  std::string lastConsole;            // the last diagnostic line
  std::string speechNote;             // where the speech goes, and any warning about it
  std::vector<std::string> claim;     // a claim being checked (claimLines), shown under the panel
  std::string roomNote;               // how the web board was last started or stopped
  std::vector<std::string> roomCard;  // shown in place of the board and panel when not empty
  std::string notice;  // what the application has to tell (the game record cannot be kept)
};

// The smallest terminal the board and the panel fit in, every line shorter than a row (a line as
// wide as the terminal would wrap on some) and no line written on the last row's end.
inline constexpr TerminalSize kSmallestTerminal{66, 21};

// With colours as ANSI escape sequences, or plain text (TERM=dumb, NO_COLOR).
enum class Colours { on, off };

// Colours are off when NO_COLOR is set or the terminal is dumb.
Colours coloursOfEnvironment();
// False on a dumb terminal: no alternate screen, no cursor moves, each new screen printed below
// the last one.
bool cursorMovesOfEnvironment();

// The whole terminal screen, line by line: the title, the board in its colours, the panel with
// each control's key, the prompt, the spoken line and the state of the speech. A terminal too
// small for that gets a plain sentence saying so instead.
// The web board's addresses and, when the terminal has room, the first one's QR code in block
// characters; without addresses, that it is not served.
std::vector<std::string> roomCardLines(const std::vector<std::string>& urls, TerminalSize size);

std::vector<std::string> screenLines(const app::ScreenSnapshot& screen, const CallerStatus& status,
                                     TerminalSize size, Colours colours = Colours::on);

}  // namespace terminal
