#include "platform/touch.h"

namespace platform {

Button* deliverTap(View& root, Point pointInRoot) {
  View* hit = root.hitTest(pointInRoot);
  // A tap on a view inside a button (its title, say) belongs to the button.
  for (View* v = hit; v != nullptr; v = v->superview()) {
    if (auto* button = dynamic_cast<Button*>(v)) {
      button->sendActionsForControlEvents(ControlEvent::touchUpInside);
      return button;
    }
  }
  return nullptr;
}

Button* findButtonTitled(View& root, const std::string& title) {
  for (const auto& subview : root.subviews()) {
    auto* button = dynamic_cast<Button*>(subview.get());
    if (button != nullptr && button->titleText() == title) return button;
  }
  return nullptr;
}

}  // namespace platform

namespace platform {

Point centerInRoot(const View& view) {
  return view.convertToRoot({view.frame().width / 2.0, view.frame().height / 2.0});
}

TapOutcome tapButtonTitled(View& root, const std::string& title) {
  Button* button = findButtonTitled(root, title);
  if (button == nullptr) return TapOutcome::noSuchButton;
  // Hit-test first without delivering: only the button itself may take the tap.
  View* hit = root.hitTest(centerInRoot(*button));
  if (hit != button) return TapOutcome::ignored;
  button->sendActionsForControlEvents(ControlEvent::touchUpInside);
  return TapOutcome::reached;
}

}  // namespace platform
