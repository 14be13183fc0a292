#include "platform/qr/qr_text.h"

namespace platform {
namespace {

constexpr int kQuietZone = 4;

const char* const kUpperHalf = "\u2580";
const char* const kLowerHalf = "\u2584";
const char* const kFullBlock = "\u2588";

}  // namespace

std::vector<std::string> qrCodeAsText(const QrCode& code, QrTextInk ink) {
  const int side = code.size() + 2 * kQuietZone;
  // Whether a module, counted with the quiet zone, is drawn in the characters' ink.
  const auto inked = [&](int row, int column) {
    const int r = row - kQuietZone;
    const int c = column - kQuietZone;
    const bool dark = r >= 0 && c >= 0 && r < code.size() && c < code.size() && code.dark(r, c);
    return ink == QrTextInk::terminalColours ? dark : !dark;
  };
  std::vector<std::string> lines;
  for (int row = 0; row < side; row += 2) {
    std::string line = ink == QrTextInk::terminalColours ? "\x1b[30;107m" : "";
    for (int column = 0; column < side; ++column) {
      const bool top = inked(row, column);
      // The last line of an odd height has a light row under it.
      const bool bottom = row + 1 < side ? inked(row + 1, column) : ink == QrTextInk::lightOnDark;
      line += top && bottom ? kFullBlock : top ? kUpperHalf : bottom ? kLowerHalf : " ";
    }
    if (ink == QrTextInk::terminalColours) line += "\x1b[0m";
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace platform
