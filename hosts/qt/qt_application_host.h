#pragma once

#include <functional>

#include "app/application_main.h"
#include "app/claim_session.h"
#include "hosts/common/room_feed.h"
#include "hosts/qt/alert_dialog.h"
#include "hosts/qt/qt_run_loop.h"
#include "platform/random_source.h"
#include "platform/stand_ins.h"

namespace qthost {

// Runs the application in a desktop window: Qt's event loop is the main run loop, alerts are
// dialogs over the window, and the window's content is the screen. A QApplication must exist
// before the host is made.
class QtApplicationHost : public app::ApplicationHost {
 public:
  struct Facilities {
    platform::SpeechEngine* speech = nullptr;     // silent when empty
    platform::RandomSource* random = nullptr;     // the secure generator when empty
    platform::Console* console = nullptr;         // console lines; none when empty
    tickets::TicketIndex claimBooks;              // claims are checked against these tickets
    app::ClaimSession::TicketLookup keptTickets;  // and those kept in the game record
    hostkit::RoomFeed* room = nullptr;            // the room's displays (keys D, J, W) when given
    bool audienceAtLaunch = false;                // opens the audience window with the caller's
    std::function<void()> afterFirstFrame;        // once the window's first frame is painted
  };

  explicit QtApplicationHost(Facilities facilities);

  platform::Services services() override;
  int runMainLoop(app::Screen& screen) override;

  QtRunLoop& runLoop() { return loop_; }

 private:
  // After every event: the window's picture and the room's displays.
  void screenChanged();

  Facilities facilities_;
  platform::SilentSpeechEngine silence_;
  platform::SecureRandomSource secureDraw_;
  platform::SilentConsole noConsole_;
  QtRunLoop loop_;
  QWidget* window_ = nullptr;  // the alerts' parent while the window is up
  const app::Screen* screen_ = nullptr;
  QtAlertPresenter presenter_;
};

}  // namespace qthost
