#pragma once

namespace terminal {

struct TerminalSize {
  int columns = 0;
  int rows = 0;
};

// The terminal while the caller owns it: keys arrive one by one without echo, the caller draws on
// the alternate screen with the cursor hidden. Everything is put back when the session ends, and
// also when the program dies of a crash signal (the handler restores the terminal and lets the
// signal go on). Ctrl-C still raises SIGINT, which asks the application to quit.
class TerminalSession {
 public:
  // Takes over standard input and output, which must both be terminals. Without `moveCursor` (a
  // dumb terminal) it only takes the keys: no alternate screen, no cursor sequences.
  explicit TerminalSession(bool moveCursor = true);
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  static bool available();
  TerminalSize size() const;
  // Becomes readable when the terminal has been resized; drain it with takeResize().
  int resizeDescriptor() const;
  void takeResize() const;
};

}  // namespace terminal
