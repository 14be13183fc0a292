#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QWidget>

#include "platform/qr/qr_code.h"

namespace vorlix::audience {

// A card over the caller's screen with the web board's address as a QR code and in words, each
// address of this machine on a line of its own (a phone scans the first). Clicks go through it to
// the screen beneath. With no address it shows only its message (why the board is not served).
class BoardAddressPanel : public QWidget {
 public:
  explicit BoardAddressPanel(QWidget* parent);

  void setAddresses(const std::vector<std::string>& urls, const std::string& message = "");
  // Centres the card over its parent, as large as suits the parent's size.
  void fitToParent();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<std::string> urls_;
  std::string message_;
  std::optional<platform::QrCode> code_;
};

}  // namespace vorlix::audience
