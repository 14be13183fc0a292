#include "hosts/program/front_ends.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/interface_error.h"
#include "hosts/program/speech_choice.h"
#include "hosts/terminal/script_host.h"
#include "hosts/terminal/terminal_host.h"
#include "hosts/terminal/terminal_session.h"
#include "platform/random_source.h"

#ifdef VORLIX_HAVE_WINDOW_HOST
#include "hosts/qt/window_host.h"
#endif

namespace program {
namespace {

// The draw: seeded or from the secure generator, with the numbers of --draw-order first.
class DrawSource {
 public:
  explicit DrawSource(const ProgramOptions& options) {
    if (options.seed)
      base_ = std::make_unique<platform::SeededRandomSource>(*options.seed);
    else
      base_ = std::make_unique<platform::SecureRandomSource>();
    preset_ = std::make_unique<platform::PresetRandomSource>(options.drawOrder, *base_);
  }
  platform::RandomSource& source() { return *preset_; }

 private:
  std::unique_ptr<platform::RandomSource> base_;
  std::unique_ptr<platform::PresetRandomSource> preset_;
};

std::vector<terminal::ScriptCommand> readScript(const std::string& path) {
  if (path == "-") return terminal::parseScript(std::cin);
  std::ifstream file(path);
  if (!file) throw UsageError("cannot read the script " + path + ": " + std::strerror(errno));
  return terminal::parseScript(file);
}

bool hasDisplay() {
#ifdef VORLIX_HAVE_WINDOW_HOST
  return qthost::windowDisplayAvailable();
#else
  return false;
#endif
}

int runScript(const ProgramOptions& options, platform::RandomSource& random, std::ostream& out,
              std::ostream& errors) {
  auto commands = readScript(options.scriptPath);
  const auto clock = options.clock == ClockKind::realTime
                         ? terminal::ScriptHost::Clock::realTime
                         : terminal::ScriptHost::Clock::virtualTime;
  const ChosenSpeech speech =
      chooseSpeech(options, clock == terminal::ScriptHost::Clock::realTime, errors);
  terminal::ScriptHost host(std::move(commands), clock, random, out, errors);
  host.setSpeechTee(speech.engine.get());
  if (!options.screenshotPath) return app::applicationMain(host, options.screen);
#ifdef VORLIX_HAVE_WINDOW_HOST
  qthost::ScreenshotAfterRunHost picturing(host, *options.screenshotPath);
  return app::applicationMain(picturing, options.screen);
#else
  throw UsageError("this build has no desktop window to take a --screenshot of");
#endif
}

int runTerminal(const ProgramOptions& options, platform::RandomSource& random,
                std::ostream& errors) {
  if (!terminal::TerminalSession::available())
    throw UsageError(
        "the terminal caller needs a terminal on standard input and output; "
        "use --script for a run without one");
  const ChosenSpeech speech = chooseSpeech(options, true, errors);
  terminal::TerminalHost host(random);
  host.setSpeech(speech.engine.get(), speech.note);
  return app::applicationMain(host, options.screen);
}

// The one place that knows whether this build has the desktop window.
int runWindow(const ProgramOptions& options, platform::RandomSource& random, std::ostream& errors) {
#ifdef VORLIX_HAVE_WINDOW_HOST
  if (!qthost::windowDisplayAvailable())
    throw UsageError(
        "there is no display to show the window on (DISPLAY and WAYLAND_DISPLAY are not set); "
        "use --terminal");
  const ChosenSpeech speech = chooseSpeech(options, true, errors);
  qthost::WindowHostOptions window;
  window.screen = options.screen;
  window.random = &random;
  window.speech = speech.engine.get();
  return qthost::runWindowHost(window);
#else
  (void)options;
  (void)random;
  (void)errors;
  throw UsageError("this build has no desktop window (it was built without Qt); use --terminal");
#endif
}

}  // namespace

int runFrontEnd(const ProgramOptions& options, std::ostream& out, std::ostream& errors) {
  if (options.listVoices) {
    out << voiceList();
    return 0;
  }
  DrawSource draw(options);
  try {
    switch (options.frontEnd) {
      case FrontEnd::script:
        return runScript(options, draw.source(), out, errors);
      case FrontEnd::window:
        return runWindow(options, draw.source(), errors);
      case FrontEnd::terminal:
        return runTerminal(options, draw.source(), errors);
      case FrontEnd::automatic:
        break;
    }
    if (hasDisplay()) return runWindow(options, draw.source(), errors);
    return runTerminal(options, draw.source(), errors);
  } catch (const terminal::ScriptError& error) {
    errors << "vorlix-caller: " << error.what() << '\n';
    return 2;
  } catch (const app::InterfaceError& error) {
    errors << "vorlix-caller: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace program
