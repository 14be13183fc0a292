// The terminal host's keyboard decoder: what each kind of terminal sends for a key.
#include <gtest/gtest.h>

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

  // Every control of the panel is on a key, and Space is Play or Pause.
  for (const char* title : {"Play", "Pause", "Re-start", "L2", "L3", "L5", "L10", "ALL",
                            "Remaining Numbers", "2", "3", "4", "5", "6", "7", "8", "9", "10"})
    EXPECT_TRUE(terminal::keyNameFor(title).has_value()) << title;
  EXPECT_EQ(terminal::keyNameFor("Pause"), "Space");
}

}  // namespace
