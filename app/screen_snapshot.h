#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/window.h"
#include "platform/color.h"
#include "platform/geometry.h"

namespace app {

// How a board cell looks: the three colours of the game, or something else.
enum class CellState { unfilled, justFilled, filled, other };

struct CellLook {
  int number = 0;
  CellState state = CellState::unfilled;
  platform::Color colour;
  bool operator==(const CellLook&) const = default;
};

struct ControlLook {
  std::string title;
  platform::Color colour;  // the background; clear when there is none
  bool live = false;       // whether it takes taps
  platform::Rect frame;
  bool operator==(const ControlLook&) const = default;
};

struct TextLook {
  std::string text;
  platform::Rect frame;
  bool operator==(const TextLook&) const = default;
};

using ViewLook = std::variant<CellLook, ControlLook, TextLook>;

// What a person sees on the screen at one moment: the title, then every view of the root view in
// its subview order (board cells, buttons, the speed label). Hosts draw it; the event transcript
// compares two of them.
struct ScreenSnapshot {
  std::string title;
  std::vector<ViewLook> views;
  bool operator==(const ScreenSnapshot&) const = default;
};

ScreenSnapshot snapshotOf(ViewController& screen);

}  // namespace app
