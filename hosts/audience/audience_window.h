#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QList>
#include <QScreen>
#include <QWidget>

#include "platform/qr/qr_code.h"
#include "room/room_state.h"

namespace vorlix::audience {

// The screen for the room: one other than the caller's when there is one, else none.
QScreen* audienceScreen(const QList<QScreen*>& screens, const QScreen* callerScreen);

// A second window that only shows the game to the room: the number being called, the strip of
// previous numbers, the board, the progress, the venue and the phase. It takes no keys, no clicks
// and no focus, shows no dialog, and closing it only hides it: the game goes on.
class AudienceWindow : public QWidget {
 public:
  AudienceWindow();

  void setState(const room::RoomState& state);
  const room::RoomState& state() const { return state_; }
  // The web board's address, shown as a QR code between games; empty when it is not served.
  void setBoardAddress(const std::string& address);

  // Full screen on a screen other than the caller's when there is one, else a normal window.
  void showForAudience(const QScreen* callerScreen);
  // Runs when the window is closed (by the window manager or the host).
  void setClosedHook(std::function<void()> hook) { closed_ = std::move(hook); }

  // What the window shows, painted at `size` pixels.
  QImage picture(const QSize& size) const;

  QSize sizeHint() const override { return {1280, 720}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  room::RoomState state_;
  std::string boardAddress_;
  std::optional<platform::QrCode> boardQrCode_;
  std::function<void()> closed_;
};

}  // namespace vorlix::audience
