#include "hosts/terminal/terminal_host.h"

#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>

#include "app/quit_request.h"
#include "app/screen_snapshot.h"
#include "hosts/terminal/keys.h"
#include "hosts/terminal/terminal_session.h"
#include "platform/touch.h"

namespace terminal {
namespace {

constexpr platform::Duration kEscapeWait = std::chrono::milliseconds(50);

void writeFrame(const std::vector<std::string>& lines) {
  std::string frame = "\x1b[H";
  for (const auto& line : lines) frame += line + "\x1b[K\r\n";
  frame += "\x1b[J";
  const char* text = frame.data();
  std::size_t left = frame.size();
  while (left > 0) {
    const auto written = ::write(STDOUT_FILENO, text, left);
    if (written <= 0) return;
    text += written;
    left -= static_cast<std::size_t>(written);
  }
}

// Reads what the keyboard has sent; false once standard input has closed or failed (the terminal
// window was closed, say), so the loop ends instead of spinning on a dead descriptor.
bool readKeyboard(std::string& pending) {
  std::array<char, 256> bytes{};
  const auto count = ::read(STDIN_FILENO, bytes.data(), bytes.size());
  if (count > 0) {
    pending.append(bytes.data(), static_cast<std::size_t>(count));
    return true;
  }
  return count < 0 && (errno == EINTR || errno == EAGAIN);
}

}  // namespace

platform::Services TerminalHost::services() {
  return {&loop_, this, this, this, &random_};
}

void TerminalHost::speak(const platform::SpeechUtterance& utterance,
                         platform::Duration handedOverAt) {
  status_.lastSpoken = utterance.speechString;
  if (voice_ != nullptr) voice_->speak(utterance, handedOverAt);
}

void TerminalHost::present(const std::shared_ptr<platform::AlertView>& alert) {
  alerts_.present(alert);
}

std::shared_ptr<platform::AlertView> TerminalHost::openAlert() const {
  return alerts_.topmostOpen();
}

// The loop sleeps in poll() on the keyboard, a resize, a quit request and the next timer.
int TerminalHost::runMainLoop(app::Window& window) {
  ViewController& screen = *window.rootViewController();
  const TerminalSession session;
  std::array<pollfd, 3> watched{pollfd{STDIN_FILENO, POLLIN, 0},
                                pollfd{session.resizeDescriptor(), POLLIN, 0},
                                pollfd{app::QuitRequest::fileDescriptor(), POLLIN, 0}};
  std::string pending;
  while (!app::QuitRequest::requested()) {
    draw(screen, session);
    for (auto& descriptor : watched) descriptor.revents = 0;
    // The rest of an escape sequence comes at once; a lone ESC is the Escape key.
    std::optional<platform::Duration> until;
    if (!pending.empty()) until = loop_.now() + kEscapeWait;
    const int ready = loop_.waitOnce(watched, until);
    if (ready == 0 && !pending.empty()) handleKeys(screen, pending, true);
    if (ready <= 0) continue;
    if (watched[1].revents != 0) {
      session.takeResize();
      shownLines_.clear();
    }
    if ((watched[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0) {
      const bool keyboardOpen = readKeyboard(pending);
      handleKeys(screen, pending, !keyboardOpen);
      if (!keyboardOpen) break;  // nobody can press a key any more
    }
  }
  return 0;
}

void TerminalHost::handleKeys(ViewController& screen, std::string& pending, bool flush) {
  for (const Key& key : takeKeys(pending, flush)) handleKey(screen, key);
}

void TerminalHost::handleKey(ViewController& screen, const Key& key) {
  if (key.kind == Key::Kind::character && key.character == 'q') {
    app::QuitRequest::request();
    return;
  }
  if (openAlert()) {  // an alert is modal: only its answers reach the game
    answerPrompt(key);
    return;
  }
  const KeyBinding* binding = bindingForKey(key);
  if (binding == nullptr) return;
  platform::View& root = screen.view();
  if (!binding->buttonTitle.empty()) {
    platform::tapButtonTitled(root, binding->buttonTitle);
  } else if (platform::tapButtonTitled(root, "Play") != platform::TapOutcome::reached) {
    platform::tapButtonTitled(root, "Pause");
  }
}

// Y and N answer by the button's first letter, Enter takes the first button and Escape the last.
void TerminalHost::answerPrompt(const Key& key) {
  auto alert = openAlert();
  const long count = alert->numberOfButtons();
  if (count == 0) return;
  if (key.kind == Key::Kind::enter) {
    alert->tapButtonAtIndex(0);
  } else if (key.kind == Key::Kind::escape) {
    alert->tapButtonAtIndex(count - 1);
  } else if (key.kind == Key::Kind::character) {
    for (long index = 0; index < count; ++index) {
      const auto title = alert->buttonTitleAtIndex(index).value_or("");
      if (!title.empty() &&
          std::tolower(static_cast<unsigned char>(title.front())) == key.character) {
        alert->tapButtonAtIndex(index);
        return;
      }
    }
  }
}

void TerminalHost::draw(ViewController& screen, const TerminalSession& session) {
  status_.prompt.reset();
  if (auto alert = openAlert())
    status_.prompt = Prompt{alert->title(), alert->message(), alert->buttonTitles()};
  auto lines = screenLines(app::snapshotOf(screen), status_, session.size());
  if (lines == shownLines_) return;  // redrawn only when something changed
  writeFrame(lines);
  shownLines_ = std::move(lines);
}

}  // namespace terminal
