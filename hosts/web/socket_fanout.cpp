#include "hosts/web/socket_fanout.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

#if VORLIX_HAS_IO_URING
#include <liburing.h>
#endif

namespace vorlix::web::detail {

long sendNow(int socket, std::string_view bytes) {
  const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
  return sent < 0 ? -errno : sent;
}

#if VORLIX_HAS_IO_URING

struct SocketFanout::Ring {
  // Sockets per system call: enough that the call costs nothing beside the sends, few enough
  // that one call (which a kernel need not preempt) keeps the core for about a millisecond at
  // most. The ring's own memory is fixed, whatever the number of viewers.
  static constexpr unsigned kBatch = 256;
  io_uring ring{};
};

SocketFanout::SocketFanout() {
  auto ring = std::make_unique<Ring>();
  io_uring_params params{};
  if (io_uring_queue_init_params(Ring::kBatch, &ring->ring, &params) != 0) return;
  // Kernels this recent (5.12 on) answer a full socket at once when asked not to wait; an older
  // one might wait for room, which would hold up every viewer behind a slow one.
  if ((params.features & IORING_FEAT_NATIVE_WORKERS) == 0) {
    io_uring_queue_exit(&ring->ring);
    return;
  }
  ring_ = std::move(ring);
}

SocketFanout::~SocketFanout() {
  if (ring_) io_uring_queue_exit(&ring_->ring);
}

void SocketFanout::send(std::span<const int> sockets, std::string_view bytes,
                        std::span<long> results) {
  std::size_t first = 0;
  for (; ring_ && first < sockets.size(); first += Ring::kBatch) {
    const std::size_t count = std::min<std::size_t>(Ring::kBatch, sockets.size() - first);
    if (!sendBatch(sockets.subspan(first, count), bytes, results.subspan(first, count))) {
      io_uring_queue_exit(&ring_->ring);  // never seen: the ring itself has failed
      ring_.reset();
    }
  }
  for (std::size_t i = first; i < sockets.size(); ++i) results[i] = sendNow(sockets[i], bytes);
}

bool SocketFanout::sendBatch(std::span<const int> sockets, std::string_view bytes,
                             std::span<long> results) {
  io_uring* ring = &ring_->ring;
  for (std::size_t i = 0; i < sockets.size(); ++i) {
    io_uring_sqe* entry = io_uring_get_sqe(ring);
    // MSG_DONTWAIT: a full socket answers -EAGAIN at once rather than being waited on, so every
    // send is over within the submitting call.
    io_uring_prep_send(entry, sockets[i], bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    io_uring_sqe_set_data64(entry, i);
    results[i] = -EIO;  // what a send whose fate is unknown counts as: the viewer is let go
  }
  int submitted = io_uring_submit_and_wait(ring, static_cast<unsigned>(sockets.size()));
  while (submitted == -EINTR) submitted = io_uring_submit_and_wait(ring, 0);
  if (submitted < 0 || static_cast<std::size_t>(submitted) != sockets.size()) return false;
  for (std::size_t done = 0; done < sockets.size();) {
    io_uring_cqe* completion = nullptr;
    const int error = io_uring_wait_cqe(ring, &completion);
    if (error == -EINTR) continue;
    if (error < 0) return false;
    results[io_uring_cqe_get_data64(completion)] = completion->res;
    io_uring_cqe_seen(ring, completion);
    ++done;
  }
  return true;
}

#else

struct SocketFanout::Ring {};
SocketFanout::SocketFanout() = default;
SocketFanout::~SocketFanout() = default;

void SocketFanout::send(std::span<const int> sockets, std::string_view bytes,
                        std::span<long> results) {
  for (std::size_t i = 0; i < sockets.size(); ++i) results[i] = sendNow(sockets[i], bytes);
}

#endif

}  // namespace vorlix::web::detail
