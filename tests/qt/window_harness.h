#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QTest>

#include "app/screen.h"
#include "hosts/qt/alert_dialog.h"
#include "hosts/qt/screen_painter.h"
#include "hosts/qt/screen_widget.h"
#include "support/screen_harness.h"

// The window on a virtual clock: a loaded screen shown by the real widget through the screen's
// snapshot, with its alerts as the real dialogs, its speech and console lines recorded and a
// seeded draw.
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
        outputs_({&loop, speechTo ? speechTo : &speech, &presenter_,
                  consoleTo ? consoleTo : &console, &random_, options.idiom}),
        scope_(outputs_.services()),
        controller_(std::make_unique<ViewController>()),
        screen(*controller_, outputs_) {
    controller_->setInitialViewFrame({0.0, 0.0, options.width, 568.0});
    controller_->view();
    screen.fitToContent();
    widget = std::make_unique<qthost::ScreenWidget>(screen);
    widget->resize(size);
    loop.setAfterEventHook([this] { widget->screenChanged(); });
  }
  ~WindowHarness() {
    loop.setAfterEventHook(nullptr);
    widget.reset();
  }

  app::ScreenSnapshot now() const { return screen.snapshot(); }
  std::vector<int> called() const { return now().calledInOrder; }
  const app::CellLook& cell(const app::ScreenSnapshot& at, int n) const {
    return *at.cells().at(static_cast<std::size_t>(n - 1));
  }
  platform::Rect cellFrame(int n) const { return cell(now(), n).drawing.frame; }
  platform::Rect controlFrame(const std::string& title) const {
    return now().control(title)->frame;
  }

  void click(const std::string& title) {
    QTest::mouseClick(widget.get(), Qt::LeftButton, {}, widget->centreOf(title));
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
  QColor shownColour(const QImage& image, const platform::Rect& frame) const {
    const QRectF area = widget->geometry().toDevice(frame);
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
  app::OutputWatch outputs_;
  platform::ServicesScope scope_;
  std::unique_ptr<ViewController> controller_;

 public:
  app::Screen screen;
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
