#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

namespace vorlix::web::detail {

// Sends without waiting: the count of bytes the socket took, or -errno (-EAGAIN when it is full).
long sendNow(int socket, std::string_view bytes);

// Writes the same bytes to many sockets at once. The kernel's work for each socket stays, but
// with io_uring a whole batch of sockets costs one system call rather than one each, which is
// most of the saving when a state goes to thousands of viewers. Where io_uring cannot be had (an
// old kernel, a sandbox that forbids it) each socket gets sendNow instead.
class SocketFanout {
 public:
  SocketFanout();
  ~SocketFanout();
  SocketFanout(const SocketFanout&) = delete;
  SocketFanout& operator=(const SocketFanout&) = delete;

  // results[i] is what sendNow(sockets[i], bytes) would have returned. Every send is over when
  // this returns, so the bytes need only live until then.
  void send(std::span<const int> sockets, std::string_view bytes, std::span<long> results);

 private:
  // One batch of at most the ring's size; false when the ring has failed.
  bool sendBatch(std::span<const int> sockets, std::string_view bytes, std::span<long> results);

  struct Ring;
  std::unique_ptr<Ring> ring_;  // null without io_uring
};

}  // namespace vorlix::web::detail
