#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/label.h"
#include "support/game_observer.h"
#include "support/screen_harness.h"

namespace {

const platform::Label& labelOf(const platform::View& cell) {
  return dynamic_cast<const platform::Label&>(*cell.subviews().at(0));
}

void expectRect(const platform::Rect& actual, double x, double y, double w, double h) {
  EXPECT_NEAR(actual.x, x, 1e-9);
  EXPECT_NEAR(actual.y, y, 1e-9);
  EXPECT_NEAR(actual.width, w, 1e-9);
  EXPECT_NEAR(actual.height, h, 1e-9);
}

}  // namespace

using observe::drawing;

// On a 320-point phone: ten cells of 29.8 with a 2-point gap and margins, nine rows from y 95.
TEST(NumberBoard, GeometryAtWidth320) {
  ScreenHarness h;
  const ViewController& vc = h.vc();
  EXPECT_NEAR(vc.numberSize, 29.8, 1e-12);
  ASSERT_EQ(vc._gridViewsArray.size(), 90u);

  expectRect(h.cell(1).frame(), 2.0, 95.0, 29.8, 29.8);
  expectRect(h.cell(90).frame(), 288.2, 349.4, 29.8, 29.8);
  EXPECT_NEAR(h.cell(90).frame().x + 29.8, 320.0 - 2.0, 1e-9);

  for (int n = 1; n <= 90; ++n) {
    const platform::View& cell = h.cell(n);
    const int row = (n - 1) / 10;
    const int column = (n - 1) % 10;
    expectRect(cell.frame(), 2.0 + column * 31.8, 95.0 + row * 31.8, 29.8, 29.8);
    EXPECT_EQ(h.root().subviews().at(static_cast<std::size_t>(n - 1)).get(), &cell);
    EXPECT_EQ(cell.backgroundColor(), vc.color_un_filled);
    EXPECT_NEAR(cell.layer().cornerRadius, 5.96, 1e-12);
    EXPECT_EQ(cell.layer().borderWidth, 1.0);
    EXPECT_EQ(cell.layer().borderColor, platform::Color::blackColor());

    ASSERT_EQ(cell.subviews().size(), 1u);
    const platform::Label& label = labelOf(cell);
    EXPECT_EQ(label.text(), std::to_string(n));
    expectRect(label.frame(), 0.0, 0.0, 29.8, 29.8);
    EXPECT_EQ(label.textAlignment(), platform::TextAlignment::center);
    EXPECT_NEAR(label.font().pointSize, 11.92, 1e-12);
    EXPECT_FALSE(label.font().bold);
    EXPECT_EQ(label.backgroundColor(), platform::Color::clearColor());
  }
}

// A screen that lays out its board and nothing below it.
class BoardOnlyScreen : public ViewController {
 public:
  void viewDidLoad() override { createNumberGrid(); }
};

// The board ends at 381.2 on a 320-point phone, before the panel moves the cursor on; a wider
// screen scales every cell with it.
TEST(NumberBoard, BoardBottomAtTwoWidths) {
  for (auto [width, size, bottom] :
       {std::tuple{320.0, 29.8, 381.2}, std::tuple{768.0, 74.6, 784.4}}) {
    BoardOnlyScreen vc;
    vc.setInitialViewFrame({0.0, 0.0, width, 1024.0});
    ASSERT_EQ(vc.view().subviews().size(), 90u);
    EXPECT_NEAR(vc.numberSize, size, 1e-9);
    EXPECT_NEAR(vc.yValue, bottom, 1e-9);
    EXPECT_NEAR(vc._gridViewsArray.back()->frame().y + size + vc.gap, bottom, 1e-9);
    EXPECT_NEAR(labelOf(*vc._gridViewsArray.back()).font().pointSize, 0.4 * size, 1e-9);
  }
}

// A cell is found by its exact text: 7 is never 17 or 70. An empty number marks nothing and the
// same number marked twice changes nothing more.
TEST(NumberBoard, ExactMatchMarksOneCell) {
  ScreenHarness h;
  ViewController& vc = h.vc();
  vc._announcedNumber = "";
  vc.highlightAnnouncedNumber();
  EXPECT_EQ(observe::cellsIn(vc, 'u'), 90);
  EXPECT_EQ(vc._viewPreviousHighlighted, nullptr);

  vc._announcedNumber = "7";
  vc.highlightAnnouncedNumber();
  vc.highlightAnnouncedNumber();
  EXPECT_EQ(observe::cellsIn(vc, 'j'), 1);
  EXPECT_EQ(h.cell(7).backgroundColor(), vc.color_just_filled);
  EXPECT_EQ(h.cell(17).backgroundColor(), vc.color_un_filled);
  EXPECT_EQ(h.cell(70).backgroundColor(), vc.color_un_filled);
  EXPECT_EQ(vc._viewPreviousHighlighted.get(), &h.cell(7));

  vc._announcedNumber = "";
  vc.highlightAnnouncedNumber();
  EXPECT_EQ(vc._viewPreviousHighlighted.get(), &h.cell(7));
  EXPECT_EQ(observe::cellsIn(vc, 'j'), 1);
}

// Five numbers called: each stays just-filled until the refresh before the sixth draw, which
// leaves the first four filled and the fifth just-filled.
TEST(NumberBoard, RefreshAfterFiveNumbers) {
  ScreenHarness h(drawing({11, 22, 33, 44, 55, 66}));
  h.tap("Play");
  h.advance(33.9);  // first items at 6, 12, 18, 24, 30 s; 55 ends at 34 s
  EXPECT_EQ(observe::cellsIn(h.vc(), 'j'), 5);
  EXPECT_EQ(observe::cellsIn(h.vc(), 'f'), 0);

  h.advance(0.1);  // 34 s: the refresh, then 66 is drawn
  ASSERT_EQ(h.vc()._randomNumbers.size(), 6u);
  for (int n : {11, 22, 33, 44}) EXPECT_EQ(h.cell(n).backgroundColor(), h.vc().color_filled) << n;
  EXPECT_EQ(h.cell(55).backgroundColor(), h.vc().color_just_filled);
  EXPECT_EQ(h.cell(66).backgroundColor(), h.vc().color_un_filled);
  EXPECT_EQ(observe::cellsIn(h.vc(), 'u'), 85);
}

// 45 is drawn, but the host pauses before it is said: on resume the list starts with 45 while the
// board marks the new number, so 45 is never just-filled; the next refresh fills it.
TEST(NumberBoard, NumberPausedBeforeItsFirstItemIsFilledAtTheNextRefresh) {
  ScreenHarness h(drawing({7, 45, 12, 3, 8, 60}));
  observe::FrameRecorder recorder(h);
  h.tap("Play");
  h.advance(7.0);  // 7 said at 6 s, 45 drawn then
  h.tap("Pause");
  h.tap("Play");
  while (h.vc()._randomNumbers.size() < 6) h.advance(0.5);

  for (const observe::Frame& frame : recorder.frames()) ASSERT_NE(frame.board[45 - 1], 'j');
  EXPECT_EQ(h.cell(45).backgroundColor(), h.vc().color_filled);
  EXPECT_EQ(h.cell(8).backgroundColor(), h.vc().color_just_filled);
  for (int n : {7, 12, 3}) EXPECT_EQ(h.cell(n).backgroundColor(), h.vc().color_filled) << n;
}
