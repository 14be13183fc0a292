#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QDialog>
#include <QPushButton>

#include "hosts/common/input_policy.h"
#include "platform/alert_view.h"

namespace qthost {

// One alert of the screen as a window-modal dialog. It never runs a nested event loop: timers keep
// firing while it is up. Its answer closes it and is tapped on the alert, so the alert's delegate
// learns it exactly as on a touch screen. Keys answer as in every front end (hostkit::answerFor):
// the first letter of a button's title, Enter the first button, Escape or closing the careful one.
class AlertDialog : public QDialog {
 public:
  AlertDialog(std::shared_ptr<platform::AlertView> alert, QWidget* parent,
              std::function<void()> afterAnswer);

  // Taps the button at `index` as the user would.
  void answer(long index);
  QPushButton* buttonTitled(const QString& title) const;
  const platform::AlertView& alert() const { return *alert_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

 private:
  // The button a key answers, by the policy every front end shares; -1 for none.
  long indexFor(hostkit::AnswerKey key) const;

  std::shared_ptr<platform::AlertView> alert_;
  std::function<void()> afterAnswer_;
  std::vector<QPushButton*> buttons_;
  bool answered_ = false;
};

// Puts the screen's alerts on screen as dialogs over the window.
class QtAlertPresenter : public platform::AlertPresenter {
 public:
  // `window` gives the window the dialogs belong to; `afterAnswer` runs once an answer has been
  // handled (the host repaints then).
  QtAlertPresenter(std::function<QWidget*()> window, std::function<void()> afterAnswer)
      : window_(std::move(window)), afterAnswer_(std::move(afterAnswer)) {}

  void present(const std::shared_ptr<platform::AlertView>& alert) override;

 private:
  std::function<QWidget*()> window_;
  std::function<void()> afterAnswer_;
};

}  // namespace qthost
