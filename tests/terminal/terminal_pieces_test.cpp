// The terminal host's keyboard decoder: what each kind of terminal sends for a key.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "hosts/terminal/keys.h"

namespace {

using terminal::Key;

TEST(TerminalKeys, FunctionKeysOfEveryTerminalKindAndALoneEscape) {
  std::string sent = "\x1bOQ\x1b[13~\x1b[15~\x1b[21~\x1b[[B a\r\x1b[A";
  const auto keys = terminal::takeKeys(sent, false);
  const std::vector<Key> expected = {
      {Key::Kind::function, 0, 2},    {Key::Kind::function, 0, 3}, {Key::Kind::function, 0, 5},
      {Key::Kind::function, 0, 10},   {Key::Kind::function, 0, 2}, {Key::Kind::character, ' ', 0},
      {Key::Kind::character, 'a', 0}, {Key::Kind::enter, 0, 0},    {Key::Kind::function, 0, 0}};
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(sent, "");

  // A sequence cut in two by the read waits for its rest; on its own, ESC is the Escape key.
  std::string partial = "M\x1b[1";
  EXPECT_EQ(terminal::takeKeys(partial, false), (std::vector<Key>{{Key::Kind::character, 'm', 0}}));
  EXPECT_EQ(partial, "\x1b[1");
  partial += "5~";
  EXPECT_EQ(terminal::takeKeys(partial, false), (std::vector<Key>{{Key::Kind::function, 0, 5}}));
  std::string escape = "\x1b";
  EXPECT_TRUE(terminal::takeKeys(escape, false).empty());
  EXPECT_EQ(terminal::takeKeys(escape, true), (std::vector<Key>{{Key::Kind::escape, 0, 0}}));

  // Every control of the panel is on a key the terminal can send, and Space is Play or Pause.
  const std::map<int, std::string> functionKeyBytes = {
      {1, "\x1bOP"},   {2, "\x1bOQ"},    {3, "\x1bOR"},    {4, "\x1bOS"},
      {5, "\x1b[15~"}, {6, "\x1b[17~"},  {7, "\x1b[18~"},  {8, "\x1b[19~"},
      {9, "\x1b[20~"}, {10, "\x1b[21~"}, {11, "\x1b[23~"}, {12, "\x1b[24~"}};
  for (const auto& control : ui::controls()) {
    std::string bytes = control.key.kind == ui::ControlKey::Kind::function
                            ? functionKeyBytes.at(control.key.function)
                            : std::string(1, control.key.character);
    const auto decoded = terminal::takeKeys(bytes, true);
    ASSERT_EQ(decoded.size(), 1u) << control.title;
    const auto pressed = ui::controlsOnKey(terminal::controlKeyOf(decoded.front()));
    EXPECT_NE(std::find(pressed.begin(), pressed.end(), &control), pressed.end()) << control.title;
  }
  EXPECT_EQ(ui::keyNameFor("Pause"), "Space");
}

}  // namespace
