#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/color.h"
#include "platform/geometry.h"

namespace platform {

// The drawing layer of a view: its rounded corners and border.
struct Layer {
  double cornerRadius = 0.0;
  double borderWidth = 0.0;
  Color borderColor = Color::blackColor();
};

// A rectangle of the screen with a background, a layer and subviews. Views form a retained tree:
// a view holds its subviews, a subview knows its superview without holding it.
class View {
 public:
  explicit View(Rect frame = {});
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  const Rect& frame() const { return frame_; }
  void setFrame(Rect frame) { frame_ = frame; }

  const std::optional<Color>& backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(std::optional<Color> color) { backgroundColor_ = color; }

  Layer& layer() { return layer_; }
  const Layer& layer() const { return layer_; }

  long tag() const { return tag_; }
  void setTag(long tag) { tag_ = tag; }

  bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
  void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }

  // Adds a subview on top of the others; a view already in another tree moves here.
  void addSubview(const std::shared_ptr<View>& view);
  void removeFromSuperview();
  const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  View* superview() const { return superview_; }

  // The frontmost view under a point given in this view's own coordinates, skipping views that
  // take no taps (and everything inside them); nullptr when no view here takes the point.
  View* hitTest(Point pointInBounds);

  // Converts a point in this view's coordinates to its root view's coordinates.
  Point convertToRoot(Point pointInBounds) const;

 protected:
  // Views that only show something (labels) take no taps by default.
  void setDefaultUserInteraction(bool enabled) { userInteractionEnabled_ = enabled; }

 private:
  Rect frame_;
  std::optional<Color> backgroundColor_;
  Layer layer_;
  long tag_ = 0;
  bool userInteractionEnabled_ = true;
  std::vector<std::shared_ptr<View>> subviews_;
  View* superview_ = nullptr;
};

}  // namespace platform
