#include "platform/button.h"

namespace platform {

std::shared_ptr<Button> Button::buttonWithType(ButtonKind kind) {
  return std::make_shared<Button>(kind);
}

Button::Button(ButtonKind /*kind*/) : titleLabel_(std::make_unique<Label>()) {
  titleLabel_->setTextAlignment(TextAlignment::center);
}

void Button::setTitle(const std::string& title, ControlState state) {
  if (state == ControlState::normal && titleLabel_) titleLabel_->setText(title);
}

void Button::setTitleColor(Color color, ControlState state) {
  titleColors_[state] = color;
  if (state == ControlState::normal && titleLabel_) titleLabel_->setTextColor(color);
}

std::optional<Color> Button::titleColor(ControlState state) const {
  auto it = titleColors_.find(state);
  if (it == titleColors_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> Button::titleText() const {
  if (!titleLabel_) return std::nullopt;
  return titleLabel_->text();
}

void Button::addTarget(std::function<void()> action, ControlEvent event) {
  actions_.emplace_back(event, std::move(action));
}

void Button::sendActionsForControlEvents(ControlEvent event) {
  // Copy first: an action may add targets to this very button.
  auto actions = actions_;
  for (auto& [e, action] : actions)
    if (e == event && action) action();
}

}  // namespace platform
