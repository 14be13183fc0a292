#pragma once

#include <memory>

#include "engine/view_controller.h"

namespace app {

// The application's one window; its content is the root view controller's view.
class Window {
 public:
  ViewController* rootViewController() const { return root_.get(); }
  void setRootViewController(std::unique_ptr<ViewController> controller) {
    root_ = std::move(controller);
  }
  // Puts the window on screen, which loads its content's view.
  void makeKeyAndVisible() {
    if (root_) root_->view();
  }

 private:
  std::unique_ptr<ViewController> root_;
};

}  // namespace app
