#include "hosts/program/front_ends.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>

#include "app/interface_error.h"
#include "app/quit_request.h"
#include "hosts/common/room_feed.h"
#include "hosts/program/background_speech.h"
#include "hosts/program/display_probe.h"
#include "hosts/program/output_files.h"
#include "hosts/program/script_file.h"
#include "hosts/program/speech_choice.h"
#include "hosts/terminal/script_host.h"
#include "hosts/terminal/terminal_host.h"
#include "hosts/terminal/terminal_session.h"
#include "platform/random_source.h"

#ifdef VORLIX_HAVE_WINDOW_HOST
#include "hosts/qt/session_bus.h"
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

// The tickets of --book, for checking claims.
tickets::TicketIndex givenBook(const ProgramOptions& options) {
  tickets::TicketIndex index;
  if (options.book) index.add(*options.book);
  return index;
}

// The books kept in the user's game record, for the window and the terminal caller (a scripted run
// never reads the user's store).
app::ClaimSession::TicketLookup keptTickets() {
  const auto file = app::defaultStoreFile();
  return file ? app::ticketsKeptIn(*file) : app::ClaimSession::TicketLookup{};
}

// The settings of a run that keeps its games, with the record already being opened: the file is
// read on a thread of its own while speech and the screen are made.
app::ScreenSettings openingRecord(app::ScreenSettings settings) {
  auto& keeping = settings.keeping;
  const auto file = keeping.file ? keeping.file : app::defaultStoreFile();
  if (keeping.keep && file) keeping.opening = std::make_shared<app::RecordOpening>(*file);
  return settings;
}

bool hasDisplay() {
#ifdef VORLIX_HAVE_WINDOW_HOST
  return qthost::windowDisplayAvailable();
#else
  return false;
#endif
}

// A standard stream the program was started without (`>&-`) would be handed to the next file
// opened, and the transcript or messages would be written into the recording. Each is held open on
// /dev/null instead; a transcript that had nowhere to go is still reported as not written.
void holdClosedStandardStreams(std::ostream& out) {
  for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) != -1) continue;
    const int nowhere = ::open("/dev/null", O_WRONLY);
    if (nowhere >= 0 && nowhere != fd) {
      ::dup2(nowhere, fd);
      ::close(nowhere);
    }
    if (fd == STDOUT_FILENO) out.setstate(std::ios::badbit);
  }
}

// A script stopped by a signal has not done what it was asked to: the run ends as the signal
// would have ended it (128 + its number), after the transcript and recording are complete.
int exitCodeOfScript(int exitCode, std::ostream& errors) {
  const int signal = app::QuitRequest::signalReceived();
  if (signal == 0) return exitCode;
  errors << "vorlix-caller: the script was stopped by SIG" << sigabbrev_np(signal)
         << " before its end\n";
  return 128 + signal;
}

// Once the speech engine is gone and the recording finished: a recording that lost lines is told
// on standard error (the engine has told the host already, where it looks), and a scripted run
// that did not write everything it promised ends with exit code 1.
int exitCodeAfterOutputs(int exitCode, ChosenSpeech& speech, std::ostream* transcript,
                         std::ostream& errors) {
  speech.engine.reset();
  bool failed = false;
  if (const auto failure = speech.recordingFailure()) {
    errors << "vorlix-caller: " << *failure << '\n';
    failed = true;
  }
  if (transcript != nullptr && !transcript->flush()) {
    errors << "vorlix-caller: the transcript could not all be written: standard output is closed "
              "or full\n";
    failed = true;
  }
  return failed && exitCode == 0 && transcript != nullptr ? 1 : exitCode;
}

// The room's displays. With --serve the web board is served from the start and says where on
// standard error ("Web board: http://…", one line an address); a board that cannot be served is
// bad input (exit code 2) before the game begins.
std::unique_ptr<hostkit::RoomFeed> roomFeed(const ProgramOptions& options, std::ostream& errors) {
  vorlix::web::WebBoardOptions board;
  board.listen = options.serve.value_or(vorlix::web::ListenAddress{});
  board.maxViewers = options.maxViewers;
  auto feed = std::make_unique<hostkit::RoomFeed>(board);
  if (!options.serve) return feed;
  try {
    feed->board().start();
  } catch (const vorlix::web::WebBoardError& error) {
    throw UsageError(error.what());
  }
  for (const std::string& line : feed->board().addressLines()) errors << line << '\n';
  errors.flush();
  return feed;
}

int runScriptHost(app::ApplicationHost& host, const ProgramOptions& options) {
  if (!options.screenshotPath) return app::applicationMain(host, options.screen);
#ifdef VORLIX_HAVE_WINDOW_HOST
  qthost::ScreenshotAfterRunHost picturing(host, *options.screenshotPath);
  return app::applicationMain(picturing, options.screen);
#else
  throw UsageError("this build has no desktop window to take a --screenshot of");
#endif
}

int runScript(const ProgramOptions& options, platform::RandomSource& random, std::ostream& out,
              std::ostream& errors) {
  auto commands = readScriptFile(options.scriptPath);
  const auto clock = options.clock == ClockKind::realTime
                         ? terminal::ScriptHost::Clock::realTime
                         : terminal::ScriptHost::Clock::virtualTime;
  ChosenSpeech speech =
      chooseSpeech(options, clock == terminal::ScriptHost::Clock::realTime, errors);
  const auto room = roomFeed(options, errors);
  int exitCode = 0;
  {
    terminal::ScriptHost host(std::move(commands), clock, random, out, errors);
    host.setSpeechTee(speech.engine.get());
    host.setRoomFeed(room.get());
    host.setClaimTickets(givenBook(options), {});
    exitCode = exitCodeOfScript(runScriptHost(host, options), errors);
  }
  return exitCodeAfterOutputs(exitCode, speech, &out, errors);
}

// A display that is named but does not answer is forgotten before Qt can abort on it; the
// sentence saying so is kept for the message of whoever wanted the window.
std::optional<std::string> forgetUnansweringDisplay(const ProgramOptions& options) {
#ifdef VORLIX_HAVE_WINDOW_HOST
  const bool qtMayStart = options.frontEnd != FrontEnd::script || options.screenshotPath;
  if (!qtMayStart) return std::nullopt;
  auto why = unansweringDisplay();
  if (why) forgetDisplay();
  return why;
#else
  (void)options;
  return std::nullopt;
#endif
}

int runTerminal(const ProgramOptions& options, platform::RandomSource& random, std::ostream& errors,
                const std::optional<std::string>& noWindowBecause = {}) {
  if (!terminal::TerminalSession::available())
    throw UsageError((noWindowBecause ? *noWindowBecause + ", and " : std::string()) +
                     "the terminal caller needs a terminal on standard input and output; "
                     "use --script for a run without one");
  if (noWindowBecause)
    errors << "vorlix-caller: " << *noWindowBecause << "; the caller runs in this terminal\n";
  const auto screen = openingRecord(options.screen);
  ChosenSpeech speech = chooseSpeech(options, true, errors);
  const auto room = roomFeed(options, errors);
  int exitCode = 0;
  {
    terminal::TerminalHost host(random);
    host.setSpeech(speech.engine.get(), speech.note);
    platform::StderrConsole log;
    if (options.verbose) host.setConsole(&log);
    host.setRoomFeed(room.get());
    host.setClaimTickets(givenBook(options), keptTickets());
    exitCode = app::applicationMain(host, screen);
  }
  return exitCodeAfterOutputs(exitCode, speech, nullptr, errors);
}

// The one place that knows whether this build has the desktop window.
int runWindow(const ProgramOptions& options, platform::RandomSource& random, std::ostream& errors,
              const std::optional<std::string>& noWindowBecause = {}) {
#ifdef VORLIX_HAVE_WINDOW_HOST
  if (noWindowBecause)
    throw UsageError(*noWindowBecause + ", so there is no window to show; use --terminal");
  if (!qthost::windowDisplayAvailable())
    throw UsageError(
        "there is no display to show the window on (DISPLAY and WAYLAND_DISPLAY are not set); "
        "use --terminal");
  qthost::skipHopelessSessionBusLaunch();  // before the record's thread starts
  qthost::WindowHostOptions window;
  // The window takes the record once its first frame is painted, and opens it then: read while Qt
  // starts, a record of a few thousand games held that frame back by tens of milliseconds. A game
  // resumed at launch is on the first frame, so its record is opened while Qt starts.
  window.screen = options.screen.keeping.resume == app::ResumeChoice::resume
                      ? openingRecord(options.screen)
                      : options.screen;
  WindowSpeech speech = chooseWindowSpeech(options, errors);  // started after the first frame
  window.random = &random;
  window.speech = speech.chosen.engine.get();
  window.afterFirstFrame = speech.start;
  platform::StdoutConsole log;
  if (options.verbose) window.console = &log;
  const auto room = roomFeed(options, errors);
  window.room = room.get();
  window.audience = options.audience;
  window.claimBooks = givenBook(options);
  window.keptTickets = keptTickets();
  return exitCodeAfterOutputs(qthost::runWindowHost(window), speech.chosen, nullptr, errors);
#else
  (void)options;
  (void)random;
  (void)errors;
  (void)noWindowBecause;
  throw UsageError("this build has no desktop window (it was built without Qt); use --terminal");
#endif
}

}  // namespace

int runFrontEnd(const ProgramOptions& options, std::ostream& out, std::ostream& errors) {
  // A quit asked for while the caller starts (the record, speech, the window) is heard once it
  // runs.
  const app::QuitRequest quitRequest;
  holdClosedStandardStreams(out);
  keepSoundLibraryChatterOffTheScreen();
  if (options.listVoices) {
    out << voiceList();
    return 0;
  }
  DrawSource draw(options);
  checkOutputFiles(options);
  const std::optional<std::string> noWindowBecause = forgetUnansweringDisplay(options);
  try {
    switch (options.frontEnd) {
      case FrontEnd::script:
        return runScript(options, draw.source(), out, errors);
      case FrontEnd::window:
        return runWindow(options, draw.source(), errors, noWindowBecause);
      case FrontEnd::terminal:
        return runTerminal(options, draw.source(), errors);
      case FrontEnd::automatic:
        break;
    }
    if (hasDisplay()) return runWindow(options, draw.source(), errors);
    return runTerminal(options, draw.source(), errors, noWindowBecause);
  } catch (const terminal::ScriptError& error) {
    errors << "vorlix-caller: " << error.what() << '\n';
    return 2;
  } catch (const app::InterfaceError& error) {
    errors << "vorlix-caller: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace program
