#include <gtest/gtest.h>

#include <string>

#include "platform/label.h"
#include "support/screen_harness.h"

namespace {

using platform::Color;

void expectFrame(const platform::View& view, double x, double y, double width, double height) {
  const platform::Rect& f = view.frame();
  EXPECT_NEAR(f.x, x, 1e-9);
  EXPECT_NEAR(f.y, y, 1e-9);
  EXPECT_NEAR(f.width, width, 1e-9);
  EXPECT_NEAR(f.height, height, 1e-9);
}

// One letter per button in the order the panel adds them, a blank before each new row:
// "Play L2 L3 L5 L10 ALL Re-start  Pause 2 3 ... 10  Remaining Numbers", then which of Play and
// Pause takes taps. k black, g grey, o orange, ? anything else.
std::string panelLook(ScreenHarness& h) {
  std::string look;
  for (const auto& subview : h.root().subviews()) {
    const auto* button = dynamic_cast<const platform::Button*>(subview.get());
    if (button == nullptr) continue;
    if (button->tag() == 4 || button->tag() == 6) look += ' ';
    const auto& colour = button->backgroundColor();
    look += colour == Color::blackColor()    ? 'k'
            : colour == Color::grayColor()   ? 'g'
            : colour == Color::orangeColor() ? 'o'
                                             : '?';
  }
  return look + (h.takesTaps("Play") ? " Play" : "") + (h.takesTaps("Pause") ? " Pause" : "");
}

// A screen that lays out its board and nothing below it.
class BoardOnlyScreen : public ViewController {
 public:
  void viewDidLoad() override { createNumberGrid(); }
};

}  // namespace

// On a 320-point phone: ten cells of 29.8 a row with a 2-point gap, nine rows from y 95, each
// labelled with its number; the board ends at 381.2 before the panel moves the cursor on. A cell
// is marked by its exact text: 7 is never 17 or 70, and an empty number marks nothing.
TEST(ScreenLayout, BoardAtWidth320) {
  ScreenHarness h;
  expectFrame(h.cell(1), 2.0, 95.0, 29.8, 29.8);
  expectFrame(h.cell(90), 288.2, 349.4, 29.8, 29.8);
  for (int n = 1; n <= 90; ++n) {
    expectFrame(h.cell(n), 2.0 + (n - 1) % 10 * 31.8, 95.0 + (n - 1) / 10 * 31.8, 29.8, 29.8);
    EXPECT_EQ(dynamic_cast<const platform::Label&>(*h.cell(n).subviews().at(0)).text(),
              std::to_string(n));
  }
  BoardOnlyScreen board;
  board.setInitialViewFrame({0.0, 0.0, 320.0, 568.0});
  board.view();
  EXPECT_NEAR(board.yValue, 381.2, 1e-9);

  for (const char* number : {"7", ""}) {
    h.vc()._announcedNumber = number;
    h.vc().highlightAnnouncedNumber();
  }
  for (int n = 1; n <= 90; ++n)
    EXPECT_EQ(h.cell(n).backgroundColor(),
              n == 7 ? h.vc().color_just_filled : h.vc().color_un_filled)
        << n;
  EXPECT_EQ(h.vc()._viewPreviousHighlighted.get(), &h.cell(7));
}

// The panel's layout is the same on a phone and a pad; only the titles' size differs: bold 10
// points on a phone, 20 on a pad.
TEST(ScreenLayout, PanelOnA320PointScreen) {
  for (auto [idiom, points] : {std::pair{platform::UserInterfaceIdiom::phone, 10.0},
                               std::pair{platform::UserInterfaceIdiom::pad, 20.0}}) {
    ScreenHarness h({.idiom = idiom});
    expectFrame(h.button("Play"), 2, 385.2, 53.64, 23.84);
    expectFrame(h.button("ALL"), 190.8, 385.2, 44.7, 23.84);
    expectFrame(h.button("Re-start"), 237.5, 385.2, 80.46, 23.84);  // to 317.96
    expectFrame(h.button("Pause"), 2, 415.04, 53.64, 23.84);
    expectFrame(*h.vc().lblSpeed, 57.64, 415.04, 44.7, 23.84);
    expectFrame(h.button("2"), 104.34, 415.04, 22.052, 23.84);
    expectFrame(h.button("10"), 296.756, 415.04, 21.244, 23.84);  // to the board's edge, 318
    expectFrame(h.button("Remaining Numbers"), 2, 444.88, 163.9, 23.84);
    EXPECT_NEAR(h.vc().yValue, 440.88, 1e-9);  // row 3 leaves the cursor where row 2 put it

    // The board first, then the controls in this order, each with its kind as tag.
    const auto& subviews = h.root().subviews();
    ASSERT_EQ(subviews.size(), 90u + 19u);
    for (std::size_t i = 0; i < 90; ++i) EXPECT_EQ(subviews[i], h.vc()._gridViewsArray[i]);
    std::string controls;
    const auto bold = platform::Font::boldSystemFontOfSize(points);
    for (std::size_t i = 90; i < subviews.size(); ++i) {
      const auto* button = dynamic_cast<const platform::Button*>(subviews[i].get());
      controls += (button ? button->titleText().value_or("?") : "label") + ":" +
                  std::to_string(subviews[i]->tag()) + " ";
      EXPECT_NEAR(button ? button->layer().cornerRadius : 4.768, 4.768, 1e-9) << controls;
      EXPECT_EQ(button ? button->titleLabel()->font() : bold, bold) << controls;
    }
    EXPECT_EQ(controls,
              "Play:3 L2:2 L3:2 L5:2 L10:2 ALL:2 Re-start:5 Pause:4 label:0 "
              "2:1 3:1 4:1 5:1 6:1 7:1 8:1 9:1 10:1 Remaining Numbers:6 ");
  }
}

TEST(ScreenLayout, PanelAfterLoadAndAfterEachGameEvent) {
  ScreenHarness h;
  const std::string atRest = "kkkkkkk gkkkokkkkk k Play", calling = "gkkkkkk kkkkokkkkk k Pause";
  EXPECT_EQ(panelLook(h), atRest);
  EXPECT_EQ(h.vc().lblSpeed->text(), "Speed: 5");
  // Play and L5 in a row: the recall has to take the panel out of calling. Only the answer to
  // Re-start changes the panel.
  for (const auto& [title, look] : {std::pair{"Play", calling},
                                    {"Pause", atRest},
                                    {"Play", calling},
                                    {"L5", "kkkokkk gkkkokkkkk k Play"},
                                    {"Remaining_Numbers", "kkkkkkk gkkkokkkkk o Play"},
                                    {"Re-start", "kkkkkkk gkkkokkkkk o Play"},
                                    {"Yes", calling}}) {
    h.perform(title);
    EXPECT_EQ(panelLook(h), look) << "after " << title;
  }
}

// Only the button whose whole title is the speed is marked: "10" but not "1", none for 11.
TEST(ScreenLayout, SetSpeedMarksTheButtonWhoseTitleIsTheValue) {
  ScreenHarness h;
  for (auto [speed, speeds] : {std::pair{10, "kkkkkkkko"}, {1, "kkkkkkkkk"}, {11, "kkkkkkkkk"}}) {
    h.vc().setSpeed(speed);
    EXPECT_EQ(h.vc().lblSpeed->text(), "Speed: " + std::to_string(speed));
    EXPECT_EQ(panelLook(h), std::string("kkkkkkk g") + speeds + " k Play");
  }
}

// Both operations walk the same subviews; each must recolour only its own kind of button: the
// buttons painted magenta ('?') beforehand stay so.
TEST(ScreenLayout, PanelUpdatesAndSpeedKeepToTheirOwnButtons) {
  ScreenHarness h;
  auto paint = [&](long tag) {
    for (const auto& subview : h.root().subviews())
      if (dynamic_cast<platform::Button*>(subview.get()) && subview->tag() == tag)
        subview->setBackgroundColor(Color::initWithRed(1, 0, 1, 1));
  };
  paint(1);  // the speeds
  h.tap("L3");
  EXPECT_EQ(panelLook(h), "kkokkkk g????????? k Play") << "a panel update recoloured a speed";
  paint(2);  // the recalls
  h.tap("7");
  EXPECT_EQ(panelLook(h), "k?????k gkkkkkokkk k Play") << "setSpeed recoloured a recall";
}
