#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/application_main.h"
#include "app/claim_session.h"
#include "hosts/common/real_time_run_loop.h"
#include "hosts/common/room_feed.h"
#include "hosts/terminal/keys.h"
#include "hosts/terminal/screen_text.h"
#include "hosts/terminal/terminal_session.h"
#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/speech.h"
#include "platform/stand_ins.h"

namespace terminal {

// The caller in a terminal, in real time: the board in colour, the title with the number being
// called, the panel with every control on a key, the alerts as prompts, and the line spoken last.
class TerminalHost : public app::ApplicationHost, public platform::Console {
 public:
  explicit TerminalHost(platform::RandomSource& random) : random_(random) {}

  // Where the speech goes, and what to say about it; silent without an engine.
  // The tickets claims are checked against: a book given to the caller, and a look-up of the
  // tickets kept in the game record.
  void setClaimTickets(tickets::TicketIndex books, app::ClaimSession::TicketLookup kept) {
    claimBooks_ = std::move(books);
    keptTickets_ = std::move(kept);
  }

  void setSpeech(platform::SpeechEngine* engine, std::string note) {
    voice_ = engine;
    status_.speechNote = std::move(note);
  }

  // The room's displays: W starts and stops the web board, J shows its address and QR code in
  // place of the board (shown at once when the board is served from the start).
  void setRoomFeed(hostkit::RoomFeed* feed) {
    room_ = feed;
    showRoomCard_ = feed != nullptr && feed->board().serving();
  }

  platform::Services services() override;
  int runMainLoop(app::Screen& screen) override;

  // Console lines are for whoever asked for them (--verbose), never on the board.
  void setConsole(platform::Console* log) { log_ = log; }
  void writeLine(std::string_view line) override {
    if (log_ != nullptr) log_->writeLine(line);
  }

 private:
  void handleKeys(app::Screen& screen, std::string& pending, bool flush);
  void handleKey(app::Screen& screen, const Key& key);
  // C opens the serial prompt (pausing the calling), Enter checks it, Y confirms a good claim,
  // C or Escape puts it away. True when the key was the claim's.
  bool handleClaimKey(app::Screen& screen, const Key& key);
  void draw(const app::Screen& screen, const TerminalSession& session);
  bool handleRoomKey(const Key& key);

  platform::RandomSource& random_;
  hostkit::RealTimeRunLoop loop_;
  platform::SpeechEngine* voice_ = nullptr;
  platform::Console* log_ = nullptr;
  platform::SilentSpeechEngine silence_;
  CallerStatus status_;
  platform::RecordingAlertPresenter alerts_;  // the open ones are read from the screen
  std::vector<std::string> shownLines_;
  hostkit::RoomFeed* room_ = nullptr;
  bool showRoomCard_ = false;
  tickets::TicketIndex claimBooks_;
  app::ClaimSession::TicketLookup keptTickets_;
  app::ClaimSession* claims_ = nullptr;  // while the main loop runs
  std::optional<std::string> serialTyped_;
};

}  // namespace terminal
