#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class AlertView;

// Learns which button of an alert was tapped.
class AlertViewDelegate {
 public:
  virtual void alertViewClickedButtonAtIndex(AlertView& alertView, long buttonIndex) = 0;

 protected:
  ~AlertViewDelegate() = default;
};

// A modal message with a title, a text and buttons. It is shown through the host's presenter;
// a tap on one of its buttons closes it and then tells the delegate, if it has one.
class AlertView : public std::enable_shared_from_this<AlertView> {
 public:
  static std::shared_ptr<AlertView> create() { return std::shared_ptr<AlertView>(new AlertView()); }
  // The one-button form: the cancel button is button 0.
  static std::shared_ptr<AlertView> initWithTitle(std::string title, std::string message,
                                                  AlertViewDelegate* delegate,
                                                  std::optional<std::string> cancelButtonTitle);

  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  const std::string& message() const { return message_; }
  void setMessage(std::string message) { message_ = std::move(message); }
  AlertViewDelegate* delegate() const { return delegate_; }
  void setDelegate(AlertViewDelegate* delegate) { delegate_ = delegate; }

  // Returns the new button's index; the first button added has index 0.
  long addButtonWithTitle(std::string title);
  long numberOfButtons() const { return static_cast<long>(buttons_.size()); }
  // The title of the button at the index, or nothing for an index with no button.
  std::optional<std::string> buttonTitleAtIndex(long index) const;
  const std::vector<std::string>& buttonTitles() const { return buttons_; }

  // Shows the alert through the current presenter.
  void show();
  bool isVisible() const { return visible_; }
  // What a host does when the user taps a button: closes the alert, then tells the delegate.
  // A tap on a closed alert or on an index with no button does nothing.
  void tapButtonAtIndex(long index);

 private:
  AlertView() = default;

  std::string title_;
  std::string message_;
  AlertViewDelegate* delegate_ = nullptr;
  std::vector<std::string> buttons_;
  bool visible_ = false;
};

// The host's way of putting alerts on screen.
class AlertPresenter {
 public:
  virtual ~AlertPresenter() = default;
  virtual void present(const std::shared_ptr<AlertView>& alert) = 0;
};

}  // namespace platform
