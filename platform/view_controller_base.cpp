#include "platform/view_controller_base.h"

namespace platform {

ViewControllerBase::ViewControllerBase(std::optional<std::string> nibName, const Bundle* /*bundle*/)
    : nibName_(std::move(nibName)) {}

ViewControllerBase::ViewControllerBase(const Coder& coder) : nibName_(coder.decodeString("nibName")) {}

ViewControllerBase::~ViewControllerBase() = default;

View& ViewControllerBase::view() {
  if (!view_) {
    view_ = std::make_shared<View>(initialFrame_);
    viewDidLoad();
  }
  return *view_;
}

}  // namespace platform
