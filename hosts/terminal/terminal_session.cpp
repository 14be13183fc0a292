#include "hosts/terminal/terminal_session.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstring>

#include "hosts/common/system_io.h"

namespace terminal {
namespace {

// Leave the alternate screen, show the cursor, reset colours.
constexpr char kRestoreSequence[] = "\x1b[0m\x1b[?25h\x1b[?1049l";
constexpr char kEnterSequence[] = "\x1b[?1049h\x1b[?25l\x1b[2J";

termios savedMode{};
bool modeSaved = false;
std::array<int, 2> resizePipe{-1, -1};

constexpr std::array<int, 5> kCrashSignals{SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
std::array<struct sigaction, kCrashSignals.size()> previousCrashActions{};
struct sigaction previousResizeAction {};

// Only async-signal-safe calls: write() and tcsetattr().
void restoreTerminal() {
  hostkit::writeAll(STDOUT_FILENO, kRestoreSequence, sizeof kRestoreSequence - 1);
  if (modeSaved) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedMode);
}

void onCrashSignal(int signalNumber) {
  restoreTerminal();
  ::signal(signalNumber, SIG_DFL);
  ::raise(signalNumber);
}

void onResize(int) {
  const char byte = 'r';
  [[maybe_unused]] const auto written = ::write(resizePipe[1], &byte, 1);
}

termios keyMode{};
struct sigaction previousSuspendAction {};

void takeKeyboard() {
  if (modeSaved) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &keyMode);
  hostkit::writeAll(STDOUT_FILENO, kEnterSequence, sizeof kEnterSequence - 1);
}

// Ctrl-Z: give the terminal back while stopped, take it again on resuming and redraw everything
// (the resize pipe makes the loop draw the whole screen anew).
void onSuspend(int) {
  restoreTerminal();
  struct sigaction stop {};
  stop.sa_handler = SIG_DFL;
  sigemptyset(&stop.sa_mask);
  struct sigaction ours {};
  ::sigaction(SIGTSTP, &stop, &ours);
  sigset_t suspendOnly;
  sigemptyset(&suspendOnly);
  sigaddset(&suspendOnly, SIGTSTP);
  // The signal is blocked while its handler runs: unblock it, or the stop would only come after
  // the handler has put ours back, and ours would run again.
  ::sigprocmask(SIG_UNBLOCK, &suspendOnly, nullptr);
  ::raise(SIGTSTP);  // stops here until SIGCONT
  ::sigaction(SIGTSTP, &ours, nullptr);
  takeKeyboard();
  onResize(SIGWINCH);
}

void openResizePipe() {
  if (resizePipe[0] >= 0 || ::pipe(resizePipe.data()) != 0) return;
  for (int fd : resizePipe) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
}

void installHandlers() {
  struct sigaction crash {};
  crash.sa_handler = onCrashSignal;
  sigemptyset(&crash.sa_mask);
  for (std::size_t i = 0; i < kCrashSignals.size(); ++i)
    ::sigaction(kCrashSignals[i], &crash, &previousCrashActions[i]);
  struct sigaction resize {};
  resize.sa_handler = onResize;
  resize.sa_flags = SA_RESTART;
  sigemptyset(&resize.sa_mask);
  ::sigaction(SIGWINCH, &resize, &previousResizeAction);
  struct sigaction suspend {};
  suspend.sa_handler = onSuspend;
  suspend.sa_flags = SA_RESTART;
  sigemptyset(&suspend.sa_mask);
  ::sigaction(SIGTSTP, &suspend, &previousSuspendAction);
}

void removeHandlers() {
  for (std::size_t i = 0; i < kCrashSignals.size(); ++i)
    ::sigaction(kCrashSignals[i], &previousCrashActions[i], nullptr);
  ::sigaction(SIGWINCH, &previousResizeAction, nullptr);
  ::sigaction(SIGTSTP, &previousSuspendAction, nullptr);
}

}  // namespace

bool TerminalSession::available() {
  return ::isatty(STDIN_FILENO) != 0 && ::isatty(STDOUT_FILENO) != 0;
}

TerminalSession::TerminalSession() {
  openResizePipe();
  modeSaved = ::tcgetattr(STDIN_FILENO, &savedMode) == 0;
  if (modeSaved) {
    keyMode = savedMode;
    keyMode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);  // ISIG stays: Ctrl-C still quits
    keyMode.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL);
    keyMode.c_cc[VMIN] = 0;
    keyMode.c_cc[VTIME] = 0;
  }
  installHandlers();
  takeKeyboard();
}

TerminalSession::~TerminalSession() {
  restoreTerminal();
  removeHandlers();
  modeSaved = false;
}

TerminalSize TerminalSession::size() const {
  winsize window{};
  if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &window) != 0) return {80, 24};
  return {window.ws_col, window.ws_row};
}

int TerminalSession::resizeDescriptor() const {
  return resizePipe[0];
}

void TerminalSession::takeResize() const {
  char drained[64];
  while (::read(resizePipe[0], drained, sizeof drained) > 0) {
  }
}

}  // namespace terminal
