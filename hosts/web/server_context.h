#pragma once

#include <atomic>
#include <boost/asio.hpp>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "hosts/web/socket_fanout.h"
#include "hosts/web/web_board_server.h"
#include "room/room_event_log.h"

// What the pieces of the web board share on the I/O thread. Nothing here is touched from another
// thread except the counters.
namespace vorlix::web::detail {

namespace net = boost::asio;
using tcp = net::ip::tcp;
using Frame = std::shared_ptr<const std::string>;

struct ServerCounters {
  std::atomic<std::size_t> connections{0};
  std::atomic<std::size_t> viewers{0};
  std::atomic<std::size_t> refused{0};
  std::atomic<std::size_t> droppedSlow{0};
  std::atomic<std::size_t> published{0};
};

// Holds one place among the open connections for as long as it lives.
class ConnectionSlot {
 public:
  explicit ConnectionSlot(ServerCounters& counters) : counters_(&counters) {
    ++counters_->connections;
  }
  ConnectionSlot(ConnectionSlot&& other) noexcept
      : counters_(std::exchange(other.counters_, nullptr)) {}
  ConnectionSlot& operator=(ConnectionSlot&&) = delete;
  ~ConnectionSlot() {
    if (counters_ != nullptr) --counters_->connections;
  }

 private:
  ServerCounters* counters_;
};

class ViewerStream;

// The viewers and the numbered events they follow.
class ViewerHub {
 public:
  ViewerHub(std::string epoch, std::size_t historyEvents, ServerCounters& counters);

  bool full(std::size_t maxViewers) const { return viewers_.size() >= maxViewers; }
  void add(ViewerStream* viewer);
  void remove(ViewerStream* viewer);

  // Numbers the state (an unchanged state is no event) and sends it to every viewer.
  void publish(Frame json);
  // Sends a frame outside the numbered events (a heartbeat comment) to every viewer.
  void broadcastHeartbeat(const Frame& frame);
  // Drops the viewers that have not taken a frame within the write deadline.
  void dropStalled();
  // What a new viewer is sent first: the events it missed, or the current state when it cannot
  // be told what it missed (or says nothing of what it saw).
  std::vector<Frame> firstFramesFor(std::string_view lastEventId) const;
  // The current state as JSON, or null before anything was published.
  Frame currentJson() const;

 private:
  // Writes the frame to every viewer: one batch for those with nothing waiting, the queue for
  // the rest.
  void broadcast(const Frame& frame, bool isState);

  room::RoomEventLog log_;
  ServerCounters& counters_;
  std::vector<ViewerStream*> viewers_;  // each knows its place (hubIndex)
  SocketFanout fanout_;
  // Kept between broadcasts so that a change allocates nothing per viewer.
  std::vector<ViewerStream*> idle_;
  std::vector<int> idleSockets_;
  std::vector<long> results_;
};

struct ServerContext {
  ServerContext(WebBoardOptions opts, std::string epoch)
      : options(std::move(opts)), hub(std::move(epoch), options.historyEvents, counters) {}

  WebBoardOptions options;
  ServerCounters counters;
  ViewerHub hub;
};

}  // namespace vorlix::web::detail
