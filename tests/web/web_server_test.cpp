#include <gtest/gtest.h>

#include "board_server_fixture.h"
#include "hosts/web/board_page.h"

namespace vorlix::web::testing {
namespace {

using BoardServer = BoardServerTest;

TEST_F(BoardServer, ServesThePageAndTheStateReadOnlyWithSafeHeaders) {
  startServer();
  EXPECT_EQ(request(port(), http::verb::get, "/state.json").body, "null");
  publishAndSettle(states_[3]);

  const Reply page = request(port(), http::verb::get, "/");
  EXPECT_EQ(page.status, 200u);
  EXPECT_EQ(page.headers[http::field::content_type], "text/html; charset=utf-8");
  EXPECT_EQ(page.body, boardPageHtml());
  // Self-contained: nothing is fetched from elsewhere.
  EXPECT_EQ(page.body.find("http://"), std::string::npos);
  EXPECT_EQ(page.body.find("https://"), std::string::npos);

  const Reply state = request(port(), http::verb::get, "/state.json?x=1");
  EXPECT_EQ(state.status, 200u);
  EXPECT_EQ(state.body, room::toJson(states_[3]));

  const struct {
    http::verb method;
    const char* target;
    unsigned status;
  } cases[] = {
      {http::verb::get, "/nothing", 404},
      {http::verb::get, "/board.html", 404},
      {http::verb::get, "/../etc/passwd", 404},
      {http::verb::get, "/events/", 404},
      {http::verb::post, "/", 405},
      {http::verb::put, "/events", 405},
      {http::verb::delete_, "/state.json", 405},
      {http::verb::post, "/elsewhere", 404},
  };
  for (const auto& c : cases) {
    const Reply reply = request(port(), c.method, c.target);
    EXPECT_EQ(reply.status, c.status) << c.target;
    if (c.status == 405) {
      EXPECT_EQ(reply.headers[http::field::allow], "GET");
    }
  }
  for (const Reply& reply : {page, state, request(port(), http::verb::get, "/nothing")}) {
    EXPECT_EQ(reply.headers["X-Content-Type-Options"], "nosniff");
    EXPECT_NE(reply.headers["Content-Security-Policy"].find("default-src 'none'"),
              std::string::npos);
    EXPECT_EQ(reply.headers.count(http::field::set_cookie), 0u);
  }
}

TEST_F(BoardServer, AViewerGetsTheStateOnConnectThenEveryChangeInOrder) {
  startServer();
  publishAndSettle(states_[0]);
  EventStreamClient viewer(port());
  EXPECT_NE(viewer.head().find("Content-Type: text/event-stream"), std::string::npos);
  EXPECT_NE(viewer.head().find("X-Content-Type-Options: nosniff"), std::string::npos);
  const auto first = viewer.next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->data, room::toJson(states_[0]));

  std::string previousId = first->id;
  for (std::size_t i = 1; i < states_.size(); ++i) server().publish(states_[i]);
  server().publish(states_.back());  // unchanged: no event
  for (std::size_t i = 1; i < states_.size(); ++i) {
    const auto event = viewer.next();
    ASSERT_TRUE(event) << "step " << i;
    EXPECT_EQ(event->data, room::toJson(states_[i])) << "step " << i;
    EXPECT_NE(event->id, previousId);
    previousId = event->id;
  }
  EXPECT_FALSE(viewer.next(std::chrono::milliseconds(200)));
}

TEST_F(BoardServer, AReconnectGetsWhatItMissedOrTheCurrentState) {
  WebBoardOptions options;
  options.historyEvents = 8;
  startServer(options);
  std::vector<std::string> ids;
  {
    EventStreamClient viewer(port());
    for (std::size_t i = 0; i < 6; ++i) {
      server().publish(states_[i]);
      ids.push_back(viewer.next().value().id);
    }
  }
  for (std::size_t i = 6; i < 10; ++i) server().publish(states_[i]);
  const auto dataAfter = [&](const std::string& lastId, const std::string& target) {
    EventStreamClient viewer(port(), lastId, target);
    std::vector<std::string> data;
    while (auto event = viewer.next(std::chrono::milliseconds(300))) data.push_back(event->data);
    return data;
  };
  std::vector<std::string> missed;
  for (std::size_t i = 4; i < 10; ++i) missed.push_back(room::toJson(states_[i]));
  EXPECT_EQ(dataAfter(ids[3], "/events"), missed) << "Last-Event-ID header";
  EXPECT_EQ(dataAfter("", "/events?lastEventId=" + ids[3]), missed) << "query of a fresh page";

  const std::vector<std::string> current = {room::toJson(states_[9])};
  EXPECT_EQ(dataAfter("", "/events"), current) << "no id";
  EXPECT_EQ(dataAfter("1-3", "/events"), current) << "an id of another run";
  for (std::size_t i = 10; i < 20; ++i) server().publish(states_[i]);
  EXPECT_EQ(dataAfter(ids[3], "/events"), std::vector<std::string>{room::toJson(states_[19])})
      << "too far behind";
}

TEST_F(BoardServer, ViewersBeyondTheCapGetAPlain503AndOthersStillGetIn) {
  WebBoardOptions options;
  options.maxViewers = 2;
  startServer(options);
  publishAndSettle(states_[1]);
  auto first = std::make_unique<EventStreamClient>(port());
  EventStreamClient second(port());
  ASSERT_TRUE(eventually([&] { return server().stats().viewers == 2; }));
  EXPECT_EQ(request(port(), http::verb::get, "/events").status, 503u);
  EXPECT_EQ(request(port(), http::verb::get, "/").status, 200u);
  EXPECT_EQ(server().stats().refused, 1u);
  first.reset();
  ASSERT_TRUE(eventually([&] { return server().stats().viewers == 1; }));
  EventStreamClient third(port());
  EXPECT_EQ(third.next().value().data, room::toJson(states_[1]));
}

TEST(BoardServerListen, AnAddressNotHereIsAClearError) {
  const auto messageFor = [](const ListenAddress& listen) -> std::string {
    try {
      WebBoardOptions wanted;
      wanted.listen = listen;
      WebBoardServer server(wanted);
    } catch (const WebBoardError& error) {
      return error.what();
    }
    return "listened";
  };
  EXPECT_NE(messageFor({"192.0.2.1", 0}).find("cannot listen on 192.0.2.1:0"), std::string::npos);
  EXPECT_NE(messageFor({"nonsense", 8090}).find("'nonsense' is not an IP address"),
            std::string::npos);
}

}  // namespace
}  // namespace vorlix::web::testing
