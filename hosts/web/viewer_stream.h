#pragma once

#include <array>
#include <chrono>
#include <deque>
#include <vector>

#include "hosts/web/server_context.h"

namespace vorlix::web::detail {

using Clock = std::chrono::steady_clock;

// One open event stream: takes frames from the hub and writes them in order, never holding more
// than its share. A viewer that stops reading is dropped at the write deadline, not waited for.
class ViewerStream : public std::enable_shared_from_this<ViewerStream> {
 public:
  ViewerStream(tcp::socket socket, ServerContext& context, ConnectionSlot slot);
  ~ViewerStream();

  // Joins the hub and sends the response head and the first frames.
  void start(const std::vector<Frame>& firstFrames);
  // A state may replace the frames still waiting; any other frame (a heartbeat) may be left out.
  enum class FrameKind { State, Other };
  void send(const Frame& frame, FrameKind kind);
  // Whether nothing is waiting or being written, so that a frame may go to the socket at once
  // (the hub writes it to every such viewer in one batch), and what came of that write: the
  // bytes the socket took or -errno, as sendNow returns.
  bool idle() const { return !closed_ && !writing_ && queue_.empty(); }
  int nativeSocket() { return socket_.native_handle(); }
  void sentAtOnce(const Frame& frame, long result);
  void close();
  std::size_t hubIndex = 0;  // where the hub keeps this viewer
  // Whether a write has waited on this viewer longer than the write deadline.
  bool stalled(Clock::time_point now) const;

 private:
  void writeQueued();
  void onWritten(const boost::system::error_code& error);
  void watchForHangUp();

  tcp::socket socket_;
  ServerContext& context_;
  ConnectionSlot slot_;
  std::deque<Frame> queue_;
  std::vector<Frame> inFlight_;
  std::vector<net::const_buffer> buffers_;
  std::size_t queuedBytes_ = 0;
  std::size_t frontSent_ = 0;  // bytes of the first queued frame already written
  Clock::time_point writingSince_;
  bool writing_ = false;
  bool closed_ = false;
  bool joined_ = false;
  std::array<char, 64> discard_{};
};

}  // namespace vorlix::web::detail
