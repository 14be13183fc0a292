#pragma once

#include <functional>

#include <QWidget>

#include "engine/view_controller.h"
#include "hosts/qt/screen_geometry.h"

namespace qthost {

// Makes the root view just tall enough for what is laid out on it (with a small margin), so the
// window spends no room on empty space. Nothing is moved: the layout stays as it was made.
void fitScreenToContent(ViewController& screen);

// The window's content: paints the screen's view tree scaled to fit, turns clicks and touches
// into taps at logical points (hit-tested, so buttons that take no taps ignore them) and keys into
// taps on their buttons. The screen is laid out once; resizing only changes the scale.
class ScreenWidget : public QWidget {
 public:
  explicit ScreenWidget(ViewController& screen, QWidget* parent = nullptr);

  // Repaints and brings the window title up to date; call after every event the screen handled.
  void screenChanged();
  // Runs after every tap or key this widget delivered, once the screen has handled it.
  void setAfterInputHook(std::function<void()> hook) { afterInput_ = std::move(hook); }

  ScreenGeometry geometry() const;
  // Where the centre of a view of the screen is in this widget, in pixels.
  QPoint centreOf(const platform::View& view) const;
  // Taps the button with this title through hit-testing, as a key does.
  void tapButton(const std::string& title);
  void showKeyHelp();

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  platform::Button* buttonAt(QPointF position) const;
  void inputHandled();

  ViewController& screen_;
  const platform::View* pressed_ = nullptr;
  std::function<void()> afterInput_;
};

}  // namespace qthost
