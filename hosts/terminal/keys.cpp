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

// What xterm, tmux/screen, rxvt and the Linux console send for the function keys F1 to F12, so
// any of them can be put on a control.
constexpr std::array<FunctionKeySequence, 21> kFunctionKeys{
    {{"\x1bOP", 1},    {"\x1bOQ", 2},   {"\x1bOR", 3},   {"\x1bOS", 4},    {"\x1b[11~", 1},
     {"\x1b[12~", 2},  {"\x1b[13~", 3}, {"\x1b[14~", 4}, {"\x1b[15~", 5},  {"\x1b[17~", 6},
     {"\x1b[18~", 7},  {"\x1b[19~", 8}, {"\x1b[20~", 9}, {"\x1b[21~", 10}, {"\x1b[23~", 11},
     {"\x1b[24~", 12}, {"\x1b[[A", 1},  {"\x1b[[B", 2},  {"\x1b[[C", 3},   {"\x1b[[D", 4},
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

ui::ControlKey controlKeyOf(const Key& key) {
  switch (key.kind) {
    case Key::Kind::character:
      return ui::ControlKey::ofCharacter(key.character, {});
    case Key::Kind::function:
      return ui::ControlKey::ofFunction(key.number, {});
    case Key::Kind::enter:
    case Key::Kind::escape:
      break;
  }
  return ui::ControlKey::none();
}

}  // namespace terminal
