#include "hosts/terminal/keys.h"

#include <array>
#include <cctype>
#include <string_view>

namespace terminal {
namespace {

struct FunctionKeySequence {
  std::string_view bytes;
  int number;
};

// What xterm, tmux/screen and the Linux console send for the function keys the caller uses.
constexpr std::array<FunctionKeySequence, 9> kFunctionKeys{{{"\x1bOQ", 2},
                                                            {"\x1bOR", 3},
                                                            {"\x1b[12~", 2},
                                                            {"\x1b[13~", 3},
                                                            {"\x1b[15~", 5},
                                                            {"\x1b[21~", 10},
                                                            {"\x1b[[B", 2},
                                                            {"\x1b[[C", 3},
                                                            {"\x1b[[E", 5}}};

// The length of the escape sequence at the start of `text`, or 0 while it may still be growing.
std::size_t escapeSequenceLength(std::string_view text) {
  if (text.size() < 2) return 0;
  if (text[1] == 'O') return text.size() >= 3 ? 3 : 0;
  if (text[1] != '[') return 1;  // ESC then something else: Escape, then that key
  for (std::size_t i = 2; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '[' && i == 2) continue;  // the Linux console's ESC [ [ X
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '~') return i + 1;
  }
  return 0;
}

Key keyForSequence(std::string_view sequence) {
  for (const auto& known : kFunctionKeys)
    if (known.bytes == sequence) return {Key::Kind::function, 0, known.number};
  return {Key::Kind::function, 0, 0};  // a key the caller does not use (arrows, ...)
}

}  // namespace

std::vector<Key> takeKeys(std::string& pending, bool flush) {
  std::vector<Key> keys;
  std::size_t at = 0;
  while (at < pending.size()) {
    const char c = pending[at];
    if (c == '\x1b') {
      std::size_t length = escapeSequenceLength(std::string_view(pending).substr(at));
      if (length == 0 && !flush) break;
      if (length <= 1) {
        keys.push_back({Key::Kind::escape, 0, 0});
        at += 1;
      } else {
        keys.push_back(keyForSequence(std::string_view(pending).substr(at, length)));
        at += length;
      }
    } else {
      if (c == '\r' || c == '\n')
        keys.push_back({Key::Kind::enter, 0, 0});
      else
        keys.push_back({Key::Kind::character,
                        static_cast<char>(std::tolower(static_cast<unsigned char>(c))), 0});
      at += 1;
    }
  }
  pending.erase(0, at);
  return keys;
}

const std::vector<KeyBinding>& keyBindings() {
  auto character = [](char c) { return Key{Key::Kind::character, c, 0}; };
  auto function = [](int n) { return Key{Key::Kind::function, 0, n}; };
  // Digits follow the speed buttons (0 is 10); the function keys name the recall they play.
  static const std::vector<KeyBinding> bindings = {{character(' '), "Space", ""},
                                                   {character('r'), "R", "Re-start"},
                                                   {character('2'), "2", "2"},
                                                   {character('3'), "3", "3"},
                                                   {character('4'), "4", "4"},
                                                   {character('5'), "5", "5"},
                                                   {character('6'), "6", "6"},
                                                   {character('7'), "7", "7"},
                                                   {character('8'), "8", "8"},
                                                   {character('9'), "9", "9"},
                                                   {character('0'), "0", "10"},
                                                   {function(2), "F2", "L2"},
                                                   {function(3), "F3", "L3"},
                                                   {function(5), "F5", "L5"},
                                                   {function(10), "F10", "L10"},
                                                   {character('a'), "A", "ALL"},
                                                   {character('m'), "M", "Remaining Numbers"}};
  return bindings;
}

const KeyBinding* bindingForKey(const Key& key) {
  for (const auto& binding : keyBindings())
    if (binding.key == key) return &binding;
  return nullptr;
}

std::optional<std::string> keyNameFor(const std::string& buttonTitle) {
  const bool playOrPause = buttonTitle == "Play" || buttonTitle == "Pause";
  for (const auto& binding : keyBindings())
    if (binding.buttonTitle == buttonTitle || (playOrPause && binding.buttonTitle.empty()))
      return binding.name;
  return std::nullopt;
}

}  // namespace terminal
