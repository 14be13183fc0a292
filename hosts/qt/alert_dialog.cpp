#include "hosts/qt/alert_dialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace qthost {

AlertDialog::AlertDialog(std::shared_ptr<platform::AlertView> alert, QWidget* parent,
                         std::function<void()> afterAnswer)
    : QDialog(parent), alert_(std::move(alert)), afterAnswer_(std::move(afterAnswer)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
  setWindowTitle(QString::fromStdString(alert_->title()));
  // Larger than a desktop's usual dialog: it is read from a step or two away from the screen.
  QFont larger = font();
  larger.setPointSizeF(larger.pointSizeF() * 1.4);
  setFont(larger);

  auto* title = new QLabel(QString::fromStdString(alert_->title()), this);
  QFont titleFont = title->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
  title->setFont(titleFont);
  auto* message = new QLabel(QString::fromStdString(alert_->message()), this);
  message->setMinimumWidth(QFontMetrics(larger).horizontalAdvance(message->text()) + 8);

  auto* buttonRow = new QHBoxLayout();
  buttonRow->addStretch();
  for (long i = 0; i < alert_->numberOfButtons(); ++i) {
    auto* button = new QPushButton(QString::fromStdString(*alert_->buttonTitleAtIndex(i)), this);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, this, [this, i] { answer(i); });
    buttonRow->addWidget(button);
    buttons_.push_back(button);
  }
  if (!buttons_.empty()) buttons_.front()->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(message);
  layout->addLayout(buttonRow);
}

void AlertDialog::answer(long index) {
  if (answered_ || index < 0 || index >= static_cast<long>(buttons_.size())) return;
  answered_ = true;
  auto alert = alert_;  // closing deletes this dialog, the alert must outlive the answer
  auto afterAnswer = afterAnswer_;
  close();
  alert->tapButtonAtIndex(index);
  if (afterAnswer) afterAnswer();
}

QPushButton* AlertDialog::buttonTitled(const QString& title) const {
  for (QPushButton* button : buttons_)
    if (button->text() == title) return button;
  return nullptr;
}

void AlertDialog::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    QDialog::keyPressEvent(event);
    return;
  }
  std::optional<hostkit::AnswerKey> key;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    key = hostkit::AnswerKey{hostkit::AnswerKey::Kind::enter};
  else if (event->key() == Qt::Key_Escape)
    key = hostkit::AnswerKey{hostkit::AnswerKey::Kind::escape};
  else if (event->text().size() == 1 && event->text().front().isLetter())
    key = hostkit::AnswerKey{hostkit::AnswerKey::Kind::letter,
                             static_cast<char>(event->text().front().toLatin1())};
  if (const long index = key ? indexFor(*key) : -1; index >= 0) {
    answer(index);
    return;
  }
  QDialog::keyPressEvent(event);
}

// Closing the window is the same as Escape: the careful answer.
void AlertDialog::reject() {
  if (!answered_) answer(indexFor({hostkit::AnswerKey::Kind::escape}));
  if (isVisible()) QDialog::reject();
}

long AlertDialog::indexFor(hostkit::AnswerKey key) const {
  const app::AlertLook look{alert_->title(), alert_->message(), alert_->buttonTitles()};
  const auto title = hostkit::answerFor(look, key);
  for (long i = 0; title && i < alert_->numberOfButtons(); ++i)
    if (alert_->buttonTitleAtIndex(i) == *title) return i;
  return -1;
}

void QtAlertPresenter::present(const std::shared_ptr<platform::AlertView>& alert) {
  auto* dialog = new AlertDialog(alert, window_ ? window_() : nullptr, afterAnswer_);
  dialog->open();
}

}  // namespace qthost
