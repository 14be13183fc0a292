#include "platform/alert_view.h"

#include "platform/stand_ins.h"

#include "platform/services.h"

namespace platform {

std::shared_ptr<AlertView> AlertView::initWithTitle(std::string title, std::string message,
                                                    AlertViewDelegate* delegate,
                                                    std::optional<std::string> cancelButtonTitle) {
  auto alert = create();
  alert->setTitle(std::move(title));
  alert->setMessage(std::move(message));
  alert->setDelegate(delegate);
  if (cancelButtonTitle) alert->addButtonWithTitle(std::move(*cancelButtonTitle));
  return alert;
}

long AlertView::addButtonWithTitle(std::string title) {
  buttons_.push_back(std::move(title));
  return static_cast<long>(buttons_.size()) - 1;
}

std::optional<std::string> AlertView::buttonTitleAtIndex(long index) const {
  if (index < 0 || index >= numberOfButtons()) return std::nullopt;
  return buttons_[static_cast<std::size_t>(index)];
}

void AlertView::show() {
  visible_ = true;
  alertPresenter().present(shared_from_this());
}

void AlertView::tapButtonAtIndex(long index) {
  if (!visible_ || index < 0 || index >= numberOfButtons()) return;
  visible_ = false;
  auto keepAlive = shared_from_this();  // the delegate may drop its last reference to us
  if (delegate_ != nullptr) delegate_->alertViewClickedButtonAtIndex(*this, index);
}

std::shared_ptr<AlertView> RecordingAlertPresenter::topmostOpen() const {
  for (auto it = shown_.rbegin(); it != shown_.rend(); ++it)
    if ((*it)->isVisible()) return *it;
  return nullptr;
}

bool RecordingAlertPresenter::tapButtonTitled(const std::string& title) {
  auto alert = topmostOpen();
  if (!alert) return false;
  for (long i = 0; i < alert->numberOfButtons(); ++i) {
    if (alert->buttonTitleAtIndex(i) == title) {
      alert->tapButtonAtIndex(i);
      return true;
    }
  }
  return false;
}

}  // namespace platform
