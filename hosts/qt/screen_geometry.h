#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "platform/geometry.h"

namespace qthost {

// Maps the screen's logical points to the widget's pixels: one uniform scale that keeps the aspect
// ratio, the screen centred in the widget with bars on the two spare sides. A window much wider
// than the screen (a projector) puts the screen at the left and keeps the room on the right for
// the number being called, shown large.
class ScreenGeometry {
 public:
  ScreenGeometry(QSizeF logicalSize, QSizeF deviceSize);

  double scale() const { return scale_; }
  QPointF toDevice(platform::Point p) const;
  QRectF toDevice(const platform::Rect& r) const;
  platform::Point toLogical(QPointF p) const;
  // The part of the widget the screen covers.
  QRectF screenArea() const;
  // The room beside the screen for the number being called; empty when there is too little.
  QRectF numberArea() const { return numberArea_; }

 private:
  QSizeF logicalSize_;
  double scale_ = 1.0;
  QPointF offset_;
  QRectF numberArea_;
};

}  // namespace qthost
