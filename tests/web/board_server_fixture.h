#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "board_client.h"
#include "hosts/web/web_board_server.h"
#include "scripted_room.h"

namespace vorlix::web::testing {

// A web board on 127.0.0.1 with a port of its own, and the fixed game to feed it.
class BoardServerTest : public ::testing::Test {
 protected:
  void startServer(WebBoardOptions options = {}) {
    options.listen = {"127.0.0.1", 0};
    server_ = std::make_unique<WebBoardServer>(options);
  }
  WebBoardServer& server() { return *server_; }
  std::uint16_t port() { return server_->port(); }

  // Publishes and waits until the I/O thread has taken the state in.
  void publishAndSettle(const room::RoomState& state) {
    const std::size_t before = server_->stats().published;
    server_->publish(state);
    EXPECT_TRUE(eventually([&] { return server_->stats().published > before; }));
  }

  // Polls a condition of the real server until it holds or the deadline passes.
  static bool eventually(const std::function<bool()>& condition,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  const std::vector<room::RoomState> states_ = scriptedRoomStates();

 private:
  std::unique_ptr<WebBoardServer> server_;
};

}  // namespace vorlix::web::testing
