#include "hosts/terminal/terminal_host.h"

#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <iostream>

#include "app/quit_request.h"
#include "hosts/common/input_policy.h"
#include "hosts/common/room_keys.h"
#include "hosts/common/speech_notices.h"
#include "hosts/common/system_io.h"
#include "hosts/terminal/claim_text.h"
#include "hosts/terminal/keys.h"
#include "hosts/terminal/terminal_session.h"

namespace terminal {
namespace {

constexpr platform::Duration kEscapeWait = std::chrono::milliseconds(50);

// No line break after the last line: on the terminal's last row it would scroll the title away.
// A dumb terminal gets each new screen printed below the last, after a blank line.
void writeFrame(const std::vector<std::string>& lines, bool moveCursor) {
  std::string frame = moveCursor ? "\x1b[H" : "\r\n";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    frame += lines[i] + (moveCursor ? "\x1b[K" : "");
    if (i + 1 < lines.size() || !moveCursor) frame += "\r\n";
  }
  if (moveCursor) frame += "\x1b[J";
  hostkit::writeAll(STDOUT_FILENO, frame);
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

std::optional<hostkit::AnswerKey> answerKeyOf(const Key& key) {
  switch (key.kind) {
    case Key::Kind::enter:
      return hostkit::AnswerKey{hostkit::AnswerKey::Kind::enter};
    case Key::Kind::escape:
      return hostkit::AnswerKey{hostkit::AnswerKey::Kind::escape};
    case Key::Kind::character:
      return hostkit::AnswerKey{hostkit::AnswerKey::Kind::letter, key.character};
    case Key::Kind::function:
      break;
  }
  return std::nullopt;
}

}  // namespace

platform::Services TerminalHost::services() {
  return {&loop_, voice_ ? voice_ : &silence_, &alerts_, this, &random_};
}

// The loop sleeps in poll() on the keyboard, a resize, a quit request and the next timer.
int TerminalHost::runMainLoop(app::Screen& screen) {
  const TerminalSession session(cursorMovesOfEnvironment());
  app::ClaimSession claims(
      std::move(claimBooks_), keptTickets_,
      [&screen](const std::string& line) { screen.speak(line); }, screen.claimRecorder());
  if (room_ != nullptr) room_->followClaims(claims);
  claims_ = &claims;
  std::array<pollfd, 3> watched{pollfd{STDIN_FILENO, POLLIN, 0},
                                pollfd{session.resizeDescriptor(), POLLIN, 0},
                                pollfd{app::QuitRequest::fileDescriptor(), POLLIN, 0}};
  std::string pending;
  screen.shown();
  while (!app::QuitRequest::requested()) {
    for (const auto& notice : hostkit::takeSpeechNotices(platform::speechEngine(), std::cerr))
      status_.speechNote = notice;
    for (const auto& notice : hostkit::takeScreenNotices(screen, std::cerr))
      status_.notice = notice;
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
  claims_ = nullptr;
  return 0;
}

void TerminalHost::handleKeys(app::Screen& screen, std::string& pending, bool flush) {
  for (const Key& key : takeKeys(pending, flush)) handleKey(screen, key);
}

// While a question is open only its answers reach the game, as with any modal question.
void TerminalHost::handleKey(app::Screen& screen, const Key& key) {
  if (key.kind == Key::Kind::character && key.character == 'q') {
    app::QuitRequest::request();
    return;
  }
  if (claims_ != nullptr && handleClaimKey(screen, key)) return;
  const app::ScreenSnapshot now = screen.snapshot();
  if (!now.openAlerts.empty()) {
    const auto answerKey = answerKeyOf(key);
    if (!answerKey) return;
    if (const auto answer = hostkit::answerFor(now.openAlerts.back(), *answerKey))
      screen.answer(*answer);
    return;
  }
  if (handleRoomKey(key)) return;
  hostkit::pressForKey(screen, now, controlKeyOf(key));
}

bool TerminalHost::handleRoomKey(const Key& key) {
  if (room_ == nullptr || key.kind != Key::Kind::character) return false;
  if (key.character == hostkit::kServeKey.character) {
    const auto lines = room_->toggleServing();
    status_.roomNote = lines.front() + (lines.size() > 1 ? " (J: all addresses)" : "");
    showRoomCard_ = room_->board().serving();
    return true;
  }
  if (key.character == hostkit::kAddressKey.character) {
    showRoomCard_ = !showRoomCard_;
    return true;
  }
  return false;
}

bool TerminalHost::handleClaimKey(app::Screen& screen, const Key& key) {
  const bool character = key.kind == Key::Kind::character;
  if (serialTyped_) {  // the prompt takes every key
    if (key.kind == Key::Kind::escape) {
      serialTyped_.reset();
    } else if (key.kind == Key::Kind::enter && !serialTyped_->empty()) {
      const auto now = screen.snapshot();
      claims_->claim(static_cast<std::uint32_t>(std::stoul(*serialTyped_)),
                     app::callsAnnounced(now.calledInOrder, now.numberBeingCalled));
      serialTyped_.reset();
      claims_->speakVerdict();
    } else if (character && std::isdigit(static_cast<unsigned char>(key.character)) &&
               serialTyped_->size() < 9) {
      *serialTyped_ += key.character;
    } else if (character && (key.character == '\x7f' || key.character == '\b') &&
               !serialTyped_->empty()) {
      serialTyped_->pop_back();
    }
    return true;
  }
  const auto now = screen.snapshot();
  if (!now.openAlerts.empty()) return false;
  const bool isC = character && key.character == 'c';
  if (claims_->onShow()) {
    if (key.kind == Key::Kind::escape || isC) {
      claims_->dismiss();
      return true;
    }
    if (character && key.character == 'y') {
      claims_->confirm(app::callsAnnounced(now.calledInOrder, now.numberBeingCalled));
      return true;
    }
  }
  if (!isC) return false;
  if (const auto* pause = now.control("Pause"); pause != nullptr && pause->live)
    screen.press("Pause");
  serialTyped_ = "";
  return true;
}

void TerminalHost::draw(const app::Screen& screen, const TerminalSession& session) {
  const app::ScreenSnapshot now = screen.snapshot();
  status_.prompt.reset();
  if (!now.openAlerts.empty()) {
    const auto& alert = now.openAlerts.back();
    status_.prompt = Prompt{alert.title, alert.message, alert.buttons};
  }
  status_.lastSpoken = now.lastSpoken;
  if (room_ != nullptr) {
    room_->screenChanged(now);  // the room hears of each event as the terminal shows it
    status_.roomCard.clear();
    if (showRoomCard_) status_.roomCard = roomCardLines(room_->board().urls(), session.size());
  }
  status_.claim.clear();
  if (claims_ != nullptr) {
    claims_->observe(app::callsAnnounced(now.calledInOrder, now.numberBeingCalled));
    status_.claim = claimLines({serialTyped_, claims_->onShow()});
  }
  auto lines = screenLines(now, status_, session.size(), coloursOfEnvironment());
  if (lines == shownLines_) return;  // redrawn only when something changed
  writeFrame(lines, cursorMovesOfEnvironment());
  shownLines_ = std::move(lines);
}

}  // namespace terminal
