#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/coder.h"
#include "platform/view.h"

namespace platform {

class Bundle;

// The base of a screen: it owns the screen's root view, made on first use with the frame the host
// gave, and calls `viewDidLoad` once the view exists.
class ViewControllerBase {
 public:
  // Creation in code, optionally naming a stored interface and the bundle that holds it.
  ViewControllerBase(std::optional<std::string> nibName, const Bundle* bundle);
  // Creation from a stored interface description.
  explicit ViewControllerBase(const Coder& coder);
  virtual ~ViewControllerBase();
  ViewControllerBase(const ViewControllerBase&) = delete;
  ViewControllerBase& operator=(const ViewControllerBase&) = delete;

  // The frame the root view gets when it is made; the host sets it before the view loads.
  void setInitialViewFrame(Rect frame) { initialFrame_ = frame; }

  // The root view, loading it (and running viewDidLoad) on first use.
  View& view();
  bool isViewLoaded() const { return view_ != nullptr; }

  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }

  const std::optional<std::string>& nibName() const { return nibName_; }

  virtual void viewDidLoad() {}
  virtual void didReceiveMemoryWarning() {}

 private:
  std::optional<std::string> nibName_;
  Rect initialFrame_{0.0, 0.0, 320.0, 568.0};
  std::shared_ptr<View> view_;
  std::string title_;
};

}  // namespace platform
