// What the window shows: every cell and button painted in its colour at its place, and the title
// in the band above the board.
#include <gtest/gtest.h>

#include "window_harness.h"

namespace {

// Numbers drawn first, so the board's look after the first calls is known.
const std::vector<std::uint32_t> kFirstDraws = {7, 45, 12, 88, 3, 60, 21, 34};

// Each button shows its colour over at least a fifth of the middle of its box (its title, white,
// may cover the rest on a narrow button).
void expectControlsShown(WindowHarness& w, const QImage& image, const app::ScreenSnapshot& now) {
  for (const auto& view : now.views) {
    const auto* control = std::get_if<app::ControlLook>(&view);
    if (control == nullptr) continue;
    const QRectF area = w.widget->geometry().toDevice(control->frame);
    const QRect middle = area.adjusted(area.width() * 0.2, area.height() * 0.2, -area.width() * 0.2,
                                       -area.height() * 0.2)
                             .toRect();
    int coloured = 0;
    for (int y = middle.top(); y <= middle.bottom(); ++y)
      for (int x = middle.left(); x <= middle.right(); ++x)
        coloured += closeColours(image.pixelColor(x, y), overWhite(control->colour));
    EXPECT_GT(coloured * 5, middle.width() * middle.height()) << "button " << control->title;
  }
}

void expectPictureMatchesScreen(WindowHarness& w) {
  const QImage image = w.picture();
  const app::ScreenSnapshot now = w.now();
  std::set<QRgb> cellColours;
  for (int n = 1; n <= 90; ++n) {
    const QColor expected = overWhite(w.cell(now, n).colour);
    const QColor shown = w.shownColour(image, w.cell(now, n).drawing.frame);
    EXPECT_TRUE(closeColours(shown, expected))
        << "cell " << n << " shows " << shown.name().toStdString() << ", expected "
        << expected.name().toStdString();
    cellColours.insert(expected.rgb());
  }
  EXPECT_EQ(cellColours.size(), 3u) << "the game should show all three cell colours";
  expectControlsShown(w, image, now);
}

TEST(WindowPicture, CellsButtonsAndTitleShowTheGame) {
  WindowHarness w({.presetDraws = kFirstDraws}, {640, 1000});
  EXPECT_EQ(w.widget->windowTitle(), "Vorlix @ Korvanda Castle");
  w.click("Play");
  w.advance(6.0);
  EXPECT_EQ(w.widget->windowTitle(), "Vorlix @ Korvanda Castle [7]");

  // The title is painted in its band above the board: dark pixels there, none in its corner.
  const platform::Rect band = qthost::titleBand(w.now());
  EXPECT_LE(band.y + band.height, w.cellFrame(1).y);
  const QRect area = w.widget->geometry().toDevice(band).toRect();
  const QImage image = w.picture();
  int dark = 0;
  for (int y = area.top(); y < area.bottom(); y += 2)
    for (int x = area.left(); x < area.right(); x += 2) dark += qGray(image.pixel(x, y)) < 80;
  EXPECT_GT(dark, 200);
  EXPECT_GT(qGray(image.pixel(area.left() + 2, area.top() + 2)), 200);

  w.advance(39.0);  // the first seven numbers: one board refresh among them
  w.click("7");
  w.click("L3");
  ASSERT_GE(w.called().size(), 7u);
  EXPECT_EQ(w.shownColour(w.picture(), w.cellFrame(1)), QColor(Qt::yellow));
  EXPECT_EQ(w.shownColour(w.picture(), w.cellFrame(7)), QColor(Qt::green));
  EXPECT_TRUE(closeColours(w.shownColour(w.picture(), w.cellFrame(21)), QColor(127, 127, 255)));
  EXPECT_EQ(w.shownColour(w.picture(), w.controlFrame("L3")), QColor(255, 128, 0));
  EXPECT_EQ(w.shownColour(w.picture(), w.controlFrame("7")), QColor(255, 128, 0));
  EXPECT_EQ(w.shownColour(w.picture(), w.controlFrame("5")), QColor(Qt::black));
  EXPECT_EQ(w.shownColour(w.picture(), w.controlFrame("Pause")), QColor(128, 128, 128));
  expectPictureMatchesScreen(w);

  // A wide projector: the screen scaled up at the left, the number being called large on the right.
  w.widget->resize(1920, 1080);
  expectPictureMatchesScreen(w);
  const QImage wide = w.picture();
  int lit = 0;
  for (int y = 0; y < 1080; y += 4)
    for (int x = static_cast<int>(w.widget->geometry().numberArea().left()); x < 1920; x += 4)
      lit += wide.pixelColor(x, y) == QColor(255, 235, 59);
  EXPECT_GT(lit, 5000) << "the number, large, beside the screen";
}

// At every width the screen is laid out for, on a phone and on a pad (at speed 10, the longest
// speed label), the whole screen is in the picture, no two views overlap, every view keeps to the
// board's margins, each control shows its colour, and each title and number is shown whole:
// neither elided nor cut off by its box.
TEST(WindowPicture, EveryWidthShowsEveryViewWhole) {
  for (const double width : {240.0, 320.0, 414.0, 768.0, 1024.0, 1366.0})
    for (const auto idiom :
         {platform::UserInterfaceIdiom::phone, platform::UserInterfaceIdiom::pad}) {
      WindowHarness w({.width = width, .idiom = idiom});
      w.key(Qt::Key_0);
      const app::ScreenSnapshot now = w.now();
      SCOPED_TRACE(std::to_string(width) +
                   (idiom == platform::UserInterfaceIdiom::pad ? " pad" : " phone"));
      w.widget->resize(static_cast<int>(2 * width), static_cast<int>(2 * now.bounds.height));
      const QImage image = w.picture();
      const qthost::ScreenGeometry geometry = w.widget->geometry();
      const double margin = w.cellFrame(1).x;
      const QRectF inside(margin - 1e-9, 0, width - 2 * margin + 2e-9, now.bounds.height);
      EXPECT_TRUE(image.rect().contains(geometry.toDevice(now.bounds).toAlignedRect()));
      std::vector<QRectF> seen;
      for (const auto& view : now.views) {
        const app::Drawing& d =
            std::visit([](const auto& v) -> const app::Drawing& { return v.drawing; }, view);
        const QRectF frame(d.frame.x, d.frame.y, d.frame.width, d.frame.height);
        const std::string text = d.text.value_or("");
        EXPECT_TRUE(inside.contains(frame)) << text;
        for (const QRectF& other : seen) EXPECT_FALSE(other.intersects(frame)) << text;
        seen.push_back(frame);
        const QRectF area = geometry.toDevice(d.frame);
        const qthost::TextLine line = qthost::fittedTextLine(d, area, geometry.scale());
        const QFontMetricsF metrics(line.font);
        EXPECT_EQ(line.shown.toStdString(), text);
        EXPECT_TRUE(area.contains(line.area)) << text;
        EXPECT_LE(metrics.horizontalAdvance(line.shown), line.area.width()) << text;
        EXPECT_LE(metrics.ascent() + metrics.descent(), line.area.height()) << text;
      }
      expectControlsShown(w, image, now);
    }
}

// The title, the number being called and a notice are shown as large as their area allows: wrapped
// at spaces when that lets them grow, whole, and no more than a step short of the largest size,
// whether they are measured in a large font or in one as small as a button's.
TEST(WindowPicture, TitleTextTakesTheLargestSizeThatFits) {
  const auto fits = [](const QFont& font, const QString& text, const QRectF& area) {
    const QRectF needed =
        QFontMetricsF(font).boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, text);
    return needed.width() <= area.width() && needed.height() <= area.height();
  };
  for (const QString& text :
       {QStringLiteral("Vorlix @ Korvanda Castle [16]"), QStringLiteral("7"),
        QStringLiteral("The speech stopped: no sound output could be opened")})
    for (const QRectF area : {QRectF(10, 10, 620, 160), QRectF(0, 0, 900, 40),
                              QRectF(5, 5, 120, 400), QRectF(0, 0, 12, 6)})
      for (const int reference : {200, 36, 15}) {
        SCOPED_TRACE(text.toStdString() + " in " + std::to_string(area.width()) + "x" +
                     std::to_string(area.height()) + " measured at " + std::to_string(reference));
        QFont font = qthost::fittedTitleFont(text, area, reference);
        const int size = font.pixelSize();
        if (size > 1) {
          EXPECT_TRUE(fits(font, text, area));
        }
        font.setPixelSize(std::max(size + 2, size * 11 / 10));
        EXPECT_FALSE(fits(font, text, area));
      }
}

}  // namespace
