#pragma once

namespace app {

// Ctrl-C, SIGTERM and SIGHUP ask the application to quit. The signal handler only notes the
// request and writes a byte to a pipe; the host's main loop watches the pipe's read end (with
// poll(), a socket notifier, ...) and ends normally, so the delegate still hears of termination.
class QuitRequest {
 public:
  // Installs the handlers for the object's lifetime; the previous ones come back afterwards. One
  // made while another lives shares its handlers and any request already made.
  QuitRequest();
  ~QuitRequest();
  QuitRequest(const QuitRequest&) = delete;
  QuitRequest& operator=(const QuitRequest&) = delete;

  // The file descriptor that becomes readable once a quit has been asked for.
  static int fileDescriptor();
  static bool requested();
  // The signal that asked for the quit (SIGINT, SIGTERM, SIGHUP), or 0 when none did. It outlives
  // the object, so that the process can end with the exit code of that signal (128 + its number).
  static int signalReceived();
  // Asks for a quit from ordinary code (a Quit key, say); safe in a signal handler too.
  static void request();
};

}  // namespace app
