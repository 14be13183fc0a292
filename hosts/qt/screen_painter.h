#pragma once

#include <string>

#include <QColor>
#include <QPainter>

#include "hosts/qt/screen_geometry.h"
#include "platform/color.h"
#include "platform/view.h"

namespace qthost {

QColor toQColor(const platform::Color& color);

// What the window shows: the screen's root view, laid out in logical points, and the screen's
// title in the band above the board.
struct ScreenPicture {
  const platform::View& root;
  const std::string& title;
  // A button held down under the pointer, shown lit as on a touch screen; may be null.
  const platform::View* pressed = nullptr;
};

// The band at the top of the screen, above the first view: where the title is shown.
platform::Rect titleBand(const platform::View& root);

// What the title shows between its brackets: the number being called ("" when there is none).
std::string calledNumber(const std::string& title);

// The largest font that fits `text` (wrapped at spaces when needed) inside `area` of the widget.
QFont fittedTitleFont(const QString& text, const QRectF& area);

// Paints the picture into the whole of the painter's device. Everything is drawn in device
// pixels (fonts at their scaled pixel size, not a scaled bitmap), so it stays crisp at any size.
void paintScreen(QPainter& painter, const ScreenPicture& picture, const ScreenGeometry& geometry);

}  // namespace qthost
