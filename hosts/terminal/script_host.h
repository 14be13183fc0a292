#pragma once

#include <memory>
#include <ostream>
#include <vector>

#include "app/application_main.h"
#include "app/claim_session.h"
#include "hosts/common/real_time_run_loop.h"
#include "hosts/common/room_feed.h"
#include "hosts/common/transcript.h"
#include "hosts/terminal/script.h"
#include "hosts/terminal/script_runner.h"
#include "platform/random_source.h"

namespace terminal {

// Runs a script of taps against the screen and prints the event transcript. On the virtual clock a
// whole game takes a blink; on the real clock every wait really waits (Ctrl-C stops it).
class ScriptHost : public app::ApplicationHost {
 public:
  enum class Clock { virtualTime, realTime };

  ScriptHost(std::vector<ScriptCommand> commands, Clock clock, platform::RandomSource& random,
             std::ostream& transcript, std::ostream& errors);

  // Also hands every utterance to this engine.
  void setSpeechTee(platform::SpeechEngine* engine) { recorder_->setSpeechTee(engine); }
  // Tells the room's displays (the web board) of every event, at its moment of the run.
  void setRoomFeed(hostkit::RoomFeed* feed) { room_ = feed; }

  // The tickets claims are checked against: a book given to the caller, and a look-up of the
  // tickets kept in the game record.
  void setClaimTickets(tickets::TicketIndex books, app::ClaimSession::TicketLookup kept) {
    claimBooks_ = std::move(books);
    keptTickets_ = std::move(kept);
  }

  platform::Services services() override;
  // Returns 0, or 2 when a command cannot be carried out (the message names its line).
  int runMainLoop(app::Screen& screen) override;

 private:
  std::vector<ScriptCommand> commands_;
  platform::RandomSource& random_;
  std::ostream& errors_;
  std::unique_ptr<platform::RunLoop> loop_;
  ScriptClock clock_;
  std::unique_ptr<hostkit::TranscriptRecorder> recorder_;
  hostkit::RoomFeed* room_ = nullptr;
  tickets::TicketIndex claimBooks_;
  app::ClaimSession::TicketLookup keptTickets_;
};

}  // namespace terminal
