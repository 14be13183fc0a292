#include "hosts/qt/qt_application_host.h"

#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <iostream>
#include <memory>

#include "app/quit_request.h"
#include "hosts/common/speech_notices.h"
#include "hosts/qt/screen_widget.h"
#include "platform/services.h"

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
  services.speechEngine = facilities_.speech ? facilities_.speech : &silence_;
  services.alertPresenter = &presenter_;
  services.console = facilities_.console ? facilities_.console : &standardOutput_;
  services.random = facilities_.random ? facilities_.random : &secureDraw_;
  return services;
}

int QtApplicationHost::runMainLoop(app::Screen& screen) {
  screen.fitToContent();
  ScreenWidget widget(screen);
  window_ = &widget;
  // After every event: the picture, and anything the speech has to say about itself.
  auto showNotices = [&widget] {
    for (const auto& notice : hostkit::takeSpeechNotices(platform::speechEngine(), std::cerr))
      widget.showSpeechNotice(notice);
  };
  loop_.setAfterEventHook([&widget, showNotices] {
    widget.screenChanged();
    showNotices();
  });
  widget.setAfterInputHook(showNotices);
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
