// The board's address as a QR code in block characters, as the terminal prints it: drawn back
// into a picture character by character, in the colours the terminal would show, it must read.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "hosts/audience/board_address_panel.h"
#include "platform/qr/qr_text.h"
#include "qr_decoder.h"

namespace {

using platform::QrTextInk;

// Each character is two modules, one above the other: whether each is in the characters' ink.
std::pair<bool, bool> halves(const std::string& line, std::size_t& at) {
  if (line[at] == ' ') {
    ++at;
    return {false, false};
  }
  const std::string glyph = line.substr(at, 3);
  at += 3;
  if (glyph == "\u2580") return {true, false};
  if (glyph == "\u2584") return {false, true};
  EXPECT_EQ(glyph, "\u2588");
  return {true, true};
}

QImage asPicture(const std::vector<std::string>& lines, QColor ink, QColor ground) {
  constexpr int kPixels = 6;  // a module's side on the picture
  const std::string reset = "\x1b[0m";
  QImage image(400 * kPixels, static_cast<int>(lines.size()) * 2 * kPixels, QImage::Format_RGB32);
  image.fill(ground);
  QPainter painter(&image);
  int width = 0;
  for (std::size_t row = 0; row < lines.size(); ++row) {
    std::string line = lines[row];
    if (ground == Qt::white) {  // the coloured form: set, then reset, the colours on every line
      EXPECT_EQ(line.rfind("\x1b[30;107m", 0), 0u);
      EXPECT_EQ(line.substr(line.size() - reset.size()), reset);
      line = line.substr(9, line.size() - 9 - reset.size());
    }
    int column = 0;
    for (std::size_t at = 0; at < line.size(); ++column) {
      const auto [top, bottom] = halves(line, at);
      const int y = static_cast<int>(row) * 2 * kPixels;
      if (top) painter.fillRect(column * kPixels, y, kPixels, kPixels, ink);
      if (bottom) painter.fillRect(column * kPixels, y + kPixels, kPixels, kPixels, ink);
    }
    if (row > 0) {
      EXPECT_EQ(column, width) << "every line as wide";
    }
    width = column;
  }
  painter.end();
  return image.copy(0, 0, width * kPixels, image.height());
}

TEST(QrText, ReadsBackOnADarkTerminalAndInColour) {
  for (const std::string address :
       {"http://192.168.1.20:8090/", "http://[fd00:1234:5678::abcd]:65535/", "http://10.0.0.2/"}) {
    SCOPED_TRACE(address);
    const platform::QrCode code = platform::QrCode::encode(address);
    const auto coloured = platform::qrCodeAsText(code, QrTextInk::terminalColours);
    const auto plain = platform::qrCodeAsText(code, QrTextInk::lightOnDark);
    // Two rows of modules a line, the quiet zone of four all round.
    EXPECT_EQ(coloured.size(), static_cast<std::size_t>((code.size() + 8 + 1) / 2));
    EXPECT_EQ(decodeQrCodes(asPicture(coloured, Qt::black, Qt::white)), address);
    EXPECT_EQ(decodeQrCodes(asPicture(plain, Qt::white, Qt::black)), address);
  }
}

// The card over the caller's window: its QR code reads as the first address, and it fits the
// window whatever the window's shape.
TEST(BoardAddressPanel, QrCodeOfTheFirstAddressOverTheWindow) {
  for (const QSize size : {QSize(640, 960), QSize(1280, 600), QSize(320, 400)}) {
    QWidget window;
    window.resize(size);
    vorlix::audience::BoardAddressPanel panel(&window);
    panel.setAddresses({"http://192.168.1.20:8090/", "http://10.0.0.7:8090/"});
    panel.fitToParent();
    EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(panel.geometry())) << size.width();
    const QImage picture = window.grab().toImage();
    EXPECT_EQ(decodeQrCodes(picture), "http://192.168.1.20:8090/") << size.width();
    picture.save(QString(AUDIENCE_SCREENSHOTS "/address-card-%1x%2.png")
                     .arg(size.width())
                     .arg(size.height()));
  }
}

}  // namespace
