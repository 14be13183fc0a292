#include "hosts/terminal/script_host.h"

#include "app/quit_request.h"
#include "hosts/common/speech_notices.h"
#include "hosts/terminal/script_runner.h"

namespace terminal {
namespace {

// A loop and the way a script moves its clock, made together so that they always match.
struct ScriptLoop {
  std::unique_ptr<platform::RunLoop> loop;
  ScriptClock clock;
};

// The virtual clock jumps from deadline to deadline: a whole game in a blink. A long script still
// stops between commands when a quit is asked for.
ScriptLoop virtualLoop() {
  auto loop = std::make_unique<platform::VirtualRunLoop>();
  auto* clock = loop.get();
  return {std::move(loop),
          {[clock](platform::Duration d) { clock->advanceBy(d); },
           [clock](platform::Duration limit) { clock->runUntilIdle(limit); },
           [] { return app::QuitRequest::requested(); }}};
}

// The real clock waits, and stops waiting when a quit is asked for (Ctrl-C).
ScriptLoop realTimeLoop() {
  auto loop = std::make_unique<hostkit::RealTimeRunLoop>();
  auto* clock = loop.get();
  return {std::move(loop),
          {[clock](platform::Duration d) { clock->runFor(d, app::QuitRequest::fileDescriptor()); },
           [clock](platform::Duration limit) {
             clock->runUntilIdle(limit, app::QuitRequest::fileDescriptor());
           },
           [] { return app::QuitRequest::requested(); }}};
}

}  // namespace

ScriptHost::ScriptHost(std::vector<ScriptCommand> commands, Clock clock,
                       platform::RandomSource& random, std::ostream& transcript,
                       std::ostream& errors)
    : commands_(std::move(commands)), random_(random), errors_(errors) {
  ScriptLoop made = clock == Clock::realTime ? realTimeLoop() : virtualLoop();
  loop_ = std::move(made.loop);
  clock_ = std::move(made.clock);
  recorder_ = std::make_unique<hostkit::TranscriptRecorder>(transcript, *loop_);
}

platform::Services ScriptHost::services() {
  return {loop_.get(), recorder_.get(), recorder_.get(), recorder_.get(), &random_};
}

int ScriptHost::runMainLoop(app::Screen& screen) {
  recorder_->attach(screen);
  if (room_ != nullptr) {
    room_->screenChanged(screen.snapshot());
    recorder_->setAfterLookHook(
        [this](const app::ScreenSnapshot& look) { room_->screenChanged(look); });
  }
  // What the application has to tell (the game record cannot be kept) goes to standard error.
  const auto tellNotices = [this, &screen] { hostkit::takeScreenNotices(screen, errors_); };
  loop_->setAfterEventHook([this, tellNotices] {
    recorder_->eventHandled();
    tellNotices();
  });
  tellNotices();
  screen.shown();
  int exitCode = 0;
  try {
    app::ClaimSession claims(
        std::move(claimBooks_), keptTickets_,
        [&screen](const std::string& line) { screen.speak(line); }, screen.claimRecorder());
    if (room_ != nullptr) room_->followClaims(claims);
    ScriptRunner(screen, *recorder_, clock_, claims).run(commands_);
  } catch (const ScriptError& error) {
    errors_ << "vorlix-caller: " << error.what() << '\n';
    exitCode = 2;
  }
  tellNotices();
  loop_->setAfterEventHook(nullptr);  // the screen goes away after the loop
  recorder_->setAfterLookHook(nullptr);
  return exitCode;
}

}  // namespace terminal
