#include "hosts/qt/screen_painter.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPixmap>
#include <QPixmapCache>

namespace qthost {
namespace {

const QColor kLetterbox(32, 32, 36);
const QColor kScreenBackground(Qt::white);
const QColor kTitleBandBackground(247, 247, 247);
const QColor kHairline(178, 178, 178);
constexpr double kSmallestTextShrink =
    0.25;  // text that does not fit shrinks to a quarter, then elides
// The room kept clear between a box's sides and its text, as a share of the box's height.
constexpr double kTextInset = 0.1;

QFont scaledFont(const platform::Font& font, double scale) {
  QFont qfont;
  qfont.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pointSize * scale))));
  qfont.setBold(font.bold);
  return qfont;
}

Qt::Alignment toQtAlignment(platform::TextAlignment alignment) {
  switch (alignment) {
    case platform::TextAlignment::center:
      return Qt::AlignHCenter;
    case platform::TextAlignment::right:
      return Qt::AlignRight;
    case platform::TextAlignment::left:
      break;
  }
  return Qt::AlignLeft;
}

void drawTextLine(QPainter& painter, const app::Drawing& drawing, const QRectF& area, double scale,
                  QColor defaultColor) {
  if (!drawing.text || drawing.text->empty() || area.width() <= 0.0) return;
  const TextLine line = fittedTextLine(drawing, area, scale);
  painter.setFont(line.font);
  painter.setPen(drawing.textColour ? toQColor(*drawing.textColour) : defaultColor);
  painter.drawText(line.area, toQtAlignment(drawing.alignment) | Qt::AlignVCenter, line.shown);
}

// A box as it is drawn at `size` (a rounded background, a border inside its edge), on a
// transparent pixmap of the painter's pixel ratio.
QPixmap boxPicture(const app::Drawing& drawing, QSizeF size, double scale, qreal pixelRatio) {
  QPixmap picture((size * pixelRatio).toSize());
  picture.setDevicePixelRatio(pixelRatio);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QRectF area(QPointF(0.0, 0.0), size);
  const double radius = std::max(0.0, drawing.cornerRadius * scale);
  if (drawing.background && drawing.background->alpha > 0.0) {
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    painter.fillPath(path, toQColor(*drawing.background));
  }
  if (drawing.borderWidth > 0.0) {
    // At least one pixel, so a border never vanishes on a small window.
    const double width = std::max(1.0, drawing.borderWidth * scale);
    const QRectF inner = area.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.setPen(QPen(toQColor(drawing.borderColour), width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(inner, std::max(0.0, radius - width / 2),
                            std::max(0.0, radius - width / 2));
  }
  return picture;
}

// The box placed on whole pixels and copied from a picture kept for its size and look: the board's
// ninety cells come in a handful of looks, and drawing each rounded outline anew was most of the
// work of a frame.
void paintBox(QPainter& painter, const app::Drawing& drawing, const QRectF& area, double scale) {
  const QPoint topLeft(static_cast<int>(std::lround(area.left())),
                       static_cast<int>(std::lround(area.top())));
  const QSize size(static_cast<int>(std::lround(area.right())) - topLeft.x(),
                   static_cast<int>(std::lround(area.bottom())) - topLeft.y());
  if (size.isEmpty()) return;
  const qreal pixelRatio = painter.device() != nullptr ? painter.device()->devicePixelRatio() : 1.0;
  const QRgb background = drawing.background ? toQColor(*drawing.background).rgba() : 0u;
  // One formatting call: building the key piece by piece was a twentieth of the first frame.
  const QString key =
      QString::asprintf("vorlix-box %dx%d %g %g %u %g %u", size.width(), size.height(), pixelRatio,
                        drawing.cornerRadius * scale, background, drawing.borderWidth * scale,
                        toQColor(drawing.borderColour).rgba());
  QPixmap picture;
  if (!QPixmapCache::find(key, &picture)) {
    picture = boxPicture(drawing, QSizeF(size), scale, pixelRatio);
    QPixmapCache::insert(key, picture);
  }
  painter.drawPixmap(topLeft, picture);
}

// A cell, a control or the speed label: its box, then its text (white on the controls).
void paintView(QPainter& painter, const app::ViewLook& view, const ScreenGeometry& geometry,
               const std::string& pressed) {
  const app::Drawing& drawing =
      std::visit([](const auto& look) -> const app::Drawing& { return look.drawing; }, view);
  const QRectF area = geometry.toDevice(drawing.frame);
  paintBox(painter, drawing, area, geometry.scale());
  const auto* control = std::get_if<app::ControlLook>(&view);
  drawTextLine(painter, drawing, area, geometry.scale(), control ? Qt::white : Qt::black);
  if (control != nullptr && !pressed.empty() && control->title == pressed) {
    QPainterPath path;  // the touch highlight: a soft glow over the button
    const double radius = drawing.cornerRadius * geometry.scale();
    path.addRoundedRect(area, radius, radius);
    painter.fillPath(path, QColor(255, 255, 255, 90));
  }
}

void paintTitleBand(QPainter& painter, const app::ScreenSnapshot& screen,
                    const ScreenGeometry& geometry) {
  const QRectF band = geometry.toDevice(titleBand(screen));
  painter.fillRect(band, kTitleBandBackground);
  painter.fillRect(QRectF(band.left(), band.bottom() - 1.0, band.width(), 1.0), kHairline);
  const double margin = 0.06 * band.height();
  const QRectF area = band.adjusted(margin, margin, -margin, -margin);
  const QString text = QString::fromStdString(screen.title);
  painter.setFont(fittedTitleFont(text, area));
  painter.setPen(Qt::black);
  painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text);
}

// The number being called, as large as the room beside the screen allows.
void paintNumberArea(QPainter& painter, const std::string& calledNumber, const QRectF& area) {
  const QString number = QString::fromStdString(calledNumber);
  if (area.isEmpty() || number.isEmpty()) return;
  const QRectF inner = area.adjusted(0.1 * area.width(), 0.2 * area.height(), -0.1 * area.width(),
                                     -0.2 * area.height());
  painter.setFont(fittedTitleFont(number, inner));
  painter.setPen(QColor(255, 235, 59));
  painter.drawText(inner, Qt::AlignCenter, number);
}

}  // namespace

QColor toQColor(const platform::Color& c) {
  return QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                          static_cast<float>(c.blue), static_cast<float>(c.alpha));
}

TextLine fittedTextLine(const app::Drawing& drawing, const QRectF& area, double scale) {
  const QString text = QString::fromStdString(drawing.text.value_or(""));
  const double inset = kTextInset * area.height();
  const QRectF room = area.adjusted(inset, 0.0, -inset, 0.0);
  QFont font = scaledFont(drawing.font, scale);
  const QFontMetricsF natural(font);
  const double shrink = std::min(room.width() / natural.horizontalAdvance(text),
                                 room.height() / (natural.ascent() + natural.descent()));
  if (shrink >= 1.0) return {font, text, room};  // most lines: fitting as they are, laid out once
  const int smallest = std::max(1, static_cast<int>(font.pixelSize() * kSmallestTextShrink));
  int size = font.pixelSize();
  size = std::max(smallest, static_cast<int>(std::floor(size * shrink)));
  // Hinting does not scale exactly: a step smaller while the line is still too wide.
  for (font.setPixelSize(size);
       size > smallest && QFontMetricsF(font).horizontalAdvance(text) > room.width();)
    font.setPixelSize(--size);
  return {font, QFontMetricsF(font).elidedText(text, Qt::ElideRight, room.width()), room};
}

platform::Rect titleBand(const app::ScreenSnapshot& screen) {
  double top = screen.bounds.height;
  for (const auto& view : screen.views)
    top = std::min(top, std::visit([](const auto& look) { return look.drawing.frame.y; }, view));
  return {0.0, 0.0, screen.bounds.width, std::max(0.0, top - 2.0)};
}

QFont fittedTitleFont(const QString& text, const QRectF& area) {
  // Text at pixel size p in `area` takes the room that it takes at the reference size in `area`
  // grown by reference / p, so the search measures with one font. Only the size it settles on is
  // loaded: each size tried would be matched and loaded on its own, which made the first frame
  // tens of milliseconds late.
  constexpr int kReferenceSize = 200;
  constexpr int kFlags = Qt::AlignCenter | Qt::TextWordWrap;
  auto fits = [&](const QFont& font, double grown) {
    const QRectF room(area.topLeft(), area.size() * grown);
    const QRectF needed = QFontMetricsF(font).boundingRect(room, kFlags, text);
    return needed.width() <= room.width() && needed.height() <= room.height();
  };
  QFont font;
  font.setBold(true);
  font.setPixelSize(kReferenceSize);
  // Wrapping only adds lines, so no size fits whose single line is taller than the area: the
  // search starts there, and ends at once when the text fits on one line at that size (a title
  // band, the number being called), which saves laying the text out again at each step.
  const QRectF oneLine = QFontMetricsF(font).boundingRect(QRectF(0.0, 0.0, 1e9, 1e9), kFlags, text);
  int high = std::max(1, static_cast<int>(area.height()));
  if (oneLine.height() > 0.0)
    high = std::clamp(static_cast<int>(area.height() * kReferenceSize / oneLine.height()), 1, high);
  int low = fits(font, static_cast<double>(kReferenceSize) / high) ? high : 1;
  // Binary search for the largest pixel size whose wrapped text still fits the area.
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    if (fits(font, static_cast<double>(kReferenceSize) / mid))
      low = mid;
    else
      high = mid - 1;
  }
  // Hinting rounds small sizes a little differently: the size found is checked as it is drawn.
  font.setPixelSize(low);
  while (low > 1 && !fits(font, 1.0)) font.setPixelSize(--low);
  return font;
}

void paintScreen(QPainter& painter, const ScreenPicture& picture, const ScreenGeometry& geometry) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(painter.viewport(), kLetterbox);
  painter.fillRect(geometry.screenArea(), kScreenBackground);
  if (picture.screen.background)
    painter.fillRect(geometry.screenArea(), toQColor(*picture.screen.background));
  paintTitleBand(painter, picture.screen, geometry);
  paintNumberArea(painter, picture.screen.numberBeingCalled, geometry.numberArea());
  for (const auto& view : picture.screen.views) paintView(painter, view, geometry, picture.pressed);
  painter.restore();
}

}  // namespace qthost
