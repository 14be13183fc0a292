// The screen as laid out: the board, and the panel as the control catalogue describes it (what
// each control does is the model test's).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/label.h"
#include "support/screen_harness.h"
#include "ui/control_catalogue.h"

// Ten cells a row, each labelled with its number, left to right and down. A cell is marked by its
// exact text: 7 is never 17 or 70, and an empty number marks nothing. (The window picture test
// checks at every width that no two views overlap and each keeps to the board's margins.)
TEST(ScreenLayout, TheBoardAndItsMarks) {
  ScreenHarness h;
  for (int n = 1; n <= 90; ++n) {
    EXPECT_EQ(dynamic_cast<const platform::Label&>(*h.cell(n).subviews().at(0)).text(),
              std::to_string(n));
    EXPECT_TRUE(n % 10 == 1 || h.cell(n).frame().x > h.cell(n - 1).frame().x) << n;
    EXPECT_TRUE(n <= 10 || h.cell(n).frame().y > h.cell(n - 10).frame().y) << n;
  }
  for (const char* number : {"7", ""}) {
    h.vc()._announcedNumber = number;
    h.vc().highlightAnnouncedNumber();
  }
  EXPECT_EQ(h.boardLetters(), std::string(6, 'u') + 'j' + std::string(83, 'u'));
  EXPECT_EQ(h.vc()._viewPreviousHighlighted.get(), &h.cell(7));
}

// Every control on screen once, with its kind, in the catalogue's rows, and its key in the help: a
// control added to the catalogue is checked here without a new test.
TEST(ControlCatalogue, ThePanelHasEveryControlOnceInItsRowsWithItsKind) {
  ScreenHarness h;
  std::set<std::string> titles;
  double rowTop = -1.0;
  int row = -1;
  for (const auto& control : ui::controls()) {
    const std::string title(control.title);
    EXPECT_TRUE(titles.insert(title).second) << title << " twice in the catalogue";
    ASSERT_NE(platform::findButtonTitled(h.root(), title), nullptr) << title;
    const platform::Button& button = h.button(title);
    EXPECT_EQ(button.tag(), static_cast<long>(control.type)) << title;
    if (control.row != row) {  // rows go down the screen in the catalogue's order
      EXPECT_GT(button.frame().y, rowTop) << title;
      rowTop = button.frame().y;
      row = control.row;
    }
    EXPECT_EQ(button.frame().y, rowTop) << title << " is not in its row";
    if (control.key.kind != ui::ControlKey::Kind::none &&
        control.action != ui::ControlEntry::Action::speed) {
      const auto rows = ui::keyHelpRows();
      EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                              [&](const auto& r) { return r.first == control.key.name; }))
          << title << "'s key is missing from the help";
    }
  }
  std::size_t buttons = 0;
  for (const auto& view : h.root().subviews())
    buttons += dynamic_cast<const platform::Button*>(view.get()) != nullptr;
  EXPECT_EQ(buttons, ui::controls().size());
}
