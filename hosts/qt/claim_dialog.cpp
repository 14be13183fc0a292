#include "hosts/qt/claim_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QPainter>
#include <QVBoxLayout>

namespace qthost {
namespace {

// The board's own colours: green for a number called, red for the ring round the one just called.
const QColor kCalled(0x33, 0xcc, 0x66);
const QColor kRing(0xdd, 0x22, 0x22);

}  // namespace

TicketView::TicketView(QWidget* parent) : QWidget(parent) {
  setMinimumSize(9 * 28, 3 * 28);
}

void TicketView::show(const std::optional<app::ClaimOnShow>& claim) {
  claim_ = claim;
  update();
}

void TicketView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), Qt::white);
  if (!claim_ || !claim_->ticket) return;
  const double side = std::min(width() / 9.0, height() / 3.0);
  QFont font = painter.font();
  font.setPixelSize(static_cast<int>(side * 0.45));
  font.setBold(true);
  painter.setFont(font);
  for (int row = 0; row < tickets::kRows; ++row) {
    for (int column = 0; column < tickets::kColumns; ++column) {
      const QRectF square(column * side, row * side, side, side);
      const int number = claim_->ticket->grid[row][column];
      const bool called = claim_->marked[row][column];
      painter.setPen(QPen(Qt::black, 1));
      painter.setBrush(number == 0 ? QColor(0xdd, 0xdd, 0xdd) : called ? kCalled : Qt::white);
      painter.drawRect(square);
      if (number == 0) continue;
      painter.drawText(square, Qt::AlignCenter, QString::number(number));
      if (called && number == claim_->numberJustCalled) {
        painter.setPen(QPen(kRing, side * 0.08));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(square.adjusted(side * 0.1, side * 0.1, -side * 0.1, -side * 0.1));
      }
    }
  }
}

ClaimDialog::ClaimDialog(app::ClaimSession& claims, std::function<std::vector<int>()> calls,
                         std::function<void()> changed, QWidget* parent)
    : QDialog(parent),
      claims_(claims),
      calls_(std::move(calls)),
      changed_(std::move(changed)),
      serial_(new QLineEdit(this)),
      verdict_(new QLabel(this)),
      ticket_(new TicketView(this)),
      confirm_(new QPushButton(QStringLiteral("Confirm"), this)) {
  setWindowTitle(QStringLiteral("Claim"));
  serial_->setValidator(new QIntValidator(1, 999'999'999, serial_));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Ticket serial:"), serial_);
  auto* buttons = new QDialogButtonBox(this);
  auto* checkButton = buttons->addButton(QStringLiteral("Check"), QDialogButtonBox::ActionRole);
  buttons->addButton(confirm_, QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Close);
  confirm_->setEnabled(false);
  confirm_->setAutoDefault(false);
  checkButton->setDefault(true);
  connect(checkButton, &QPushButton::clicked, this, [this] { check(); });
  connect(confirm_, &QPushButton::clicked, this, [this] { confirm(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  verdict_->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(ticket_, 1);
  layout->addWidget(verdict_);
  layout->addWidget(buttons);
  resize(480, 300);
}

void ClaimDialog::check() {
  bool number = false;
  const auto serial = serial_->text().toUInt(&number);
  if (!number || serial == 0) {
    verdict_->setText(QStringLiteral("Type the serial printed on the ticket (1 to 999999999)."));
    return;
  }
  claims_.claim(serial, calls_());
  showClaim();
  claims_.speakVerdict();
  if (changed_) changed_();
  serial_->selectAll();
}

void ClaimDialog::confirm() {
  const auto confirmation = claims_.confirm(calls_());
  showClaim();
  if (confirmation.next)
    verdict_->setText(verdict_->text() +
                      QStringLiteral("\nConfirmed: now playing for %1.")
                          .arg(QString::fromStdString(tickets::prizeName(*confirmation.next))));
  if (changed_) changed_();
}

void ClaimDialog::showClaim() {
  const auto& shown = claims_.onShow();
  ticket_->show(shown);
  if (!shown) {
    verdict_->clear();
    confirm_->setEnabled(false);
    return;
  }
  verdict_->setText(QString::fromStdString("Ticket " + std::to_string(shown->result.serial) + ": " +
                                           shown->verdictText()));
  confirm_->setEnabled(shown->result.verdict == tickets::Verdict::good && !shown->confirmed);
}

void ClaimDialog::done(int result) {
  claims_.dismiss();
  if (changed_) changed_();
  QDialog::done(result);
}

}  // namespace qthost
