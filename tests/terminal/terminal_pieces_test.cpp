// The pure pieces of the terminal host: the keyboard decoder and the comparison of two looks.
#include <gtest/gtest.h>

#include "hosts/terminal/keys.h"
#include "hosts/terminal/screen_text.h"
#include "hosts/terminal/transcript.h"

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

TEST(TranscriptLooks, ReportOnlyWhatDiffersTitleFirstThenInViewOrder) {
  const platform::Rect somewhere{0, 0, 10, 10};
  const auto yellow = platform::Color::yellowColor();
  app::ScreenSnapshot before{
      "Vorlix",
      {app::CellLook{1, app::CellState::unfilled, yellow},
       app::CellLook{2, app::CellState::unfilled, yellow},
       app::ControlLook{"Play", platform::Color::blackColor(), true, somewhere},
       app::TextLook{"Speed: 5", somewhere}}};
  EXPECT_TRUE(terminal::lookChanges(before, before).empty());

  app::ScreenSnapshot after = before;
  after.title = "Vorlix [2]";
  after.views[1] =
      app::CellLook{2, app::CellState::other, platform::Color::initWithRed(0.25, 0, 1, 0.5)};
  after.views[2] = app::ControlLook{"Play", platform::Color::grayColor(), false, somewhere};
  after.views[3] = app::TextLook{"Speed: 9", somewhere};
  EXPECT_EQ(terminal::lookChanges(before, after),
            (std::vector<std::string>{"title Vorlix [2]", "cell 2 rgba(0.25,0,1,0.5)",
                                      "button Play gray inert", "label Speed: 9"}));
}

TEST(TerminalScreen, ATooSmallTerminalIsToldInPlainWords) {
  const app::ScreenSnapshot screen{"Vorlix", {}};
  const auto lines = terminal::screenLines(screen, {}, {40, 10});
  std::string text;
  for (const auto& line : lines) {
    EXPECT_LE(line.size(), 39u);
    text += line + " ";
  }
  EXPECT_NE(text.find("too small for the board: it needs 66 columns and 21 rows, and this one "
                      "has 40 columns and 10 rows"),
            std::string::npos);
}

}  // namespace
