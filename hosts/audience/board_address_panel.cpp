#include "hosts/audience/board_address_panel.h"

#include <algorithm>

#include <QPainter>

#include "hosts/audience/audience_painter.h"

namespace vorlix::audience {

BoardAddressPanel::BoardAddressPanel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void BoardAddressPanel::setAddresses(const std::vector<std::string>& urls,
                                     const std::string& message) {
  urls_ = urls;
  message_ = message;
  code_.reset();
  if (!urls_.empty()) {
    try {
      code_ = platform::QrCode::encode(urls_.front());
    } catch (const std::runtime_error&) {  // too long for a code: the words still show
    }
  }
  update();
}

void BoardAddressPanel::fitToParent() {
  if (parentWidget() == nullptr) return;
  const QSize room = parentWidget()->size();
  const int width = std::min(room.width() * 9 / 10, room.height() * 7 / 10);
  const int lines = static_cast<int>(std::max<std::size_t>(urls_.size(), 1)) + 1;
  const int height = std::min(room.height() * 95 / 100, width + lines * width / 12);
  setGeometry((room.width() - width) / 2, (room.height() - height) / 2, width, height);
  raise();
}

void BoardAddressPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 2));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(rect().adjusted(1, 1, -1, -1), 12, 12);
  const int side = width();
  const int lineHeight = side / 12;
  int top = 0;
  if (code_) {
    paintQrCode(painter, *code_, QRectF(0, 0, side, side));
    top = side;
  }
  QFont font("DejaVu Sans");
  font.setBold(true);
  font.setPixelSize(std::max(8, lineHeight * 2 / 5));
  painter.setFont(font);
  painter.setPen(Qt::black);
  std::vector<std::string> lines = urls_;
  if (!message_.empty()) lines.insert(lines.begin(), message_);
  for (const std::string& line : lines) {
    painter.drawText(QRect(8, top, side - 16, lineHeight), Qt::AlignCenter | Qt::TextWordWrap,
                     QString::fromStdString(line));
    top += lineHeight;
  }
}

}  // namespace vorlix::audience
