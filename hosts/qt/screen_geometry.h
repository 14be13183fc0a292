#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "platform/geometry.h"

namespace qthost {

// Maps the screen's logical points to the widget's pixels: one uniform scale that keeps the aspect
// ratio, the screen centred in the widget with bars on the two spare sides.
class ScreenGeometry {
 public:
  ScreenGeometry(QSizeF logicalSize, QSizeF deviceSize);

  double scale() const { return scale_; }
  QPointF toDevice(platform::Point p) const;
  QRectF toDevice(const platform::Rect& r) const;
  platform::Point toLogical(QPointF p) const;
  // The part of the widget the screen covers.
  QRectF screenArea() const;

 private:
  QSizeF logicalSize_;
  double scale_ = 1.0;
  QPointF offset_;
};

}  // namespace qthost
