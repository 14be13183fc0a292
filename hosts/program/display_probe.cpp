#include "hosts/program/display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "platform/message_text.h"

namespace program {
namespace {

const char* named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// A whole X connection, authentication included: what Qt needs before it can open a window.
bool xDisplayAnswers() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}

// A Wayland compositor listens on a socket under XDG_RUNTIME_DIR, or at the path named outright.
bool waylandDisplayAnswers(const std::string& name) {
  std::string path = name;
  if (path.front() != '/') {
    const char* runtime = named("XDG_RUNTIME_DIR");
    if (runtime == nullptr) return false;
    path = std::string(runtime) + "/" + name;
  }
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool answers = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return answers;
}

}  // namespace

std::optional<std::string> unansweringDisplay() {
  const char* x = named("DISPLAY");
  const char* wayland = named("WAYLAND_DISPLAY");
  if (x == nullptr && wayland == nullptr) return std::nullopt;
  if (x != nullptr && xDisplayAnswers()) return std::nullopt;
  if (wayland != nullptr && waylandDisplayAnswers(wayland)) return std::nullopt;
  const std::string name = platform::printableExcerpt(x != nullptr ? x : wayland);
  return "the display " + name + " does not answer";
}

void forgetDisplay() {
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  // A platform plugin named for that display would abort on it all the same.
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr &&
      (std::strncmp(platform, "xcb", 3) == 0 || std::strncmp(platform, "wayland", 7) == 0))
    ::unsetenv("QT_QPA_PLATFORM");
}

}  // namespace program
