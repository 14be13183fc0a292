#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/label.h"
#include "platform/view.h"

namespace platform {

// Ordinals are the toolkit's values: button kind 1 is the system button, control state 0 is
// normal, control event 64 is a touch that ends inside the button.
enum class ButtonKind { custom = 0, system = 1 };
enum class ControlState { normal = 0 };
enum class ControlEvent { touchUpInside = 64 };

// A tappable view with a title and actions. The title is shown by the button's title label,
// which is part of the button but not one of its subviews.
class Button : public View {
 public:
  static std::shared_ptr<Button> buttonWithType(ButtonKind kind);
  explicit Button(ButtonKind kind);

  void setTitle(const std::string& title, ControlState state);
  void setTitleColor(Color color, ControlState state);
  std::optional<Color> titleColor(ControlState state) const;

  // The label that shows the normal title; a button may have none.
  Label* titleLabel() { return titleLabel_.get(); }
  const Label* titleLabel() const { return titleLabel_.get(); }

  // The title label's text, when there is a title label with text.
  std::optional<std::string> titleText() const;

  void addTarget(std::function<void()> action, ControlEvent event);
  // Runs every action registered for the event, in registration order.
  void sendActionsForControlEvents(ControlEvent event);

  bool showsTouchWhenHighlighted() const { return showsTouchWhenHighlighted_; }
  void setShowsTouchWhenHighlighted(bool on) { showsTouchWhenHighlighted_ = on; }

 private:
  std::unique_ptr<Label> titleLabel_;
  std::map<ControlState, Color> titleColors_;
  std::vector<std::pair<ControlEvent, std::function<void()>>> actions_;
  bool showsTouchWhenHighlighted_ = false;
};

}  // namespace platform
