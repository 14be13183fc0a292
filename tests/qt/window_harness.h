#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QTest>

#include "hosts/qt/alert_dialog.h"
#include "hosts/qt/screen_painter.h"
#include "hosts/qt/screen_widget.h"
#include "support/screen_harness.h"

// The window on a virtual clock: a loaded screen shown by the real widget, with its alerts as the
// real dialogs, its speech and console lines recorded and a seeded draw.
class WindowHarness {
 public:
  // Speech and console lines go to `speechTo` and `consoleTo` when given, else to the recorders
  // below.
  explicit WindowHarness(ScreenHarness::Options options = {}, QSize size = {640, 960},
                         platform::SpeechEngine* speechTo = nullptr,
                         platform::Console* consoleTo = nullptr)
      : seeded_(options.seed),
        random_(std::move(options.presetDraws), seeded_),
        presenter_([this] { return widget.get(); }, [this] { widget->screenChanged(); }),
        scope_({&loop, speechTo ? speechTo : &speech, &presenter_, consoleTo ? consoleTo : &console,
                &random_, options.idiom}),
        screen(std::make_unique<ViewController>()) {
    screen->setInitialViewFrame({0.0, 0.0, options.width, 568.0});
    screen->view();
    qthost::fitScreenToContent(*screen);
    widget = std::make_unique<qthost::ScreenWidget>(*screen);
    widget->resize(size);
    loop.setAfterEventHook([this] { widget->screenChanged(); });
  }
  ~WindowHarness() { loop.setAfterEventHook(nullptr); }

  platform::Button& button(const std::string& title) {
    return *platform::findButtonTitled(screen->view(), title);
  }
  platform::View& cell(int n) {
    return *screen->_gridViewsArray.at(static_cast<std::size_t>(n - 1));
  }

  void click(const std::string& title) {
    QTest::mouseClick(widget.get(), Qt::LeftButton, {}, widget->centreOf(button(title)));
  }
  void key(Qt::Key k) { QTest::keyClick(widget.get(), k); }
  void advance(double seconds) { loop.advanceBySeconds(seconds); }

  // The dialogs open over the window, oldest first.
  std::vector<qthost::AlertDialog*> openDialogs() const {
    std::vector<qthost::AlertDialog*> open;
    for (auto* dialog : widget->findChildren<qthost::AlertDialog*>())
      if (dialog->isVisible()) open.push_back(dialog);
    return open;
  }

  QImage picture() const { return widget->grab().toImage(); }

  // The colour that covers most of the middle of a view in the picture (its text aside).
  QColor shownColour(const QImage& image, const platform::View& view) const {
    const platform::Point origin = view.convertToRoot({0.0, 0.0});
    const QRectF area = widget->geometry().toDevice(
        platform::Rect{origin.x, origin.y, view.frame().width, view.frame().height});
    const QRect inner = area.adjusted(area.width() * 0.2, area.height() * 0.2, -area.width() * 0.2,
                                      -area.height() * 0.2)
                            .toRect();
    std::map<QRgb, int> counts;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
      for (int x = inner.left(); x <= inner.right(); ++x) ++counts[image.pixel(x, y)];
    auto most = std::max_element(counts.begin(), counts.end(),
                                 [](auto& a, auto& b) { return a.second < b.second; });
    return QColor::fromRgb(most->first);
  }

  platform::VirtualRunLoop loop;
  platform::TranscriptSpeechEngine speech;
  platform::RecordingConsole console;

 private:
  platform::SeededRandomSource seeded_;
  platform::PresetRandomSource random_;
  qthost::QtAlertPresenter presenter_;
  platform::ServicesScope scope_;

 public:
  std::unique_ptr<ViewController> screen;
  std::unique_ptr<qthost::ScreenWidget> widget;
};

// How a view's colour looks painted over the white screen.
inline QColor overWhite(const platform::Color& c) {
  auto channel = [&](double v) {
    return static_cast<int>(std::lround(255.0 * (v * c.alpha + 1.0 - c.alpha)));
  };
  return QColor(channel(c.red), channel(c.green), channel(c.blue));
}

inline bool closeColours(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 &&
         std::abs(a.blue() - b.blue()) <= 3;
}
