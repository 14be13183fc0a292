#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "app/screen.h"
#include "hosts/qt/screen_geometry.h"

namespace qthost {

// The window's content: paints the screen's snapshot scaled to fit, turns clicks and touches into
// taps at logical points (hit-tested, so buttons that take no taps ignore them) and keys into
// presses of their controls. The screen is laid out once; resizing only changes the scale. A
// line under the screen shows what the speech has to say about itself (a failed output), once.
class ScreenWidget : public QWidget {
 public:
  explicit ScreenWidget(app::Screen& screen, QWidget* parent = nullptr);

  // Repaints and brings the window title up to date; call after every event the screen handled.
  void screenChanged();
  // Runs after every tap or key this widget delivered, once the screen has handled it.
  void setAfterInputHook(std::function<void()> hook) { afterInput_ = std::move(hook); }
  // What the C key does (the host checks a claim).
  void setClaimHook(std::function<void()> hook) { claim_ = std::move(hook); }
  // A notice about the speech, shown in the status line until the next one.
  void showSpeechNotice(const std::string& notice);
  const QString& speechNotice() const { return notice_; }

  ScreenGeometry geometry() const;
  // Where the centre of the control with this title is in this widget, in pixels.
  QPoint centreOf(const std::string& title) const;
  // Presses the control with this title, as its key does.
  void press(const std::string& title);
  void showKeyHelp();

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  const app::ControlLook* controlAt(const app::ScreenSnapshot& now, QPointF position) const;
  void inputHandled();

  app::Screen& screen_;
  app::ScreenSnapshot shown_;  // what the screen looked like when last told it changed
  std::string pressed_;        // the title of the control held down, if any
  QString notice_;
  std::function<void()> afterInput_;
  std::function<void()> claim_;
};

}  // namespace qthost
