#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/button_type.h"
#include "engine/recall.h"

// Every control of the panel, once: its title, kind, what it does, the key that presses it in the
// window and in the terminal, and where it sits. The panel is built from this list; the script
// language, the key tables, the key help, the tooltips, the tests and the fuzz moves read it.
namespace ui {

inline constexpr std::string_view kPlayTitle = "Play";
inline constexpr std::string_view kPauseTitle = "Pause";

// A key on the keyboard: a character (lower case, ' ' for Space) or a function key F1 to F12.
struct ControlKey {
  enum class Kind { none, character, function };
  Kind kind = Kind::none;
  char character = 0;
  int function = 0;
  std::string_view name;  // as shown to the user: "Space", "R", "F2"

  static constexpr ControlKey none() { return {}; }
  static constexpr ControlKey ofCharacter(char c, std::string_view name) {
    return {Kind::character, c, 0, name};
  }
  static constexpr ControlKey ofFunction(int n, std::string_view name) {
    return {Kind::function, 0, n, name};
  }
  constexpr bool sameKey(const ControlKey& other) const {
    return kind != Kind::none && kind == other.kind && character == other.character &&
           function == other.function;
  }
};

struct ControlEntry {
  enum class Action { play, pause, restart, recall, speed };

  std::string_view title;
  ButtonType type;
  Action action;
  Recall recall{};  // for recall
  int speed = 0;    // for speed
  // The same key in the window and the terminal. Play and Pause share Space: a key on several
  // controls presses whichever of them takes taps.
  ControlKey key;
  std::string_view note{};  // said after the title in the key help ("asks Yes or No")
  int row = 0;              // rows from the top of the panel; the speed label follows Pause
  double widthInCells = 1.0;
};

std::span<const ControlEntry> controls();
// How many rows the panel has.
int rowCount();
const ControlEntry* controlTitled(std::string_view title);
// The control that makes this recall.
const ControlEntry* controlFor(const Recall& recall);
// The controls a key presses (more than one when they share it).
std::vector<const ControlEntry*> controlsOnKey(const ControlKey& key);
// The name of the key that presses the control with this title, if any.
std::string_view keyNameFor(std::string_view title);

// The keys and what they do, for help texts: one row per key, the speed digits in one row.
std::vector<std::pair<std::string, std::string>> keyHelpRows();
// What the control does, for the key help and tooltips: "L2: recall the last 2 numbers".
std::string helpFor(const ControlEntry& control);

}  // namespace ui
