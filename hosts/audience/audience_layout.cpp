#include "hosts/audience/audience_layout.h"

#include <algorithm>
#include <cmath>

namespace vorlix::audience {
namespace {

constexpr int kBoardColumns = 10;
constexpr int kBoardRows = 9;

// Two bold digits are about 1.9 times as wide as they are high: the number's column is made wide
// enough for digits of this share of the window's height, so they stay above a third of it.
constexpr double kNumberShareOfHeight = 0.42;
constexpr double kTwoDigitWidthPerHeight = 1.95;

// Lays the parts of the number's column one under another from `top`, each a share of `height`.
struct ColumnCursor {
  double left;
  double width;
  double top;
  double height;
  double gap;

  QRectF take(double share) {
    const QRectF part(left, top, width, height * share);
    top += part.height() + gap;
    return part;
  }
};

void layOutStrip(AudienceLayout& layout, const QRectF& row, double gap) {
  // Whole pixels, so that a number looks the same in every chip as it moves along the strip.
  const auto count = static_cast<double>(layout.strip.size());
  const double chipWidth = std::floor((row.width() - gap * (count - 1)) / count);
  const double step = std::round(chipWidth + gap);
  for (std::size_t i = 0; i < layout.strip.size(); ++i) {
    layout.strip[i] = QRectF(std::round(row.left()) + static_cast<double>(i) * step,
                             std::round(row.top()), chipWidth, std::round(row.height()));
  }
}

void layOutQrCode(AudienceLayout& layout, const QRectF& space, double captionHeight) {
  const double side = std::min(space.width(), space.height() - captionHeight);
  layout.qrCode = QRectF(space.center().x() - side / 2, space.top(), side, side);
  layout.qrCaption = QRectF(space.left(), layout.qrCode.bottom(), space.width(), captionHeight);
}

// The number, the strip and the progress line in one column: `area` is the whole column.
void layOutNumberColumn(AudienceLayout& layout, const QRectF& area, double gap) {
  ColumnCursor column{area.left(), area.width(), area.top(), area.height(), gap};
  layout.caption = column.take(0.08);
  layout.number = column.take(0.50);
  layout.stripTitle = column.take(0.05);
  layOutStrip(layout, column.take(0.14), gap);
  layout.progress = column.take(0.10);
  layOutQrCode(layout,
               QRectF(area.left(), layout.number.top(), area.width(),
                      layout.strip[0].bottom() - layout.number.top()),
               layout.stripTitle.height());
}

}  // namespace

QRectF AudienceLayout::cell(int numberOnBoard) const {
  const double width = board.width() / kBoardColumns;
  const double height = board.height() / kBoardRows;
  const int index = numberOnBoard - 1;
  return QRectF(board.left() + (index % kBoardColumns) * width,
                board.top() + (index / kBoardColumns) * height, width, height);
}

AudienceLayout layOutAudience(const QSizeF& size) {
  const double w = size.width();
  const double h = size.height();
  const double gap = 0.02 * std::min(w, h);
  AudienceLayout layout;
  const double headerHeight = 0.08 * h;
  layout.venue = QRectF(gap, gap, 0.64 * w - gap, headerHeight);
  layout.phase = QRectF(0.64 * w, gap, 0.36 * w - gap, headerHeight);
  const double bodyTop = layout.venue.bottom() + gap;
  const double bodyHeight = h - bodyTop - gap;
  layout.claim = QRectF(gap, bodyTop, w - 2 * gap, bodyHeight);

  if (w >= h) {
    // Side by side: the number's column at the left, the board filling the rest.
    const double wanted = kNumberShareOfHeight * h * kTwoDigitWidthPerHeight;
    const double columnWidth = std::clamp(wanted, 0.34 * w, 0.55 * w);
    layOutNumberColumn(layout, QRectF(gap, bodyTop, columnWidth, bodyHeight), gap);
    const double boardLeft = gap + columnWidth + 2 * gap;
    layout.board = QRectF(boardLeft, bodyTop, w - boardLeft - gap, bodyHeight);
  } else {
    // Upright: the number's column on top, the board under it across the whole width.
    const double columnHeight = 0.62 * bodyHeight;
    layOutNumberColumn(layout, QRectF(gap, bodyTop, w - 2 * gap, columnHeight), gap);
    const double boardTop = layout.progress.bottom() + gap;
    layout.board = QRectF(gap, boardTop, w - 2 * gap, h - boardTop - gap);
  }
  return layout;
}

}  // namespace vorlix::audience
