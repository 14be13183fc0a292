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

// One QApplication for the process, made on first need. Without a display it uses Qt's offscreen
// platform, so pictures can be saved anywhere.
QApplication& application(const std::string& programName) {
  static int argc = 1;
  static std::string name;
  static char* argv[] = {nullptr, nullptr};
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  if (!windowDisplayAvailable()) qputenv("QT_QPA_PLATFORM", "offscreen");
  name = programName;
  argv[0] = name.data();
  static QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vorlix caller"));
  QApplication::setDesktopFileName(QStringLiteral("vorlix-caller"));
  return app;
}

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
  application(options.programName);
  QtApplicationHost host({options.speech, options.random, options.console, options.claimBooks,
                          options.keptTickets, options.room, options.audience});
  return app::applicationMain(host, options.screen);
}

bool saveWindowScreenshot(app::Screen& screen, const std::string& path, PictureSize size,
                          std::string& error) {
  application("vorlix-caller");
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
