#pragma once

#include <string>
#include <vector>

#include "platform/qr/qr_code.h"

namespace platform {

// How a QR code is written as text. A camera needs dark modules on a light ground.
enum class QrTextInk {
  // Black on bright white by ANSI colour codes: right on any colour terminal.
  terminalColours,
  // No codes; the characters' ink is the light modules, for light text on a dark terminal.
  lightOnDark,
};

// The code with its quiet zone of four modules, two rows of modules to a line of half-block
// characters (U+2580, U+2584, U+2588 and spaces), so the modules come out nearly square.
std::vector<std::string> qrCodeAsText(const QrCode& code, QrTextInk ink);

}  // namespace platform
