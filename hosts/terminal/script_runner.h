#pragma once

#include <functional>
#include <vector>

#include "app/claim_session.h"
#include "hosts/common/transcript.h"
#include "hosts/terminal/script.h"

namespace terminal {

// How a script moves its clock: a virtual one jumps, a real one waits.
struct ScriptClock {
  std::function<void(platform::Duration)> runFor;
  std::function<void(platform::Duration)> runUntilIdle;
  std::function<bool()> stopRequested = [] { return false; };
};

// Plays a script's commands against the loaded screen, writing the script's own actions to the
// transcript. Taps go through hit-testing, as a finger's would.
class ScriptRunner {
 public:
  ScriptRunner(app::Screen& screen, hostkit::TranscriptRecorder& recorder, ScriptClock clock,
               app::ClaimSession& claims)
      : screen_(screen), recorder_(recorder), clock_(std::move(clock)), claims_(claims) {}

  // Throws ScriptError for a command that cannot be carried out (an answer with no alert open).
  void run(const std::vector<ScriptCommand>& commands);

 private:
  void tap(const ScriptCommand& command);
  void answer(const ScriptCommand& command);
  void board();
  void claim(const ScriptCommand& command);
  void confirm(const ScriptCommand& command);
  std::vector<int> callsAnnounced() const;

  app::Screen& screen_;
  hostkit::TranscriptRecorder& recorder_;
  ScriptClock clock_;
  app::ClaimSession& claims_;
};

}  // namespace terminal
