#include "hosts/qt/screen_widget.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "hosts/common/input_policy.h"
#include "hosts/qt/key_bindings.h"
#include "hosts/qt/screen_painter.h"

namespace qthost {
namespace {

constexpr double kNoticeHeight = 0.05;  // of the widget's height, when there is a notice

bool inside(const platform::Rect& r, platform::Point p) {
  return p.x >= r.x && p.y >= r.y && p.x < r.x + r.width && p.y < r.y + r.height;
}

}  // namespace

ScreenWidget::ScreenWidget(app::Screen& screen, QWidget* parent)
    : QWidget(parent), screen_(screen), shown_(screen.snapshot()) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(160, 120);
  setWindowTitle(QString::fromStdString(shown_.title));
}

void ScreenWidget::screenChanged() {
  shown_ = screen_.snapshot();
  const QString title = QString::fromStdString(shown_.title);
  if (windowTitle() != title) setWindowTitle(title);
  update();
}

void ScreenWidget::showSpeechNotice(const std::string& notice) {
  notice_ = QString::fromStdString(notice);
  update();
}

ScreenGeometry ScreenWidget::geometry() const {
  const platform::Rect& bounds = shown_.bounds;
  QSizeF room(size());
  if (!notice_.isEmpty()) room.setHeight(room.height() * (1.0 - kNoticeHeight));
  return ScreenGeometry(QSizeF(bounds.width, bounds.height), room);
}

QPoint ScreenWidget::centreOf(const std::string& title) const {
  const app::ControlLook* control = shown_.control(title);
  if (control == nullptr) return {};
  const platform::Rect& f = control->frame;
  return geometry().toDevice(platform::Point{f.x + f.width / 2.0, f.y + f.height / 2.0}).toPoint();
}

void ScreenWidget::press(const std::string& title) {
  screen_.press(title);
  inputHandled();
}

QSize ScreenWidget::sizeHint() const {
  const platform::Rect& bounds = shown_.bounds;
  return QSize(static_cast<int>(bounds.width * 1.5), static_cast<int>(bounds.height * 1.5));
}

void ScreenWidget::paintEvent(QPaintEvent*) {
  shown_ = screen_.snapshot();  // whatever changed without telling, the picture is current
  QPainter painter(this);
  paintScreen(painter, {shown_, pressed_}, geometry());
  if (notice_.isEmpty()) return;
  const QRectF line(0.0, height() * (1.0 - kNoticeHeight), width(), height() * kNoticeHeight);
  painter.fillRect(line, QColor(120, 30, 30));
  painter.setPen(Qt::white);
  // A long notice wraps: the whole of it is shown, as large as the line allows.
  const QRectF text = line.adjusted(8.0, 2.0, -8.0, -2.0);
  painter.setFont(fittedTitleFont(notice_, text));
  painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap, notice_);
}

const app::ControlLook* ScreenWidget::controlAt(const app::ScreenSnapshot& now,
                                                QPointF position) const {
  const platform::Point point = geometry().toLogical(position);
  for (const auto& view : now.views)
    if (const auto* control = std::get_if<app::ControlLook>(&view);
        control && control->live && inside(control->frame, point))
      return control;
  return nullptr;
}

void ScreenWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const app::ControlLook* control = controlAt(shown_, event->position());
  pressed_ = control ? control->title : "";
  update();
}

// A tap is delivered where the finger lifts, as a touch that ends inside a button.
void ScreenWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_.clear();
  screen_.tapAt(geometry().toLogical(event->position()));
  inputHandled();
}

void ScreenWidget::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (quitOnKey(*event)) return;
  if (key == Qt::Key_F11) {
    setWindowState(windowState() ^ Qt::WindowFullScreen);
    return;
  }
  if (key == Qt::Key_F1 || key == Qt::Key_Question) {
    showKeyHelp();
    return;
  }
  if (key == Qt::Key_C && claim_ && !event->isAutoRepeat()) {
    claim_();
    inputHandled();
    return;
  }
  if (event->isAutoRepeat() ||
      !hostkit::pressForKey(screen_, screen_.snapshot(), controlKeyOf(key))) {
    QWidget::keyPressEvent(event);
    return;
  }
  inputHandled();
}

bool ScreenWidget::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  QString tip = QStringLiteral("F1: the keys of every control");
  if (const app::ControlLook* control = controlAt(shown_, help->pos())) {
    if (const auto key = ui::keyNameFor(control->title); !key.empty())
      tip = QString::fromStdString(control->title + "  (key: " + std::string(key) + ")");
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
