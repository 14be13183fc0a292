#include "hosts/qt/screen_geometry.h"

#include <algorithm>

namespace qthost {

ScreenGeometry::ScreenGeometry(QSizeF logicalSize, QSizeF deviceSize) : logicalSize_(logicalSize) {
  if (logicalSize.width() > 0.0 && logicalSize.height() > 0.0)
    scale_ = std::min(deviceSize.width() / logicalSize.width(),
                      deviceSize.height() / logicalSize.height());
  scale_ = std::max(scale_, 1e-6);  // a collapsed widget still maps points somewhere sane
  offset_ = QPointF((deviceSize.width() - logicalSize.width() * scale_) / 2.0,
                    (deviceSize.height() - logicalSize.height() * scale_) / 2.0);
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
