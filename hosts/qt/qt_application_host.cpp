#include "hosts/qt/qt_application_host.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <iostream>
#include <memory>

#include "app/quit_request.h"
#include "hosts/qt/screen_widget.h"

namespace qthost {
namespace {

// The window's first size: most of the screen's height, keeping the screen's aspect ratio.
QSize initialWindowSize(const ScreenWidget& widget) {
  const QSize wanted = widget.sizeHint();
  const QScreen* display = QGuiApplication::primaryScreen();
  if (display == nullptr) return wanted;
  const QSize room = display->availableGeometry().size() * 0.85;
  return wanted.scaled(room, Qt::KeepAspectRatio);
}

}  // namespace

QtApplicationHost::QtApplicationHost(Facilities facilities)
    : facilities_(facilities),
      presenter_([this] { return window_; },
                 [this] {
                   if (auto* widget = dynamic_cast<ScreenWidget*>(window_)) widget->screenChanged();
                 }) {}

platform::Services QtApplicationHost::services() {
  platform::Services services;
  services.runLoop = &loop_;
  services.speechEngine = facilities_.speech;
  services.alertPresenter = &presenter_;
  services.console = facilities_.console;
  services.random = facilities_.random;
  return services;
}

int QtApplicationHost::runMainLoop(app::Window& window) {
  ViewController* screen = window.rootViewController();
  if (screen == nullptr) {
    std::cerr << "vorlix-caller: the window has no screen to show\n";
    return 1;
  }
  fitScreenToContent(*screen);
  ScreenWidget widget(*screen);
  window_ = &widget;
  loop_.setAfterEventHook([&widget] { widget.screenChanged(); });
  std::unique_ptr<QSocketNotifier> quitNotifier;
  if (const int fd = app::QuitRequest::fileDescriptor(); fd >= 0) {
    quitNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(quitNotifier.get(), &QSocketNotifier::activated, [] { QApplication::quit(); });
  }

  widget.resize(initialWindowSize(widget));
  widget.show();
  const int exitCode = QApplication::exec();

  loop_.setAfterEventHook(nullptr);
  window_ = nullptr;
  return exitCode;
}

}  // namespace qthost
