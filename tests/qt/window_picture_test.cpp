// What the window shows: every cell and button painted in its colour at its place, at a phone's
// size and on a projector, and the title large in the band above the board.
#include <gtest/gtest.h>

#include <QFontMetricsF>

#include "window_harness.h"

namespace {

// Numbers drawn first, so the board's look after the first calls is known.
const std::vector<std::uint32_t> kFirstDraws = {7, 45, 12, 88, 3, 60, 21, 34};

void expectPictureMatchesScreen(WindowHarness& w) {
  const QImage image = w.picture();
  std::set<QRgb> cellColours;
  for (int n = 1; n <= 90; ++n) {
    const QColor expected = overWhite(*w.cell(n).backgroundColor());
    const QColor shown = w.shownColour(image, w.cell(n));
    EXPECT_TRUE(closeColours(shown, expected))
        << "cell " << n << " shows " << shown.name().toStdString() << ", expected "
        << expected.name().toStdString();
    cellColours.insert(expected.rgb());
  }
  EXPECT_EQ(cellColours.size(), 3u) << "the game should show all three cell colours";
  for (const auto& subview : w.screen->view().subviews()) {
    auto* button = dynamic_cast<platform::Button*>(subview.get());
    if (button == nullptr) continue;
    const QColor shown = w.shownColour(image, *button);
    EXPECT_TRUE(closeColours(shown, overWhite(*button->backgroundColor())))
        << "button " << *button->titleText() << " shows " << shown.name().toStdString();
  }
}

TEST(WindowPicture, CellsAndButtonsShowTheGameAtPhoneAndProjectorSizes) {
  WindowHarness w({.presetDraws = kFirstDraws}, {640, 1000});
  w.click("Play");
  w.advance(45.0);  // the welcome and the first seven numbers: one board refresh among them
  w.click("7");
  w.click("L3");
  ASSERT_GE(w.screen->_randomNumbers.size(), 7u);

  EXPECT_EQ(w.shownColour(w.picture(), w.cell(1)), QColor(Qt::yellow));
  EXPECT_EQ(w.shownColour(w.picture(), w.cell(7)), QColor(Qt::green));
  EXPECT_TRUE(closeColours(w.shownColour(w.picture(), w.cell(21)), QColor(127, 127, 255)));
  EXPECT_EQ(w.shownColour(w.picture(), w.button("L3")), QColor(255, 128, 0));
  EXPECT_EQ(w.shownColour(w.picture(), w.button("7")), QColor(255, 128, 0));
  EXPECT_EQ(w.shownColour(w.picture(), w.button("5")), QColor(Qt::black));
  EXPECT_EQ(w.shownColour(w.picture(), w.button("Pause")), QColor(128, 128, 128));
  expectPictureMatchesScreen(w);

  // A wide projector: the screen is scaled up to the full height at the left, the number being
  // called large in the room on the right.
  w.widget->resize(1920, 1080);
  w.click("Remaining Numbers");
  EXPECT_EQ(w.shownColour(w.picture(), w.button("Remaining Numbers")), QColor(255, 128, 0));
  expectPictureMatchesScreen(w);
  const QRectF numberArea = w.widget->geometry().numberArea();
  ASSERT_GT(numberArea.width(), 900.0);
  const QImage wide = w.picture();
  int lit = 0;
  for (int y = 0; y < 1080; y += 4)
    for (int x = static_cast<int>(numberArea.left()); x < 1920; x += 4)
      lit += wide.pixelColor(x, y) == QColor(255, 235, 59);
  EXPECT_GT(lit, 5000) << "the number, large, beside the screen";

  // A window only a little wider than the screen: centred, with bars on both sides.
  w.widget->resize(1000, 1080);
  const QImage narrow = w.picture();
  EXPECT_EQ(narrow.pixelColor(5, 540), narrow.pixelColor(994, 540));
  EXPECT_NE(narrow.pixelColor(5, 540), QColor(Qt::white));
}

TEST(WindowPicture, TitleIsTheWindowTitleAndFillsTheBandAboveTheBoard) {
  WindowHarness w({.presetDraws = {45}}, {1920, 1080});
  EXPECT_EQ(w.widget->windowTitle(), "Vorlix @ Korvanda Castle");
  w.click("Play");
  w.advance(6.0);
  EXPECT_EQ(w.widget->windowTitle(), "Vorlix @ Korvanda Castle [45]");

  const platform::Rect band = qthost::titleBand(w.screen->view());
  EXPECT_LE(band.y + band.height, w.cell(1).frame().y) << "the band stays above the board";
  const QRectF bandOnScreen = w.widget->geometry().toDevice(band);
  const QString title = w.widget->windowTitle();
  const QFont font = qthost::fittedTitleFont(title, bandOnScreen);
  // Large enough to read across a room: a line is at least a quarter of the band's height.
  EXPECT_GE(font.pixelSize(), bandOnScreen.height() / 4.0);
  const QRectF needed =
      QFontMetricsF(font).boundingRect(bandOnScreen, Qt::AlignCenter | Qt::TextWordWrap, title);
  EXPECT_TRUE(bandOnScreen.contains(needed));

  // The text is painted in the band: dark pixels there, none in the band's top corners.
  const QImage image = w.picture();
  int dark = 0;
  const QRect area = bandOnScreen.toRect();
  for (int y = area.top(); y < area.bottom(); y += 2)
    for (int x = area.left(); x < area.right(); x += 2) dark += qGray(image.pixel(x, y)) < 80;
  EXPECT_GT(dark, 200);
  EXPECT_GT(qGray(image.pixel(area.left() + 2, area.top() + 2)), 200);
}

}  // namespace
