// The window's claim dialog on Qt's offscreen platform: the serial typed, the ticket and verdict
// shown and spoken, a good claim confirmed; a picture of it is left for a person to look at.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "hosts/qt/claim_dialog.h"
#include "tests/support/claim_tickets.h"

namespace {

QString shownVerdict(const QDialog& dialog) {
  for (const auto* label : dialog.findChildren<QLabel*>())
    if (label->text().startsWith("Ticket")) return label->text();
  return {};
}

TEST(ClaimDialog, TypedSerialShowsTheTicketAndAGoodClaimIsConfirmed) {
  tickets::TicketIndex books;
  books.add(tickets::Book{{kTicket}});
  std::vector<std::string> said;
  app::ClaimSession claims(std::move(books), {},
                           [&said](const std::string& line) { said.push_back(line); });
  int changes = 0;
  qthost::ClaimDialog dialog(
      claims, [] { return std::vector<int>{7, 1, 21, 12, 41, 61, 81}; }, [&changes] { ++changes; },
      nullptr);
  dialog.show();
  auto* serial = dialog.findChild<QLineEdit*>();
  ASSERT_NE(serial, nullptr);
  QTest::keyClicks(serial, "12a34");  // the letter is refused
  QTest::keyClick(serial, Qt::Key_Return);
  EXPECT_EQ(shownVerdict(dialog), "Ticket 1234: good one line, row 1");
  EXPECT_EQ(said, std::vector<std::string>{"Claim on ticket 1234 is good: one line"});
  EXPECT_EQ(changes, 1);

  const auto shot = QString::fromStdString(testing::TempDir()) + "vorlix-claim-dialog.png";
  EXPECT_TRUE(dialog.grab().save(shot));

  QPushButton* confirm = nullptr;
  for (auto* button : dialog.findChildren<QPushButton*>())
    if (button->text() == "Confirm") confirm = button;
  ASSERT_NE(confirm, nullptr);
  ASSERT_TRUE(confirm->isEnabled());
  confirm->click();
  EXPECT_EQ(claims.openPrize(), tickets::Prize::twoLines);
  EXPECT_FALSE(confirm->isEnabled());
  dialog.reject();
  EXPECT_FALSE(claims.onShow()) << "closing puts the claim away";
}

}  // namespace
