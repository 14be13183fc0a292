#include "platform/qr/qr_code.h"

#include <qrencode.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace platform {

QrCode QrCode::encode(std::string_view text) {
  const std::string data(text);
  const std::unique_ptr<QRcode, decltype(&QRcode_free)> encoded(
      QRcode_encodeData(static_cast<int>(data.size()),
                        reinterpret_cast<const unsigned char*>(data.data()), 0, QR_ECLEVEL_M),
      &QRcode_free);
  if (!encoded) throw std::runtime_error("cannot make a QR code of \"" + data + "\"");
  QrCode code;
  code.size_ = encoded->width;
  code.modules_.resize(static_cast<std::size_t>(code.size_ * code.size_));
  for (std::size_t i = 0; i < code.modules_.size(); ++i) {
    // Bit 0 of each byte is the module's colour; the other bits describe its role.
    code.modules_[i] = (encoded->data[i] & 1) != 0;
  }
  return code;
}

}  // namespace platform
