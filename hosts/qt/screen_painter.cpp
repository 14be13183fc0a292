#include "hosts/qt/screen_painter.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPainterPath>

#include "platform/button.h"
#include "platform/label.h"

namespace qthost {
namespace {

const QColor kLetterbox(32, 32, 36);
const QColor kScreenBackground(Qt::white);
const QColor kTitleBandBackground(247, 247, 247);
const QColor kHairline(178, 178, 178);
constexpr double kSmallestTextShrink = 0.5;  // text that does not fit shrinks to half, then elides

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

// One line of text in `area`: shrunk when it is too wide (down to half size), elided beyond that.
void drawTextLine(QPainter& painter, const platform::Label& label, const QRectF& area, double scale,
                  QColor defaultColor) {
  if (!label.text() || label.text()->empty() || area.width() <= 0.0) return;
  const QString text = QString::fromStdString(*label.text());
  QFont font = scaledFont(label.font(), scale);
  const double natural = QFontMetricsF(font).horizontalAdvance(text);
  if (natural > area.width()) {
    const double shrink = std::max(kSmallestTextShrink, area.width() / natural);
    font.setPixelSize(std::max(1, static_cast<int>(std::floor(font.pixelSize() * shrink))));
  }
  const QString shown = QFontMetricsF(font).elidedText(text, Qt::ElideRight, area.width());
  painter.setFont(font);
  painter.setPen(label.textColor() ? toQColor(*label.textColor()) : defaultColor);
  painter.drawText(area, toQtAlignment(label.textAlignment()) | Qt::AlignVCenter, shown);
}

void paintBox(QPainter& painter, const platform::View& view, const QRectF& area, double scale) {
  const double radius = std::max(0.0, view.layer().cornerRadius * scale);
  if (view.backgroundColor() && view.backgroundColor()->alpha > 0.0) {
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    painter.fillPath(path, toQColor(*view.backgroundColor()));
  }
  if (view.layer().borderWidth > 0.0) {
    // At least one pixel, so a border never vanishes on a small window.
    const double width = std::max(1.0, view.layer().borderWidth * scale);
    const QRectF inner = area.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.setPen(QPen(toQColor(view.layer().borderColor), width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(inner, std::max(0.0, radius - width / 2),
                            std::max(0.0, radius - width / 2));
  }
}

void paintView(QPainter& painter, const platform::View& view, const ScreenGeometry& geometry,
               platform::Point origin, const platform::View* pressed) {
  const platform::Rect& f = view.frame();
  const platform::Rect inRoot{origin.x + f.x, origin.y + f.y, f.width, f.height};
  const QRectF area = geometry.toDevice(inRoot);
  paintBox(painter, view, area, geometry.scale());
  if (auto* button = dynamic_cast<const platform::Button*>(&view)) {
    if (button->titleLabel() != nullptr)
      drawTextLine(painter, *button->titleLabel(), area, geometry.scale(), Qt::white);
    if (&view == pressed) {  // the touch highlight: a soft glow over the button
      QPainterPath path;
      const double radius = view.layer().cornerRadius * geometry.scale();
      path.addRoundedRect(area, radius, radius);
      painter.fillPath(path, QColor(255, 255, 255, 90));
    }
  } else if (auto* label = dynamic_cast<const platform::Label*>(&view)) {
    drawTextLine(painter, *label, area, geometry.scale(), Qt::black);
  }
  for (const auto& subview : view.subviews())
    paintView(painter, *subview, geometry, {inRoot.x, inRoot.y}, pressed);
}

void paintTitleBand(QPainter& painter, const platform::View& root, const std::string& title,
                    const ScreenGeometry& geometry) {
  const QRectF band = geometry.toDevice(titleBand(root));
  painter.fillRect(band, kTitleBandBackground);
  painter.fillRect(QRectF(band.left(), band.bottom() - 1.0, band.width(), 1.0), kHairline);
  const double margin = 0.06 * band.height();
  const QRectF area = band.adjusted(margin, margin, -margin, -margin);
  const QString text = QString::fromStdString(title);
  painter.setFont(fittedTitleFont(text, area));
  painter.setPen(Qt::black);
  painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text);
}

// The number being called, as large as the room beside the screen allows.
void paintNumberArea(QPainter& painter, const std::string& title, const QRectF& area) {
  const QString number = QString::fromStdString(calledNumber(title));
  if (area.isEmpty() || number.isEmpty()) return;
  const QRectF inner = area.adjusted(0.1 * area.width(), 0.2 * area.height(), -0.1 * area.width(),
                                     -0.2 * area.height());
  painter.setFont(fittedTitleFont(number, inner));
  painter.setPen(QColor(255, 235, 59));
  painter.drawText(inner, Qt::AlignCenter, number);
}

}  // namespace

std::string calledNumber(const std::string& title) {
  const auto open = title.rfind('[');
  if (open == std::string::npos || title.empty() || title.back() != ']') return "";
  return title.substr(open + 1, title.size() - open - 2);
}

QColor toQColor(const platform::Color& c) {
  return QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                          static_cast<float>(c.blue), static_cast<float>(c.alpha));
}

platform::Rect titleBand(const platform::View& root) {
  double top = root.frame().height;
  for (const auto& subview : root.subviews()) top = std::min(top, subview->frame().y);
  return {0.0, 0.0, root.frame().width, std::max(0.0, top - 2.0)};
}

QFont fittedTitleFont(const QString& text, const QRectF& area) {
  QFont font;
  font.setBold(true);
  int low = 1;
  int high = std::max(1, static_cast<int>(area.height()));
  // Binary search for the largest pixel size whose wrapped text still fits the area.
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    font.setPixelSize(mid);
    const QRectF needed =
        QFontMetricsF(font).boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, text);
    const bool fits = needed.width() <= area.width() && needed.height() <= area.height();
    if (fits)
      low = mid;
    else
      high = mid - 1;
  }
  font.setPixelSize(low);
  return font;
}

void paintScreen(QPainter& painter, const ScreenPicture& picture, const ScreenGeometry& geometry) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(painter.viewport(), kLetterbox);
  painter.fillRect(geometry.screenArea(), kScreenBackground);
  if (picture.root.backgroundColor())
    painter.fillRect(geometry.screenArea(), toQColor(*picture.root.backgroundColor()));
  paintTitleBand(painter, picture.root, picture.title, geometry);
  paintNumberArea(painter, picture.title, geometry.numberArea());
  for (const auto& subview : picture.root.subviews())
    paintView(painter, *subview, geometry, {0.0, 0.0}, picture.pressed);
  painter.restore();
}

}  // namespace qthost
