#include "hosts/audience/audience_painter.h"

#include <algorithm>
#include <cmath>
#include <set>

#include <QFontMetricsF>
#include <QPainterPath>

#include "hosts/audience/audience_layout.h"

namespace vorlix::audience {
namespace {

using room::RoomPhase;
using room::RoomState;

// The dark theme of the web board, so the room sees the same thing on the wall and on a phone.
const QColor kBackground(0x10, 0x12, 0x14);
const QColor kPanel(0x1b, 0x1e, 0x22);
const QColor kText(0xf2, 0xf2, 0xf2);
const QColor kMuted(0xb8, 0xb8, 0xb8);
const QColor kLine(0x5c, 0x61, 0x68);
const QColor kCalled(0xff, 0xd3, 0x4d);
const QColor kCalledText(0x11, 0x11, 0x11);
const QColor kCurrent(0xff, 0x8a, 0x80);

constexpr int kQuietZoneModules = 4;

const char* phaseTitle(RoomPhase phase) {
  switch (phase) {
    case RoomPhase::NotStarted:
      return "Not started";
    case RoomPhase::Calling:
      return "Calling";
    case RoomPhase::Paused:
      return "Paused";
    case RoomPhase::Recalling:
      return "Recalling";
    case RoomPhase::Complete:
      return "Complete";
  }
  return "";
}

const char* phaseCaption(RoomPhase phase) {
  switch (phase) {
    case RoomPhase::NotStarted:
      return "Waiting for the first number";
    case RoomPhase::Calling:
      return "Now calling";
    case RoomPhase::Paused:
      return "Paused";
    case RoomPhase::Recalling:
      return "Recalling";
    case RoomPhase::Complete:
      return "Game complete";
  }
  return "";
}

// The largest font of `weight` whose rendering of `sample` fits `area`, its ink at most
// `heightShare` of the area's height.
QFont fittedFont(const QString& sample, const QRectF& area, QFont::Weight weight,
                 double heightShare = 0.7) {
  QFont font("DejaVu Sans");
  font.setWeight(weight);
  font.setPixelSize(100);
  const QRectF ink = QFontMetricsF(font).tightBoundingRect(sample);
  const double inkHeight = std::max(1.0, ink.height());
  const double inkWidth = std::max(1.0, QFontMetricsF(font).horizontalAdvance(sample));
  const double scale =
      std::min(area.height() * heightShare / inkHeight, area.width() * 0.92 / inkWidth);
  font.setPixelSize(std::max(1, static_cast<int>(100 * scale)));
  return font;
}

// Text whose ink is centred in `area` (centring by the line's ascent and descent would sit
// digits high).
void drawCentredInk(QPainter& painter, const QRectF& area, const QString& text) {
  const QRectF ink = QFontMetricsF(painter.font()).tightBoundingRect(text);
  const double advance = QFontMetricsF(painter.font()).horizontalAdvance(text);
  const QPointF baseline(area.center().x() - advance / 2, area.center().y() - ink.center().y());
  painter.drawText(baseline, text);
}

void drawFittedText(QPainter& painter, const QRectF& area, const QString& text,
                    const QColor& colour, QFont::Weight weight, Qt::Alignment alignment) {
  painter.setFont(fittedFont(text, area, weight, 0.6));
  painter.setPen(colour);
  painter.drawText(area, static_cast<int>(alignment | Qt::AlignVCenter), text);
}

void paintHeader(QPainter& painter, const AudienceLayout& layout, const RoomState& state) {
  const QString venue = QString::fromStdString(state.venue);
  const QFont venueFont = fittedFont(venue, layout.venue, QFont::Bold, 0.6);
  painter.setFont(venueFont);
  painter.setPen(kText);
  painter.drawText(layout.venue, Qt::AlignLeft | Qt::AlignVCenter, venue);
  // The phase is a smaller word beside the venue, whatever room each has.
  const QString phase = phaseTitle(state.phase);
  const QRectF textArea =
      layout.phase.adjusted(0, layout.phase.height() * 0.12, 0, -layout.phase.height() * 0.12);
  QFont phaseFont = fittedFont("Recalling", textArea, QFont::Bold, 0.5);
  phaseFont.setPixelSize(std::min(phaseFont.pixelSize(), venueFont.pixelSize() * 4 / 5));
  painter.setFont(phaseFont);
  const double textWidth = QFontMetricsF(painter.font()).horizontalAdvance(phase);
  const double pillHeight = phaseFont.pixelSize() * 1.9;
  const double padding = pillHeight * 0.5;
  const QRectF pill(textArea.right() - textWidth - 2 * padding,
                    textArea.center().y() - pillHeight / 2, textWidth + 2 * padding, pillHeight);
  painter.setPen(QPen(kText, std::max(2.0, pillHeight * 0.06)));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
  painter.drawText(pill, Qt::AlignCenter, phase);
}

void paintNumberBeingCalled(QPainter& painter, const AudienceLayout& layout,
                            const RoomState& state) {
  drawFittedText(painter, layout.caption, phaseCaption(state.phase), kMuted, QFont::Bold,
                 Qt::AlignHCenter);
  // Sized for two digits whatever is shown, so the number does not jump between 9 and 10.
  painter.setFont(fittedFont("88", layout.number, QFont::Black, 0.95));
  if (state.numberBeingCalled) {
    painter.setPen(kText);
    drawCentredInk(painter, layout.number, QString::number(*state.numberBeingCalled));
  } else {
    // A dim bar where the number goes: no number yet (drawn, not set in type, so that it looks
    // the same whatever was drawn before).
    const QRectF& area = layout.number;
    const QSizeF bar(area.height() * 0.3, area.height() * 0.07);
    painter.fillRect(QRectF(area.center() - QPointF(bar.width() / 2, bar.height() / 2), bar),
                     kLine);
  }
}

void paintStrip(QPainter& painter, const AudienceLayout& layout, const RoomState& state) {
  drawFittedText(painter, layout.stripTitle, "Previous", kMuted, QFont::Bold, Qt::AlignHCenter);
  const std::vector<int> recent = state.recentNewestFirst();
  const QRectF first = layout.strip[0];
  const double corner = first.height() * 0.18;
  painter.setFont(fittedFont("88", first, QFont::Bold, 0.55));
  for (std::size_t i = 0; i < layout.strip.size(); ++i) {
    const QRectF chip = layout.strip[i].adjusted(2, 2, -2, -2);
    if (i < recent.size()) {
      painter.setPen(QPen(kText, std::max(2.0, first.height() * 0.04)));
      painter.setBrush(kPanel);
    } else {
      painter.setPen(QPen(kLine, 1.5));
      painter.setBrush(Qt::NoBrush);
    }
    painter.drawRoundedRect(chip, corner, corner);
    if (i < recent.size()) {
      painter.setPen(kText);
      drawCentredInk(painter, chip, QString::number(recent[i]));
    }
  }
}

// A called number: a bright disc with dark bold digits. Not called: a dark square, light digits.
void paintMark(QPainter& painter, const QRectF& area, const QString& text, bool called,
               bool beingCalled) {
  const double side = std::min(area.width(), area.height());
  if (called) {
    const double diameter = side * 0.9;
    const QRectF disc(area.center().x() - diameter / 2, area.center().y() - diameter / 2, diameter,
                      diameter);
    painter.setPen(beingCalled ? QPen(kText, std::max(2.0, side * 0.07)) : Qt::NoPen);
    painter.setBrush(beingCalled ? kCurrent : kCalled);
    painter.drawEllipse(disc);
    painter.setPen(kCalledText);
  } else {
    const QRectF square = area.adjusted(side * 0.05, side * 0.05, -side * 0.05, -side * 0.05);
    painter.setPen(QPen(kLine, 1.0));
    painter.setBrush(kPanel);
    painter.drawRoundedRect(square, side * 0.08, side * 0.08);
    painter.setPen(kMuted);
  }
  QFont font = painter.font();
  font.setWeight(called ? QFont::Black : QFont::Normal);
  painter.setFont(font);
  drawCentredInk(painter, area, text);
}

void paintBoard(QPainter& painter, const AudienceLayout& layout, const RoomState& state) {
  const std::set<int> called(state.calledInOrder.begin(), state.calledInOrder.end());
  const QRectF first = layout.cell(1);
  const double side = std::min(first.width(), first.height());
  painter.setFont(fittedFont("88", QRectF(0, 0, side * 0.9, side), QFont::Black, 0.42));
  for (int n = 1; n <= RoomState::kNumbersOnBoard; ++n) {
    paintMark(painter, layout.cell(n), QString::number(n), called.contains(n),
              state.numberBeingCalled == n);
  }
}

// The claimed ticket: three rows of nine, its called numbers marked as on
// the board, and the verdict under it.
void paintClaim(QPainter& painter, const QRectF& area, const RoomState& state) {
  const room::ClaimCheck& claim = *state.claim;
  painter.setPen(QPen(kText, 3));
  painter.setBrush(kPanel);
  painter.drawRoundedRect(area, 12, 12);
  const QRectF inner = area.adjusted(area.width() * 0.04, 0, -area.width() * 0.04, 0);
  const QRectF heading(inner.left(), inner.top(), inner.width(), area.height() * 0.14);
  drawFittedText(painter, heading, "Claim being checked", kText, QFont::Bold, Qt::AlignHCenter);
  const QRectF verdict(inner.left(), area.bottom() - area.height() * 0.2, inner.width(),
                       area.height() * 0.16);
  drawFittedText(painter, verdict, QString::fromStdString(claim.verdict), kText, QFont::Black,
                 Qt::AlignHCenter);

  const std::set<int> called(state.calledInOrder.begin(), state.calledInOrder.end());
  const double squareSide = std::min(inner.width() / 9, (verdict.top() - heading.bottom()) / 3);
  const QRectF grid(inner.center().x() - squareSide * 4.5,
                    (heading.bottom() + verdict.top()) / 2 - squareSide * 1.5, squareSide * 9,
                    squareSide * 3);
  painter.setFont(fittedFont("88", QRectF(0, 0, squareSide * 0.9, squareSide), QFont::Black, 0.4));
  for (std::size_t row = 0; row < claim.ticket.size(); ++row) {
    for (std::size_t column = 0; column < claim.ticket[row].size(); ++column) {
      const int n = claim.ticket[row][column];
      const QRectF square(grid.left() + static_cast<double>(column) * squareSide,
                          grid.top() + static_cast<double>(row) * squareSide, squareSide,
                          squareSide);
      if (n == 0) {
        // A blank square: only its outline, so the ticket keeps its shape.
        painter.setPen(QPen(kLine, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(square.adjusted(squareSide * 0.05, squareSide * 0.05, -squareSide * 0.05,
                                         -squareSide * 0.05));
        continue;
      }
      paintMark(painter, square, QString::number(n), called.contains(n), false);
    }
  }
}

void paintBoardAddress(QPainter& painter, const AudienceLayout& layout,
                       const AudiencePicture& picture) {
  paintQrCode(painter, *picture.boardQrCode, layout.qrCode);
  drawFittedText(painter, layout.qrCaption, QString::fromStdString(picture.boardAddress), kText,
                 QFont::Bold, Qt::AlignHCenter);
}

}  // namespace

bool showsQrCode(const AudiencePicture& picture) {
  const RoomPhase phase = picture.state.phase;
  return picture.boardQrCode != nullptr &&
         (phase == RoomPhase::NotStarted || phase == RoomPhase::Complete);
}

void paintAudience(QPainter& painter, const QSize& size, const AudiencePicture& picture) {
  const AudienceLayout layout = layOutAudience(QSizeF(size));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.fillRect(QRect(QPoint(0, 0), size), kBackground);
  const RoomState& state = picture.state;
  paintHeader(painter, layout, state);
  if (state.claim) {
    // While a claim is checked the room looks at the ticket: it takes the whole body.
    paintClaim(painter, layout.claim, state);
    return;
  }
  if (showsQrCode(picture)) {
    drawFittedText(painter, layout.caption, phaseCaption(state.phase), kMuted, QFont::Bold,
                   Qt::AlignHCenter);
    paintBoardAddress(painter, layout, picture);
  } else {
    paintNumberBeingCalled(painter, layout, state);
    paintStrip(painter, layout, state);
  }
  drawFittedText(painter, layout.progress, QString::fromStdString(state.progressLine()), kText,
                 QFont::Bold, Qt::AlignHCenter);
  paintBoard(painter, layout, state);
}

void paintQrCode(QPainter& painter, const platform::QrCode& code, const QRectF& area) {
  const int modules = code.size() + 2 * kQuietZoneModules;
  const int module =
      std::max(1, static_cast<int>(std::floor(std::min(area.width(), area.height()) / modules)));
  const int side = module * modules;
  const QPoint origin(static_cast<int>(std::round(area.center().x())) - side / 2,
                      static_cast<int>(std::round(area.center().y())) - side / 2);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(origin, QSize(side, side)), Qt::white);
  for (int row = 0; row < code.size(); ++row) {
    for (int column = 0; column < code.size(); ++column) {
      if (!code.dark(row, column)) continue;
      painter.fillRect(origin.x() + (column + kQuietZoneModules) * module,
                       origin.y() + (row + kQuietZoneModules) * module, module, module, Qt::black);
    }
  }
  painter.restore();
}

}  // namespace vorlix::audience
