#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

// The real window program, on Qt's VNC platform: a display of its own without an X server, into
// which the test types keys through a VNC connection, as a person at the keyboard would. Its
// documents directory is a folder of the test's, so no game reaches a user's record.
class WindowProgram {
 public:
  WindowProgram(const std::vector<std::string>& arguments, const std::string& folder)
      : port_(freePort()), pid_(::fork()) {
    if (pid_ != 0) return;
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", ("vnc:size=640x960:port=" + std::to_string(port_)).c_str(), 1);
    ::dup2(::open((folder + "/out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open((folder + "/err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<char*> argv{const_cast<char*>(VORLIX_CALLER)};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.data()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ~WindowProgram() {
    if (vnc_ >= 0) ::close(vnc_);
    quit();
  }

  // Presses and releases each key in turn (printable ASCII: the key's VNC code is its character).
  // False when the window's VNC connection never opened (ten seconds).
  bool type(const std::string& keys) {
    if (vnc_ < 0 && !connect()) return false;
    for (const char key : keys)
      for (const std::uint8_t down : {std::uint8_t{1}, std::uint8_t{0}}) {
        const std::uint8_t event[8] = {4, down, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(key)};
        if (::write(vnc_, event, sizeof event) != sizeof event) return false;
      }
    return true;
  }
  // Asks the program to quit (SIGTERM) and returns its exit code.
  int quit() {
    if (pid_ <= 0) return exitCode_;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  static int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
  }
  bool readExactly(std::size_t count) {
    std::vector<char> bytes(count);
    for (std::size_t got = 0; got < count;) {
      const auto n = ::read(vnc_, bytes.data() + got, count - got);
      if (n <= 0) return false;
      got += static_cast<std::size_t>(n);
    }
    last_ = std::move(bytes);
    return true;
  }
  // RFB 3.3 as the window speaks it: its version, no security, a shared session, its description.
  bool connect() {
    const sockaddr_in address{
        AF_INET, htons(static_cast<std::uint16_t>(port_)), {htonl(INADDR_LOOPBACK)}, {}};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (true) {
      vnc_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      if (::connect(vnc_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) break;
      ::close(vnc_);
      vnc_ = -1;
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!readExactly(12) || ::write(vnc_, last_.data(), 12) != 12 || !readExactly(4) ||
        ::write(vnc_, "\1", 1) != 1 || !readExactly(24))
      return false;
    const auto nameLength = static_cast<std::size_t>(static_cast<unsigned char>(last_[22]) << 8 |
                                                     static_cast<unsigned char>(last_[23]));
    return readExactly(nameLength);
  }

  int port_;
  pid_t pid_;
  int vnc_ = -1;
  int exitCode_ = -1;
  std::vector<char> last_;
};
