#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QObject>
#include <QWidget>

#include "hosts/audience/audience_window.h"
#include "hosts/audience/board_address_panel.h"
#include "hosts/common/room_feed.h"

namespace qthost {

// The room's displays as the window drives them, on keys of their own beside the controls':
// D opens and closes the audience window, J shows and hides the web board's address with its QR
// code over the caller's screen, W starts and stops serving the web board. The keys are taken by
// an event filter on the caller's widget, so its own keys are untouched.
class RoomDisplays : public QObject {
 public:
  // `status` shows a line in the caller's window (the board's addresses, or why it cannot serve).
  RoomDisplays(QWidget& caller, hostkit::RoomFeed& feed,
               std::function<void(const std::string&)> status);
  ~RoomDisplays() override;

  void toggleAudience();
  void toggleAddress();
  void toggleServing();

  // Null until the audience window is first opened.
  vorlix::audience::AudienceWindow* audienceWindow() const { return audience_.get(); }
  bool addressShown() const { return address_ != nullptr && !address_->isHidden(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showAddress();
  void boardChanged();

  QWidget& caller_;
  hostkit::RoomFeed& feed_;
  std::function<void(const std::string&)> status_;
  std::unique_ptr<vorlix::audience::AudienceWindow> audience_;
  // Owned by the caller's widget; made when first shown, so the launch does not build it.
  vorlix::audience::BoardAddressPanel* address_ = nullptr;
};

}  // namespace qthost
