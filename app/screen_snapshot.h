#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/color.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/label.h"

namespace app {

// Where the game stands: it follows from the screen's fields, the game keeps no phase of its own.
enum class GamePhase { notStarted, calling, paused, recalling, completed };

const char* gamePhaseName(GamePhase phase);

// How a view is drawn: its box (background, rounded corners, border) and the one line of text in
// it. Hosts that paint read this; hosts that write text need only the looks below.
struct Drawing {
  platform::Rect frame;  // in the screen's points
  std::optional<platform::Color> background;
  double cornerRadius = 0.0;
  double borderWidth = 0.0;
  platform::Color borderColour;
  std::optional<std::string> text;
  platform::Font font;
  platform::TextAlignment alignment = platform::TextAlignment::left;
  std::optional<platform::Color> textColour;  // empty: the toolkit's default for the view
  bool operator==(const Drawing&) const = default;
};

// How a board cell looks: the three colours of the game, or something else.
enum class CellState { unfilled, justFilled, filled, other };

struct CellLook {
  int number = 0;
  CellState state = CellState::unfilled;
  platform::Color colour;
  Drawing drawing;
  bool operator==(const CellLook&) const = default;
};

struct ControlLook {
  std::string title;
  platform::Color colour;  // the background; clear when there is none
  bool live = false;       // whether it takes taps
  platform::Rect frame;
  Drawing drawing;
  bool operator==(const ControlLook&) const = default;
};

struct TextLook {
  std::string text;
  platform::Rect frame;
  Drawing drawing;
  bool operator==(const TextLook&) const = default;
};

using ViewLook = std::variant<CellLook, ControlLook, TextLook>;

// An alert on screen, waiting for an answer.
struct AlertLook {
  std::string title;
  std::string message;
  std::vector<std::string> buttons;
  bool operator==(const AlertLook&) const = default;
};

// What a person sees and hears of the screen at one moment. It is the hosts' one way of reading
// the screen: every front end draws it, the event transcript compares two of them.
struct ScreenSnapshot {
  std::string title;
  std::string numberBeingCalled;   // the number the title shows; empty before the first call
  std::vector<int> calledInOrder;  // every number drawn so far, first to last
  // Every view of the screen in its order: the 90 cells, then the controls row by row with the
  // speed label after Pause.
  std::vector<ViewLook> views;
  std::string speedLabel;
  int speed = 5;                      // the speed the panel is set to, 2 (fastest) to 10
  std::vector<AlertLook> openAlerts;  // oldest first; the last one is on top
  GamePhase phase = GamePhase::notStarted;
  std::string lastSpoken;  // the line handed to speech last
  platform::Rect bounds;   // the screen's own rectangle
  std::optional<platform::Color> background;

  bool operator==(const ScreenSnapshot&) const = default;

  // The control titled `controlTitle`, if the screen has one.
  const ControlLook* control(const std::string& controlTitle) const;
  // The cells, 1 to 90.
  std::vector<const CellLook*> cells() const;
};

}  // namespace app
