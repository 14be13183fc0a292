#include "hosts/qt/window_host.h"

#include <cstdlib>
#include <iostream>
#include <memory>

#include <QApplication>
#include <QImage>

#include "hosts/qt/key_bindings.h"
#include "hosts/qt/qt_application_host.h"
#include "hosts/qt/screen_widget.h"

namespace qthost {
namespace {

bool environmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// The process's QApplication while the window or a picture needs it: the one there is (a test's),
// else one made here, which goes when this does. Without a display it uses Qt's offscreen
// platform, so pictures can be saved anywhere. It must go before main returns: one left to the
// exit handlers outlives parts of its platform (the VNC platform crashes on them).
class ApplicationScope {
 public:
  explicit ApplicationScope(std::string programName) : name_(std::move(programName)) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) return;
    if (!windowDisplayAvailable()) qputenv("QT_QPA_PLATFORM", "offscreen");
    argv_[0] = name_.data();
    own_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setApplicationName(QStringLiteral("Vorlix caller"));
    QApplication::setDesktopFileName(QStringLiteral("vorlix-caller"));
  }

 private:
  std::string name_;
  int argc_ = 1;
  char* argv_[2] = {nullptr, nullptr};
  std::unique_ptr<QApplication> own_;
};

}  // namespace

bool windowDisplayAvailable() {
  if (environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY")) return true;
  // A platform named outright (a framebuffer, VNC) is a display; the offscreen and minimal ones
  // draw nowhere anybody sees, so they never make the window the default.
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || *platform == '\0') return false;
  const std::string name(platform);
  return name.rfind("offscreen", 0) != 0 && name.rfind("minimal", 0) != 0;
}

std::string windowKeysHelp() {
  return keyHelpText();
}

int runWindowHost(const WindowHostOptions& options) {
  // Without a display the window would open nowhere and never close: refuse, as for bad input.
  if (!windowDisplayAvailable()) {
    std::cerr << options.programName
              << ": no display to show the window on (DISPLAY is not set); use --terminal, or "
                 "--script with --screenshot for a picture\n";
    return 2;
  }
  const ApplicationScope application(options.programName);
  QtApplicationHost host({options.speech, options.random, options.console, options.claimBooks,
                          options.keptTickets, options.room, options.audience,
                          options.afterFirstFrame});
  return app::applicationMain(host, options.screen);
}

bool saveWindowScreenshot(app::Screen& screen, const std::string& path, PictureSize size,
                          std::string& error) {
  const ApplicationScope application("vorlix-caller");
  screen.fitToContent();
  ScreenWidget widget(screen);
  const platform::Rect root = screen.snapshot().bounds;
  const int width = size.width > 0 ? size.width : static_cast<int>(root.width * 2.0);
  const int height = size.height > 0 ? size.height : static_cast<int>(root.height * 2.0);
  widget.resize(width, height);
  const QImage picture = widget.grab().toImage();
  if (!picture.save(QString::fromStdString(path), "PNG")) {
    error = "cannot write the picture to " + path;
    return false;
  }
  return true;
}

int ScreenshotAfterRunHost::runMainLoop(app::Screen& screen) {
  const int exitCode = inner_.runMainLoop(screen);
  std::string error;
  if (!saveWindowScreenshot(screen, path_, size_, error)) {
    std::cerr << "vorlix-caller: " << error << '\n';
    return exitCode == 0 ? 1 : exitCode;
  }
  return exitCode;
}

}  // namespace qthost
