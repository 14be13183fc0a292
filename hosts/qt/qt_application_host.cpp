#include "hosts/qt/qt_application_host.h"

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <future>
#include <iostream>
#include <memory>
#include <utility>

#include "app/quit_request.h"
#include "hosts/common/speech_notices.h"
#include "hosts/qt/claim_dialog.h"
#include "hosts/qt/room_displays.h"
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

// Runs an action once the window's first frame has been painted, or after two seconds if no frame
// comes (a window that opens minimised): what waits for the first frame, such as starting the
// speech. With VORLIX_EXIT_AFTER_FIRST_FRAME set, the action is to end the program at once,
// without tidying up: how the launch benchmark times it to its first frame.
class AfterFirstFrame : public QObject {
 public:
  explicit AfterFirstFrame(std::function<void()> action) : action_(std::move(action)) {
    if (qEnvironmentVariableIsSet("VORLIX_EXIT_AFTER_FIRST_FRAME")) action_ = [] { std::_Exit(0); };
    QTimer::singleShot(2000, this, [this] { run(); });
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && action_)
      QTimer::singleShot(0, this, [this] { run(); });  // once this paint is done
    return QObject::eventFilter(watched, event);
  }

 private:
  void run() {
    if (auto action = std::exchange(action_, nullptr)) action();
  }
  std::function<void()> action_;
};

}  // namespace

QtApplicationHost::QtApplicationHost(Facilities facilities)
    : facilities_(std::move(facilities)),
      presenter_([this] { return window_; }, [this] { screenChanged(); }) {}

void QtApplicationHost::screenChanged() {
  if (auto* widget = dynamic_cast<ScreenWidget*>(window_)) widget->screenChanged();
  if (facilities_.room != nullptr && screen_ != nullptr)
    facilities_.room->screenChanged(screen_->snapshot());
}

platform::Services QtApplicationHost::services() {
  platform::Services services;
  services.runLoop = &loop_;
  services.speechEngine = facilities_.speech ? facilities_.speech : &silence_;
  services.alertPresenter = &presenter_;
  services.console = facilities_.console ? facilities_.console : &noConsole_;
  services.random = facilities_.random ? facilities_.random : &secureDraw_;
  return services;
}

int QtApplicationHost::runMainLoop(app::Screen& screen) {
  screen.fitToContent();
  ScreenWidget widget(screen);
  window_ = &widget;
  // After every event: the picture, and anything the speech has to say about itself.
  auto showNotices = [&widget, &screen] {
    for (const auto& notice : hostkit::takeSpeechNotices(platform::speechEngine(), std::cerr))
      widget.showSpeechNotice(notice);
    for (const auto& notice : hostkit::takeScreenNotices(screen, std::cerr))
      widget.showSpeechNotice(notice);
  };
  screen_ = &screen;
  loop_.setAfterEventHook([this, showNotices] {
    screenChanged();
    showNotices();
  });
  widget.setAfterInputHook([this, showNotices] {
    screenChanged();
    showNotices();
  });
  std::unique_ptr<RoomDisplays> room;
  if (facilities_.room != nullptr) {
    room = std::make_unique<RoomDisplays>(
        widget, *facilities_.room,
        [&widget](const std::string& line) { widget.showSpeechNotice(line); });
    // A room that nobody sees yet hears the screen's first state with the first frame.
    if (facilities_.room->board().serving() || facilities_.audienceAtLaunch) screenChanged();
  }
  app::ClaimSession claims(
      std::move(facilities_.claimBooks), facilities_.keptTickets,
      [&screen](const std::string& line) { screen.speak(line); }, screen.claimRecorder());
  if (facilities_.room != nullptr) facilities_.room->followClaims(claims);
  QPointer<ClaimDialog> claimDialog;
  auto callsAnnounced = [&screen] {
    const auto now = screen.snapshot();
    return app::callsAnnounced(now.calledInOrder, now.numberBeingCalled);
  };
  widget.setClaimHook([&] {
    const auto now = screen.snapshot();
    if (!now.openAlerts.empty()) return;
    if (const auto* pause = now.control("Pause"); pause != nullptr && pause->live)
      screen.press("Pause");
    if (!claimDialog) {
      claimDialog = new ClaimDialog(
          claims, callsAnnounced, [&widget] { widget.screenChanged(); }, &widget);
      claimDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    claimDialog->open();
    claimDialog->activateWindow();
  });
  std::unique_ptr<QSocketNotifier> quitNotifier;
  if (const int fd = app::QuitRequest::fileDescriptor(); fd >= 0) {
    quitNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(quitNotifier.get(), &QSocketNotifier::activated, [] { QApplication::quit(); });
  }

  // What the launch asks (an unfinished game) and what it opens (the game record, the speech)
  // wait for the first frame, so the window is up as soon as it can be.
  AfterFirstFrame firstFrame(
      [this, &screen, showNotices, started = std::move(facilities_.afterFirstFrame)] {
        screen.shown();
        screenChanged();
        showNotices();
        if (started) started();
      });
  widget.installEventFilter(&firstFrame);
  widget.resize(initialWindowSize(widget));
  widget.show();
  // The display takes a moment to ask for the first paint, and that paint fills the window before
  // it needs the fonts: time for a helper to read fontconfig's configuration (a few dozen XML
  // files, some 5 ms). fontconfig reads it once, whichever thread asks first. Read sooner, while
  // Qt starts, it slowed that start as much as it saved. Where no thread can be had, the paint
  // reads it itself.
  const std::future<void> fontConfiguration =
      std::async(std::launch::async | std::launch::deferred, [] { FcInit(); });
  showNotices();
  if (room && facilities_.room->board().serving()) room->toggleAddress();
  if (room && facilities_.audienceAtLaunch) room->toggleAudience();
  const int exitCode = QApplication::exec();

  delete claimDialog;  // before the claims it shows go
  loop_.setAfterEventHook(nullptr);
  room.reset();
  window_ = nullptr;
  screen_ = nullptr;
  return exitCode;
}

}  // namespace qthost
