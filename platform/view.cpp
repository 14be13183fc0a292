#include "platform/view.h"

#include <algorithm>

namespace platform {

View::View(Rect frame) : frame_(frame) {}

View::~View() {
  for (auto& subview : subviews_) subview->superview_ = nullptr;
}

void View::addSubview(const std::shared_ptr<View>& view) {
  if (!view || view.get() == this) return;
  std::shared_ptr<View> keep = view;  // removeFromSuperview may drop the last other owner
  keep->removeFromSuperview();
  keep->superview_ = this;
  subviews_.push_back(std::move(keep));
}

void View::removeFromSuperview() {
  if (superview_ == nullptr) return;
  auto& siblings = superview_->subviews_;
  siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                [this](const auto& v) { return v.get() == this; }),
                 siblings.end());
  superview_ = nullptr;
}

View* View::hitTest(Point p) {
  if (!userInteractionEnabled_) return nullptr;
  if (!Rect{0.0, 0.0, frame_.width, frame_.height}.contains(p)) return nullptr;
  for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
    const Rect& f = (*it)->frame();
    if (View* hit = (*it)->hitTest({p.x - f.x, p.y - f.y})) return hit;
  }
  return this;
}

Point View::convertToRoot(Point p) const {
  for (const View* v = this; v->superview_ != nullptr; v = v->superview_) {
    p.x += v->frame_.x;
    p.y += v->frame_.y;
  }
  return p;
}

}  // namespace platform
