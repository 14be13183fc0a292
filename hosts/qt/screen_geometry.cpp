#include "hosts/qt/screen_geometry.h"

#include <algorithm>

namespace qthost {
namespace {

// Room beside the screen, as a share of the screen's width, from which the number is shown there.
constexpr double kNumberRoom = 0.6;

}  // namespace

ScreenGeometry::ScreenGeometry(QSizeF logicalSize, QSizeF deviceSize) : logicalSize_(logicalSize) {
  if (logicalSize.width() > 0.0 && logicalSize.height() > 0.0)
    scale_ = std::min(deviceSize.width() / logicalSize.width(),
                      deviceSize.height() / logicalSize.height());
  scale_ = std::max(scale_, 1e-6);  // a collapsed widget still maps points somewhere sane
  const double spareWidth = deviceSize.width() - logicalSize.width() * scale_;
  const double verticalBar = (deviceSize.height() - logicalSize.height() * scale_) / 2.0;
  if (spareWidth >= kNumberRoom * logicalSize.width() * scale_) {
    offset_ = QPointF(0.0, verticalBar);
    numberArea_ = QRectF(logicalSize.width() * scale_, 0.0, spareWidth, deviceSize.height());
  } else {
    offset_ = QPointF(spareWidth / 2.0, verticalBar);
  }
}

QPointF ScreenGeometry::toDevice(platform::Point p) const {
  return offset_ + QPointF(p.x * scale_, p.y * scale_);
}

QRectF ScreenGeometry::toDevice(const platform::Rect& r) const {
  return QRectF(toDevice(platform::Point{r.x, r.y}), QSizeF(r.width * scale_, r.height * scale_));
}

platform::Point ScreenGeometry::toLogical(QPointF p) const {
  const QPointF q = (p - offset_) / scale_;
  return {q.x(), q.y()};
}

QRectF ScreenGeometry::screenArea() const {
  return toDevice(platform::Rect{0.0, 0.0, logicalSize_.width(), logicalSize_.height()});
}

}  // namespace qthost
