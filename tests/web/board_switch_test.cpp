// The web board switched on and off by a host: a board started mid-game shows the game at once,
// a stopped one frees its port.
#include <gtest/gtest.h>

#include "board_server_fixture.h"
#include "hosts/web/board_switch.h"

namespace vorlix::web::testing {
namespace {

using BoardSwitchTest = BoardServerTest;

WebBoardOptions onLoopback(std::uint16_t port) {
  WebBoardOptions options;
  options.listen = {"127.0.0.1", port};
  return options;
}

TEST_F(BoardSwitchTest, StartsWithTheLatestStateStopsAndStartsAgain) {
  const auto states = scriptedRoomStates();
  BoardSwitch board(onLoopback(0));
  EXPECT_TRUE(board.urls().empty());
  board.publish(states[3]);  // the game goes on before anyone serves it
  board.start();
  ASSERT_TRUE(board.serving());
  const std::uint16_t port = board.server()->port();
  EXPECT_EQ(board.urls(),
            std::vector<std::string>{"http://127.0.0.1:" + std::to_string(port) + "/"});
  EXPECT_EQ(board.addressLines().front(), "Web board: " + board.urls().front());
  EXPECT_EQ(request(port, http::verb::get, "/state.json").body, room::toJson(states[3]));
  board.start();  // already serving: the same server
  EXPECT_EQ(board.server()->port(), port);

  board.publish(states[4]);
  EXPECT_TRUE(eventually([&] {
    return request(port, http::verb::get, "/state.json").body == room::toJson(states[4]);
  }));

  board.stop();
  EXPECT_FALSE(board.serving());
  EXPECT_THROW(RawClient{port}, boost::system::system_error) << "the port is let go";
  board.publish(states[5]);
  board.start();
  EXPECT_EQ(request(board.server()->port(), http::verb::get, "/state.json").body,
            room::toJson(states[5]));
}

TEST(BoardUrls, OneAddressOrEachLanAddressTheSocketTakes) {
  const std::vector<LanAddress> lan = {
      {"eth0", "192.168.1.20", false}, {"wlan0", "10.0.0.7", false}, {"eth0", "fd00::2", true}};
  const std::vector<std::tuple<std::string, std::vector<LanAddress>, std::vector<std::string>>>
      cases = {
          {"127.0.0.1", lan, {"http://127.0.0.1:8090/"}},
          {"::1", lan, {"http://[::1]:8090/"}},
          {"0.0.0.0", lan, {"http://192.168.1.20:8090/", "http://10.0.0.7:8090/"}},
          {"::",
           lan,
           {"http://192.168.1.20:8090/", "http://10.0.0.7:8090/", "http://[fd00::2]:8090/"}},
          {"0.0.0.0", {}, {"http://127.0.0.1:8090/"}},
          {"0.0.0.0", {{"eth0", "fd00::2", true}}, {"http://127.0.0.1:8090/"}},
      };
  for (const auto& [bound, addresses, expected] : cases) {
    EXPECT_EQ(boardUrls(bound, 8090, addresses), expected) << bound;
  }
}

}  // namespace
}  // namespace vorlix::web::testing
