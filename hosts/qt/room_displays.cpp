#include "hosts/qt/room_displays.h"

#include <QEvent>
#include <QKeyEvent>

#include "hosts/common/room_keys.h"

namespace qthost {
namespace {

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "   ") + line;
  return text;
}

}  // namespace

RoomDisplays::RoomDisplays(QWidget& caller, hostkit::RoomFeed& feed,
                           std::function<void(const std::string&)> status)
    : caller_(caller), feed_(feed), status_(std::move(status)) {
  caller_.installEventFilter(this);
}

RoomDisplays::~RoomDisplays() {
  caller_.removeEventFilter(this);
}

void RoomDisplays::toggleAudience() {
  if (!audience_) {
    audience_ = std::make_unique<vorlix::audience::AudienceWindow>();
    feed_.addDisplay([window = audience_.get()](const vorlix::room::RoomState& state) {
      window->setState(state);
    });
    boardChanged();
  } else if (audience_->isVisible()) {
    audience_->close();
    return;
  }
  audience_->showForAudience(caller_.screen());
}

void RoomDisplays::toggleAddress() {
  if (addressShown()) {
    address_->hide();
    return;
  }
  showAddress();
}

void RoomDisplays::toggleServing() {
  status_(joined(feed_.toggleServing()));
  boardChanged();
  if (feed_.board().serving()) {
    showAddress();
  } else if (address_ != nullptr) {
    address_->hide();
  }
}

void RoomDisplays::showAddress() {
  if (address_ == nullptr) address_ = new vorlix::audience::BoardAddressPanel(&caller_);
  if (feed_.board().serving()) {
    address_->setAddresses(feed_.board().urls());
  } else {
    address_->setAddresses({}, std::string(hostkit::kNotServingLine));
  }
  address_->fitToParent();
  address_->show();
}

// The audience window shows the board's address between games while it is served.
void RoomDisplays::boardChanged() {
  if (!audience_) return;
  const auto urls = feed_.board().urls();
  audience_->setBoardAddress(urls.empty() ? "" : urls.front());
}

bool RoomDisplays::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &caller_ && event->type() == QEvent::Resize && addressShown()) {
    address_->fitToParent();
  }
  if (watched != &caller_ || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers other = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (key->isAutoRepeat() || other != 0 || key->key() < Qt::Key_A || key->key() > Qt::Key_Z) {
    return false;
  }
  const char pressed = static_cast<char>('a' + (key->key() - Qt::Key_A));
  if (pressed == hostkit::kAudienceKey.character) {
    toggleAudience();
  } else if (pressed == hostkit::kAddressKey.character) {
    toggleAddress();
  } else if (pressed == hostkit::kServeKey.character) {
    toggleServing();
  } else {
    return false;
  }
  return true;
}

}  // namespace qthost
