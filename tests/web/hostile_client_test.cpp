#include <gtest/gtest.h>

#include <list>

#include "board_server_fixture.h"

namespace vorlix::web::testing {
namespace {

using namespace std::chrono_literals;
using HostileClients = BoardServerTest;

// After whatever was done to it, the server still answers and still streams.
void expectServing(std::uint16_t port, const room::RoomState& state) {
  EXPECT_EQ(request(port, http::verb::get, "/state.json").body, room::toJson(state));
  EventStreamClient viewer(port);
  EXPECT_EQ(viewer.next().value().data, room::toJson(state));
}

TEST_F(HostileClients, MalformedOrOversizedRequestsGetAnErrorAndTheDoorClosed) {
  startServer();
  publishAndSettle(states_[2]);
  const std::string huge(20 * 1024, 'a');
  const struct {
    const char* what;
    std::string bytes;
    const char* statusLine;
  } cases[] = {
      {"garbage", "GARBAGE\r\n\r\n", "HTTP/1.1 400"},
      {"no target", "GET\r\n\r\n", "HTTP/1.1 400"},
      {"bad version", "GET / HTTP/9.9\r\n\r\n", "HTTP/1.1 400"},
      {"binary", std::string("\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03", 11) + "\r\n\r\n",
       "HTTP/1.1 400"},
      {"bad header", "GET / HTTP/1.1\r\nNo colon here\r\n\r\n", "HTTP/1.1 400"},
      {"a body", "GET / HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello", "HTTP/1.1 400"},
      {"huge target", "GET /" + huge + " HTTP/1.1\r\n\r\n", "HTTP/1.1 431"},
      {"huge header", "GET / HTTP/1.1\r\nX-Big: " + huge + "\r\n\r\n", "HTTP/1.1 431"},
  };
  for (const auto& c : cases) {
    RawClient client(port());
    client.send(c.bytes);
    const auto line = client.readUntil("\r\n");
    ASSERT_TRUE(line) << c.what;
    EXPECT_EQ(line->substr(0, 12), c.statusLine) << c.what;
    EXPECT_TRUE(client.closedByServer()) << c.what;
  }
  expectServing(port(), states_[2]);
}

TEST_F(HostileClients, SlowAndSilentClientsAreCutOffAtTheDeadline) {
  WebBoardOptions options;
  options.requestTimeout = 300ms;
  options.idleTimeout = 300ms;
  startServer(options);
  publishAndSettle(states_[1]);

  RawClient silent(port());
  RawClient trickling(port());
  trickling.send("GET / HTTP/1.1\r\n");
  const auto start = std::chrono::steady_clock::now();
  // A byte at a time keeps the connection busy but does not extend the request's deadline.
  for (int i = 0; i < 30 && trickling.socket().is_open(); ++i) {
    trickling.send("X");
    if (trickling.closedByServer(50ms)) break;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
  EXPECT_TRUE(silent.closedByServer());
  EXPECT_TRUE(eventually([&] { return server().stats().connections == 0; }));
  expectServing(port(), states_[1]);
}

TEST_F(HostileClients, AThousandConnectionsOpenedAndDroppedLeaveNothingBehind) {
  startServer();
  publishAndSettle(states_[4]);
  {
    std::list<RawClient> clients;
    for (int i = 0; i < 1000; ++i) {
      RawClient& client = clients.emplace_back(port());
      if (i % 3 == 1) client.send("GET /events HTTP/1.1\r\n\r\n");
      if (i % 3 == 2) client.send("GET / HT");
      if (i % 2 == 0) client.socket().set_option(net::socket_base::linger(true, 0));  // reset
    }
    ASSERT_TRUE(eventually([&] { return server().stats().viewers > 300; }));
  }
  EXPECT_TRUE(eventually([&] { return server().stats().connections == 0; }));
  EXPECT_EQ(server().stats().viewers, 0u);
  expectServing(port(), states_[4]);
}

TEST_F(HostileClients, AViewerThatNeverReadsIsDroppedWhilePublishingGoesOn) {
  WebBoardOptions options;
  options.maxQueuedBytesPerViewer = 16 * 1024;
  options.writeTimeout = 1s;
  startServer(options);
  publishAndSettle(states_[0]);

  RawClient stuck(port());
  stuck.socket().set_option(net::socket_base::receive_buffer_size(4096));
  stuck.send("GET /events HTTP/1.1\r\n\r\n");
  room::RoomState sentinel;
  sentinel.venue = "The end";
  const std::string lastState = room::toJson(sentinel);
  EventStreamClient reader(port());
  ASSERT_TRUE(eventually([&] { return server().stats().viewers == 2; }));
  // A viewer that keeps up, reading on its own thread until the last state arrives.
  bool readerSawTheEnd = false;
  std::thread readerThread([&] {
    while (auto event = reader.next()) {
      if (event->data == lastState) {
        readerSawTheEnd = true;
        return;
      }
    }
  });

  // Changes go on while one viewer reads nothing, until its socket is full and it is dropped:
  // the game's side never waits on it.
  for (std::size_t i = 1; i <= 400'000 && server().stats().droppedSlow == 0; ++i) {
    server().publish(states_[i % states_.size()]);
    if (i % 100 == 0) std::this_thread::sleep_for(1ms);  // a pace the reader keeps up with
  }
  server().publish(sentinel);
  readerThread.join();
  EXPECT_TRUE(readerSawTheEnd);
  EXPECT_TRUE(eventually([&] { return server().stats().viewers == 1; }));
  EXPECT_EQ(server().stats().droppedSlow, 1u);
}

}  // namespace
}  // namespace vorlix::web::testing
