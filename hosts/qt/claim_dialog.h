#pragma once

#include <functional>
#include <vector>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/claim_session.h"

namespace qthost {

// The claimed ticket as the host sees it: its squares, the numbers called so far filled in green,
// the number just called ringed in red.
class TicketView : public QWidget {
 public:
  explicit TicketView(QWidget* parent = nullptr);
  void show(const std::optional<app::ClaimOnShow>& claim);
  QSize sizeHint() const override { return {9 * 48, 3 * 48}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<app::ClaimOnShow> claim_;
};

// Checking claims in the window: the host types a ticket's serial, sees the ticket marked and the
// verdict (which is spoken), and confirms a good claim. It never runs a nested event loop, so the
// game stays live behind it; closing it puts the claim away.
class ClaimDialog : public QDialog {
 public:
  // `calls` gives the numbers announced so far; `changed` runs after each claim or confirmation.
  ClaimDialog(app::ClaimSession& claims, std::function<std::vector<int>()> calls,
              std::function<void()> changed, QWidget* parent);

  // Checks the serial typed, as Enter does.
  void check();
  void confirm();

 protected:
  void done(int result) override;

 private:
  void showClaim();

  app::ClaimSession& claims_;
  std::function<std::vector<int>()> calls_;
  std::function<void()> changed_;
  QLineEdit* serial_;
  QLabel* verdict_;
  TicketView* ticket_;
  QPushButton* confirm_;
};

}  // namespace qthost
