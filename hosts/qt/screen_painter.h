#pragma once

#include <optional>
#include <string>

#include <QColor>
#include <QGlyphRun>
#include <QPainter>

#include "app/screen_snapshot.h"
#include "hosts/qt/screen_geometry.h"
#include "platform/color.h"

namespace qthost {

QColor toQColor(const platform::Color& color);

// What the window shows: the screen as its snapshot describes it, laid out in logical points,
// with the title in the band above the board.
struct ScreenPicture {
  const app::ScreenSnapshot& screen;
  // The title of a control held down under the pointer, shown lit as on a touch screen.
  std::string pressed;
};

// The band at the top of the screen, above the first view: where the title is shown.
platform::Rect titleBand(const app::ScreenSnapshot& screen);

// How one line of text (a cell's number, a control's title) is shown in `area` of the widget: at
// its font's size scaled, in the area less a little room at its sides, shrunk (down to a quarter)
// when the line is too wide or too tall for that, and elided beyond that.
struct TextLine {
  QFont font;
  QString shown;
  QRectF area;  // where the line goes, aligned as the view asks and centred vertically
  std::optional<QGlyphRun> glyphs;  // a number's glyphs, drawn as they are (no layout needed)
  double width = 0.0;               // the glyphs' advance
};
TextLine fittedTextLine(const app::Drawing& drawing, const QRectF& area, double scale);

// The largest font that fits `text` (wrapped at spaces when needed) inside `area` of the widget,
// found by measuring the text in the bold font of `referenceSize` pixels.
QFont fittedTitleFont(const QString& text, const QRectF& area, int referenceSize = 200);

// Paints the picture into the whole of the painter's device. Everything is drawn in device
// pixels (fonts at their scaled pixel size, not a scaled bitmap), so it stays crisp at any size.
void paintScreen(QPainter& painter, const ScreenPicture& picture, const ScreenGeometry& geometry);

}  // namespace qthost
