#pragma once

#include <optional>
#include <string>
#include <vector>

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

// The screen's controls on keys (the same keys as the desktop window).
struct KeyBinding {
  Key key;
  std::string name;         // as shown on screen
  std::string buttonTitle;  // empty for Space, which taps Play or Pause, whichever takes taps
};

const std::vector<KeyBinding>& keyBindings();
const KeyBinding* bindingForKey(const Key& key);
// The name of the key that taps the button with this title, if any.
std::optional<std::string> keyNameFor(const std::string& buttonTitle);

}  // namespace terminal
