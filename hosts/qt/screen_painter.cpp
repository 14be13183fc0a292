#include "hosts/qt/screen_painter.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QRawFont>
#include <QRegion>

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

// Where a line of `width` starts on its baseline: as the painter places a line of text in its
// area, aligned as asked and centred vertically.
QPointF lineOrigin(const QRectF& area, Qt::Alignment alignment, double width,
                   const QRawFont& font) {
  double x = area.left();
  if (alignment & Qt::AlignRight)
    x = area.right() - width;
  else if (alignment & Qt::AlignHCenter)
    x += (area.width() - width) / 2;
  return {x, area.top() + (area.height() - (font.ascent() + font.descent())) / 2 + font.ascent()};
}

void drawTextLine(QPainter& painter, const app::Drawing& drawing, const QRectF& area, double scale,
                  QColor defaultColor) {
  if (!drawing.text || drawing.text->empty() || area.width() <= 0.0) return;
  const TextLine line = fittedTextLine(drawing, area, scale);
  painter.setPen(drawing.textColour ? toQColor(*drawing.textColour) : defaultColor);
  const Qt::Alignment alignment = toQtAlignment(drawing.alignment);
  if (line.glyphs) {
    painter.drawGlyphRun(lineOrigin(line.area, alignment, line.width, line.glyphs->rawFont()),
                         *line.glyphs);
    return;
  }
  painter.setFont(line.font);
  painter.drawText(line.area, alignment | Qt::AlignVCenter, line.shown);
}

// A number needs no shaping: its glyphs and their advances come straight from the font. Laying
// out each of the board's ninety numbers twice, to measure it and to draw it, was a fifth of the
// first frame. Empty for any other text, or when the number does not fit `room` as it is.
std::optional<QGlyphRun> numberGlyphs(const QFont& font, const QString& text, const QRectF& room,
                                      double& width) {
  if (text.isEmpty() || !std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
      }))
    return std::nullopt;
  const QRawFont raw = QRawFont::fromFont(font);
  const QList<quint32> glyphs = raw.glyphIndexesForString(text);
  if (!raw.isValid() || glyphs.size() != text.size() || glyphs.contains(0u)) return std::nullopt;
  QList<QPointF> positions;
  width = 0.0;
  for (const QPointF& advance : raw.advancesForGlyphIndexes(glyphs)) {
    positions.append(QPointF(width, 0.0));
    width += advance.x();
  }
  if (width > room.width() || raw.ascent() + raw.descent() > room.height()) return std::nullopt;
  QGlyphRun run;
  run.setRawFont(raw);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  return run;
}

// A box's look at one size on whole pixels: what its kept picture is found by.
struct BoxLook {
  int width = 0;
  int height = 0;
  qreal pixelRatio = 1.0;
  double radius = 0.0;
  double borderWidth = 0.0;
  QRgb background = 0;
  QRgb border = 0;
  bool operator==(const BoxLook&) const = default;
};

size_t qHash(const BoxLook& look, size_t seed = 0) {
  return qHashMulti(seed, look.width, look.height, look.pixelRatio, look.radius, look.borderWidth,
                    look.background, look.border);
}

// A box as it is drawn (a rounded background, a border inside its edge), on a transparent picture
// of the painter's pixel ratio.
QImage boxPicture(const BoxLook& look) {
  QImage picture(qRound(look.width * look.pixelRatio), qRound(look.height * look.pixelRatio),
                 QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(look.pixelRatio);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QRectF area(0.0, 0.0, look.width, look.height);
  if (qAlpha(look.background) > 0) {
    QPainterPath path;
    path.addRoundedRect(area, look.radius, look.radius);
    painter.fillPath(path, QColor::fromRgba(look.background));
  }
  if (look.borderWidth > 0.0) {
    const double width = look.borderWidth;
    const QRectF inner = area.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.setPen(QPen(QColor::fromRgba(look.border), width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(inner, std::max(0.0, look.radius - width / 2),
                            std::max(0.0, look.radius - width / 2));
  }
  return picture;
}

// The pictures of the boxes drawn lately. The board's ninety cells come in a handful of looks;
// each new window size brings new ones, so the store is emptied once it holds more than a few
// sizes' worth. Found by a plain key: formatting a text key for each box was a twentieth of the
// first frame.
const QImage& keptBoxPicture(const BoxLook& look) {
  static QHash<BoxLook, QImage> kept;
  constexpr qsizetype kMostKept = 256;
  if (const auto found = kept.constFind(look); found != kept.constEnd()) return *found;
  if (kept.size() >= kMostKept) kept.clear();
  return *kept.insert(look, boxPicture(look));
}

// The box placed on whole pixels and copied from a picture kept for its size and look: drawing
// each rounded outline anew was most of the work of a frame.
void paintBox(QPainter& painter, const app::Drawing& drawing, const QRectF& area, double scale) {
  const QPoint topLeft(static_cast<int>(std::lround(area.left())),
                       static_cast<int>(std::lround(area.top())));
  BoxLook look;
  look.width = static_cast<int>(std::lround(area.right())) - topLeft.x();
  look.height = static_cast<int>(std::lround(area.bottom())) - topLeft.y();
  if (look.width <= 0 || look.height <= 0) return;
  look.pixelRatio = painter.device() != nullptr ? painter.device()->devicePixelRatio() : 1.0;
  look.radius = std::max(0.0, drawing.cornerRadius * scale);
  if (drawing.background && drawing.background->alpha > 0.0)
    look.background = toQColor(*drawing.background).rgba();
  // At least one pixel, so a border never vanishes on a small window.
  if (drawing.borderWidth > 0.0) {
    look.borderWidth = std::max(1.0, drawing.borderWidth * scale);
    look.border = toQColor(drawing.borderColour).rgba();
  }
  painter.drawImage(topLeft, keptBoxPicture(look));
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

// The pixel size of the controls' bold titles, 0 when there are none. The title is measured in
// that font, which the frame loads anyway: each font loaded was a twentieth of the first frame.
int controlsBoldSize(const app::ScreenSnapshot& screen, double scale) {
  for (const auto& view : screen.views)
    if (const auto* control = std::get_if<app::ControlLook>(&view);
        control != nullptr && control->drawing.font.bold)
      return scaledFont(control->drawing.font, scale).pixelSize();
  return 0;
}

// The letterbox: the pixels the screen does not cover whole. Filling the whole window first,
// then the screen over it, touched every pixel of the first frame twice.
void paintLetterbox(QPainter& painter, const QRectF& screen) {
  const QRect inner(
      QPoint(static_cast<int>(std::ceil(screen.left())), static_cast<int>(std::ceil(screen.top()))),
      QPoint(static_cast<int>(std::floor(screen.right())) - 1,
             static_cast<int>(std::floor(screen.bottom())) - 1));
  for (const QRect& part : QRegion(painter.viewport()).subtracted(QRegion(inner)))
    painter.fillRect(part, kLetterbox);
}

void paintTitleBand(QPainter& painter, const app::ScreenSnapshot& screen,
                    const ScreenGeometry& geometry, int referenceSize) {
  const QRectF band = geometry.toDevice(titleBand(screen));
  painter.fillRect(band, kTitleBandBackground);
  painter.fillRect(QRectF(band.left(), band.bottom() - 1.0, band.width(), 1.0), kHairline);
  const double margin = 0.06 * band.height();
  const QRectF area = band.adjusted(margin, margin, -margin, -margin);
  const QString text = QString::fromStdString(screen.title);
  painter.setFont(fittedTitleFont(text, area, referenceSize));
  painter.setPen(Qt::black);
  painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text);
}

// The number being called, as large as the room beside the screen allows.
void paintNumberArea(QPainter& painter, const std::string& calledNumber, const QRectF& area,
                     int referenceSize) {
  const QString number = QString::fromStdString(calledNumber);
  if (area.isEmpty() || number.isEmpty()) return;
  const QRectF inner = area.adjusted(0.1 * area.width(), 0.2 * area.height(), -0.1 * area.width(),
                                     -0.2 * area.height());
  painter.setFont(fittedTitleFont(number, inner, referenceSize));
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
  double width = 0.0;
  if (auto glyphs = numberGlyphs(font, text, room, width))
    return {font, text, room, std::move(glyphs), width};
  const QFontMetricsF natural(font);
  const double shrink = std::min(room.width() / natural.horizontalAdvance(text),
                                 room.height() / (natural.ascent() + natural.descent()));
  if (shrink >= 1.0) return {font, text, room, {}, 0.0};  // most lines: fitting as they are
  const int smallest = std::max(1, static_cast<int>(font.pixelSize() * kSmallestTextShrink));
  int size = font.pixelSize();
  size = std::max(smallest, static_cast<int>(std::floor(size * shrink)));
  // Hinting does not scale exactly: a step smaller while the line is still too wide.
  for (font.setPixelSize(size);
       size > smallest && QFontMetricsF(font).horizontalAdvance(text) > room.width();)
    font.setPixelSize(--size);
  return {font, QFontMetricsF(font).elidedText(text, Qt::ElideRight, room.width()), room, {}, 0.0};
}

platform::Rect titleBand(const app::ScreenSnapshot& screen) {
  double top = screen.bounds.height;
  for (const auto& view : screen.views)
    top = std::min(top, std::visit([](const auto& look) { return look.drawing.frame.y; }, view));
  return {0.0, 0.0, screen.bounds.width, std::max(0.0, top - 2.0)};
}

QFont fittedTitleFont(const QString& text, const QRectF& area, int referenceSize) {
  // Text at pixel size p in `area` takes the room that it takes at the reference size in `area`
  // grown by reference / p, so the search measures with one font. Only the size it settles on is
  // loaded: each size tried would be matched and loaded on its own, which made the first frame
  // tens of milliseconds late. Too small a reference is too coarse, its widths rounded by hinting.
  constexpr int kSmallestReference = 12;
  const int kReferenceSize = referenceSize >= kSmallestReference ? referenceSize : 200;
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
  paintLetterbox(painter, geometry.screenArea());
  painter.fillRect(geometry.screenArea(), kScreenBackground);
  if (picture.screen.background)
    painter.fillRect(geometry.screenArea(), toQColor(*picture.screen.background));
  const int boldSize = controlsBoldSize(picture.screen, geometry.scale());
  paintTitleBand(painter, picture.screen, geometry, boldSize);
  paintNumberArea(painter, picture.screen.numberBeingCalled, geometry.numberArea(), boldSize);
  for (const auto& view : picture.screen.views) paintView(painter, view, geometry, picture.pressed);
  painter.restore();
}

}  // namespace qthost
