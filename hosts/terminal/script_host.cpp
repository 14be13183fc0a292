#include "hosts/terminal/script_host.h"

#include "app/quit_request.h"
#include "hosts/terminal/script_runner.h"

namespace terminal {
namespace {

std::unique_ptr<platform::RunLoop> makeLoop(ScriptHost::Clock clock) {
  if (clock == ScriptHost::Clock::realTime) return std::make_unique<RealTimeRunLoop>();
  return std::make_unique<platform::VirtualRunLoop>();
}

}  // namespace

ScriptHost::ScriptHost(std::vector<ScriptCommand> commands, Clock clock,
                       platform::RandomSource& random, std::ostream& transcript,
                       std::ostream& errors)
    : commands_(std::move(commands)),
      random_(random),
      errors_(errors),
      loop_(makeLoop(clock)),
      recorder_(transcript, *loop_) {}

platform::Services ScriptHost::services() {
  return {loop_.get(), &recorder_, &recorder_, &recorder_, &random_};
}

ScriptClock ScriptHost::scriptClock() {
  if (auto* real = dynamic_cast<RealTimeRunLoop*>(loop_.get())) {
    return {[real](platform::Duration d) { real->runFor(d, app::QuitRequest::fileDescriptor()); },
            [real](platform::Duration limit) {
              real->runUntilIdle(limit, app::QuitRequest::fileDescriptor());
            },
            [] { return app::QuitRequest::requested(); }};
  }
  auto* virtualLoop = static_cast<platform::VirtualRunLoop*>(loop_.get());
  return {[virtualLoop](platform::Duration d) { virtualLoop->advanceBy(d); },
          [virtualLoop](platform::Duration limit) { virtualLoop->runUntilIdle(limit); }};
}

int ScriptHost::runMainLoop(app::Window& window) {
  ViewController& screen = *window.rootViewController();
  recorder_.attach(screen);
  loop_->setAfterEventHook([this] { recorder_.eventHandled(); });
  int exitCode = 0;
  try {
    ScriptRunner(screen, recorder_, scriptClock()).run(commands_);
  } catch (const ScriptError& error) {
    errors_ << "vorlix-caller: " << error.what() << '\n';
    exitCode = 2;
  }
  loop_->setAfterEventHook(nullptr);  // the screen goes away after the loop
  return exitCode;
}

}  // namespace terminal
