#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hosts/web/web_board_server.h"
#include "room/room_state.h"

namespace vorlix::web {

// The addresses to open a board at that listens on `bound` (as WebBoardServer::address gives
// it): that address, or, on every interface, each of `lan` it can be reached at (IPv4 only on
// 0.0.0.0); the loopback address when there is none.
std::vector<std::string> boardUrls(const std::string& bound, std::uint16_t port,
                                   const std::vector<LanAddress>& lan);

// The web board as a host turns it on and off: it keeps the room's latest state, so a board
// started mid-game shows the game at once, and it says where people can open it.
class BoardSwitch {
 public:
  explicit BoardSwitch(WebBoardOptions options) : options_(std::move(options)) {}

  // Starts serving the latest state; throws WebBoardError, its message fit for the host, when
  // it cannot listen. Serving already: nothing changes.
  void start();
  void stop() { server_.reset(); }
  bool serving() const { return server_ != nullptr; }

  // Keeps the state and, when serving, hands it to the server. Call after every event.
  void publish(const room::RoomState& state);

  // The addresses to open the board at (boardUrls with this machine's LAN addresses); empty when
  // it is not serving.
  std::vector<std::string> urls() const;
  // "Web board: http://192.168.1.20:8090/", one line for each address.
  std::vector<std::string> addressLines() const;

  const WebBoardServer* server() const { return server_.get(); }

 private:
  WebBoardOptions options_;
  room::RoomState latest_;
  std::unique_ptr<WebBoardServer> server_;
};

}  // namespace vorlix::web
