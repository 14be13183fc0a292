#pragma once

#include <string_view>
#include <vector>

namespace platform {

// A QR code as a square of modules, dark or light, without the quiet zone (leave 4 light modules
// round it when drawing).
class QrCode {
 public:
  // Encodes the text (8-bit mode, error correction level M); throws std::runtime_error when the
  // text does not fit in a QR code.
  static QrCode encode(std::string_view text);

  int size() const { return size_; }
  bool dark(int row, int column) const {
    return modules_[static_cast<std::size_t>(row * size_ + column)];
  }

 private:
  int size_ = 0;
  std::vector<bool> modules_;
};

}  // namespace platform
