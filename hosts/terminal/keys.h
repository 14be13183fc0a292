#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/control_catalogue.h"

namespace terminal {

// A key as the caller understands it: a printable character, Enter, Escape or a function key.
struct Key {
  enum class Kind { character, enter, escape, function };
  Kind kind = Kind::character;
  char character = 0;  // for character
  int number = 0;      // for function: 2 for F2
  bool operator==(const Key&) const = default;
};

// Takes the complete keys off the front of what the terminal sent; an incomplete escape sequence
// at the end stays in `pending` unless `flush` is set (then a lone ESC is the Escape key).
std::vector<Key> takeKeys(std::string& pending, bool flush);

// The catalogue's key for a key the terminal sent (character keys are already lower case).
ui::ControlKey controlKeyOf(const Key& key);

}  // namespace terminal
