#include "hosts/qt/screen_widget.h"

#include <algorithm>

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "hosts/qt/key_bindings.h"
#include "hosts/qt/screen_painter.h"
#include "platform/touch.h"

namespace qthost {

void fitScreenToContent(ViewController& screen) {
  platform::View& root = screen.view();
  double bottom = 0.0;
  for (const auto& subview : root.subviews())
    bottom = std::max(bottom, subview->frame().y + subview->frame().height);
  platform::Rect frame = root.frame();
  frame.height = bottom + 4.0 * screen.gap;
  root.setFrame(frame);
}

ScreenWidget::ScreenWidget(ViewController& screen, QWidget* parent)
    : QWidget(parent), screen_(screen) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(160, 120);
  setWindowTitle(QString::fromStdString(screen_.title()));
}

void ScreenWidget::screenChanged() {
  const QString title = QString::fromStdString(screen_.title());
  if (windowTitle() != title) setWindowTitle(title);
  update();
}

ScreenGeometry ScreenWidget::geometry() const {
  const platform::Rect& root = screen_.view().frame();
  return ScreenGeometry(QSizeF(root.width, root.height), QSizeF(size()));
}

QPoint ScreenWidget::centreOf(const platform::View& view) const {
  return geometry().toDevice(platform::centerInRoot(view)).toPoint();
}

void ScreenWidget::tapButton(const std::string& title) {
  platform::tapButtonTitled(screen_.view(), title);
  inputHandled();
}

QSize ScreenWidget::sizeHint() const {
  const platform::Rect& root = screen_.view().frame();
  return QSize(static_cast<int>(root.width * 1.5), static_cast<int>(root.height * 1.5));
}

void ScreenWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paintScreen(painter, {screen_.view(), screen_.title(), pressed_}, geometry());
}

platform::Button* ScreenWidget::buttonAt(QPointF position) const {
  for (platform::View* v = screen_.view().hitTest(geometry().toLogical(position)); v != nullptr;
       v = v->superview())
    if (auto* button = dynamic_cast<platform::Button*>(v)) return button;
  return nullptr;
}

void ScreenWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = buttonAt(event->position());
  update();
}

// A tap is delivered where the finger lifts, as a touch that ends inside a button.
void ScreenWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = nullptr;
  platform::deliverTap(screen_.view(), geometry().toLogical(event->position()));
  inputHandled();
}

void ScreenWidget::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_F11) {
    setWindowState(windowState() ^ Qt::WindowFullScreen);
    return;
  }
  if (key == Qt::Key_F1 || key == Qt::Key_Question) {
    showKeyHelp();
    return;
  }
  const KeyBinding* binding = event->isAutoRepeat() ? nullptr : bindingForKey(key);
  if (binding == nullptr) {
    QWidget::keyPressEvent(event);
    return;
  }
  if (!binding->buttonTitle.empty())
    tapButton(binding->buttonTitle);
  else
    tapButton(screen_.btnPlay && screen_.btnPlay->isUserInteractionEnabled() ? "Play" : "Pause");
}

bool ScreenWidget::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  QString tip = QStringLiteral("F1: the keys of every control");
  if (platform::Button* button = buttonAt(help->pos()); button && button->titleText()) {
    if (const KeyBinding* binding = bindingForButton(*button->titleText()))
      tip = QString::fromStdString(*button->titleText() + "  (key: " + binding->keyName + ")");
  }
  QToolTip::showText(help->globalPos(), tip, this);
  return true;
}

void ScreenWidget::showKeyHelp() {
  QString table = QStringLiteral("<table cellspacing='4'>");
  for (const auto& [key, help] : keyHelpRows())
    table += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                 .arg(QString::fromStdString(key).toHtmlEscaped(),
                      QString::fromStdString(help).toHtmlEscaped());
  table += QStringLiteral("</table>");
  auto* box =
      new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Keys"), table, QMessageBox::Close, this);
  box->setTextFormat(Qt::RichText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void ScreenWidget::inputHandled() {
  screenChanged();
  if (afterInput_) afterInput_();
}

}  // namespace qthost
