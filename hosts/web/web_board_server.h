#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "hosts/web/listen_address.h"
#include "room/room_state.h"

namespace vorlix::web {

struct WebBoardOptions {
  ListenAddress listen;
  std::size_t maxViewers = 10000;
  // Events kept for viewers that reconnect; one further behind gets the whole state.
  std::size_t historyEvents = 64;
  // Frames waiting for one viewer; beyond this the waiting states give way to the newest one.
  std::size_t maxQueuedBytesPerViewer = 64 * 1024;
  std::size_t maxRequestHeaderBytes = 8 * 1024;
  // The whole request must arrive within this (a client trickling its headers is cut off).
  std::chrono::milliseconds requestTimeout{10'000};
  // How long a kept-alive connection may sit between requests.
  std::chrono::milliseconds idleTimeout{30'000};
  // A viewer that does not take a frame within this is dropped.
  std::chrono::milliseconds writeTimeout{20'000};
  // Quiet streams get a comment line this often, so dead viewers are found and proxies keep them.
  std::chrono::milliseconds heartbeat{15'000};
};

// A listening socket that cannot be had: a port in use, a bad address, a denied bind.
class WebBoardError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct WebBoardStats {
  std::size_t connections = 0;  // open HTTP connections, viewers included
  std::size_t viewers = 0;      // open event streams
  std::size_t refused = 0;      // answered 503 at the viewer cap
  std::size_t droppedSlow = 0;  // viewers dropped at the write deadline
  std::size_t published = 0;    // states the I/O thread has taken in
};

// The web board: serves the page, the state and the stream of changes to every phone and TV in
// the hall, read-only, from one I/O thread of its own.
//   GET /            the page (one self-contained HTML file)
//   GET /state.json  the current state (room::toJson)
//   GET /events      Server-Sent Events: the state on connect, then one event per change
class WebBoardServer {
 public:
  // Listens at once (throws WebBoardError when it cannot) and starts the I/O thread.
  explicit WebBoardServer(WebBoardOptions options);
  ~WebBoardServer();
  WebBoardServer(const WebBoardServer&) = delete;
  WebBoardServer& operator=(const WebBoardServer&) = delete;

  // From any thread, typically the game's after each event. Serialises here and hands the bytes
  // to the I/O thread; never waits on the network.
  void publish(const room::RoomState& state);

  std::uint16_t port() const;   // the bound port (useful when asked for port 0)
  std::string address() const;  // the bound address, "0.0.0.0" for every interface
  WebBoardStats stats() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vorlix::web
