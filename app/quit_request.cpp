#include "app/quit_request.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <csignal>

namespace app {
namespace {

volatile std::sig_atomic_t quitRequested = 0;
volatile std::sig_atomic_t quitSignal = 0;
std::array<int, 2> wakePipe{-1, -1};

constexpr std::array<int, 3> kQuitSignals{SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, kQuitSignals.size()> previousActions{};
int holders = 0;  // the requests alive; the outermost one installs and restores the handlers

void onQuitSignal(int signal) {
  quitSignal = signal;
  QuitRequest::request();
}

}  // namespace

QuitRequest::QuitRequest() {
  if (holders++ > 0) return;
  quitRequested = 0;
  quitSignal = 0;
  if (wakePipe[0] < 0 && ::pipe(wakePipe.data()) == 0) {
    for (int fd : wakePipe) {
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
      ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
  }
  struct sigaction action {};
  action.sa_handler = onQuitSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kQuitSignals.size(); ++i)
    ::sigaction(kQuitSignals[i], &action, &previousActions[i]);
}

QuitRequest::~QuitRequest() {
  if (--holders > 0) return;
  for (std::size_t i = 0; i < kQuitSignals.size(); ++i)
    ::sigaction(kQuitSignals[i], &previousActions[i], nullptr);
  // Empty the pipe so that a later application starts with no request pending.
  char drained[64];
  while (wakePipe[0] >= 0 && ::read(wakePipe[0], drained, sizeof drained) > 0) {
  }
  quitRequested = 0;
}

int QuitRequest::fileDescriptor() {
  return wakePipe[0];
}

int QuitRequest::signalReceived() {
  return quitSignal;
}

bool QuitRequest::requested() {
  return quitRequested != 0;
}

void QuitRequest::request() {
  quitRequested = 1;
  if (wakePipe[1] >= 0) {
    const char byte = 'q';
    [[maybe_unused]] const auto written = ::write(wakePipe[1], &byte, 1);
  }
}

}  // namespace app
