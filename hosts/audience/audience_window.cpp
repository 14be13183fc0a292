#include "hosts/audience/audience_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "hosts/audience/audience_painter.h"

namespace vorlix::audience {

QScreen* audienceScreen(const QList<QScreen*>& screens, const QScreen* callerScreen) {
  for (QScreen* screen : screens) {
    if (screen != callerScreen) return screen;
  }
  return nullptr;
}

AudienceWindow::AudienceWindow() : QWidget(nullptr, Qt::Window | Qt::WindowDoesNotAcceptFocus) {
  setWindowTitle(QString::fromStdString(state_.venue));
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  // The caller's own window decides when the program ends.
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void AudienceWindow::setState(const room::RoomState& state) {
  if (state == state_) return;
  state_ = state;
  update();
}

void AudienceWindow::setBoardAddress(const std::string& address) {
  if (address == boardAddress_) return;
  boardAddress_ = address;
  boardQrCode_.reset();
  // An address too long for a QR code is still shown in words.
  if (!address.empty()) {
    try {
      boardQrCode_ = platform::QrCode::encode(address);
    } catch (const std::runtime_error&) {
    }
  }
  update();
}

void AudienceWindow::showForAudience(const QScreen* callerScreen) {
  if (QScreen* screen = audienceScreen(QGuiApplication::screens(), callerScreen)) {
    setScreen(screen);
    setGeometry(screen->geometry());
    setCursor(Qt::BlankCursor);
    // What showFullScreen() does, less its request for the keyboard: the caller's window keeps it.
    setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) |
                   Qt::WindowFullScreen);
    show();
  } else {
    unsetCursor();
    showNormal();
  }
}

QImage AudienceWindow::picture(const QSize& size) const {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  paintAudience(painter, size, {state_, boardQrCode_ ? &*boardQrCode_ : nullptr, boardAddress_});
  return image;
}

void AudienceWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintAudience(painter, size(), {state_, boardQrCode_ ? &*boardQrCode_ : nullptr, boardAddress_});
}

void AudienceWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (closed_) closed_();
}

}  // namespace vorlix::audience
