#pragma once

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <optional>
#include <string>

// Clients of the web board over real sockets on 127.0.0.1, each operation bounded by a deadline
// so that a server that hangs fails the test instead of stalling it.
namespace vorlix::web::testing {

namespace net = boost::asio;
namespace http = boost::beast::http;
using tcp = net::ip::tcp;
using namespace std::chrono_literals;

// A plain connection: bytes in, bytes out.
class RawClient {
 public:
  explicit RawClient(std::uint16_t port) : socket_(io_) {
    socket_.connect({net::ip::make_address("127.0.0.1"), port});
  }

  void send(const std::string& bytes) {
    boost::system::error_code ignored;
    net::write(socket_, net::buffer(bytes), ignored);
  }

  // Everything up to and including the delimiter, or nothing when it does not come in time.
  std::optional<std::string> readUntil(const std::string& delimiter,
                                       std::chrono::milliseconds limit = 5s) {
    std::optional<std::string> found;
    net::async_read_until(socket_, buffer_, delimiter,
                          [&](boost::system::error_code ec, std::size_t n) {
                            if (ec) return;
                            found = std::string(static_cast<const char*>(buffer_.data().data()), n);
                            buffer_.consume(n);
                          });
    runFor(limit);
    return found;
  }

  // True when the server closes the connection within the limit (whatever it sent first).
  bool closedByServer(std::chrono::milliseconds limit = 5s) {
    bool closed = false;
    readToEnd([&] { closed = true; });
    runFor(limit);
    return closed;
  }

  tcp::socket& socket() { return socket_; }

 private:
  template <typename Done>
  void readToEnd(Done done) {
    socket_.async_read_some(buffer_.prepare(4096),
                            [this, done](boost::system::error_code ec, std::size_t n) {
                              buffer_.commit(n);
                              buffer_.consume(buffer_.size());
                              if (ec) {
                                done();
                                return;
                              }
                              readToEnd(done);
                            });
  }

  void runFor(std::chrono::milliseconds limit) {
    io_.restart();
    io_.run_for(limit);
    if (!io_.stopped()) {
      boost::system::error_code ignored;
      socket_.cancel(ignored);
      io_.restart();
      io_.run();
    }
  }

  net::io_context io_;
  tcp::socket socket_;
  net::streambuf buffer_;
};

struct Reply {
  unsigned status = 0;
  http::fields headers;
  std::string body;
};

// One HTTP request with Beast, the connection closed after it.
inline Reply request(std::uint16_t port, http::verb method, const std::string& target) {
  net::io_context io;
  boost::beast::tcp_stream stream(io);
  stream.connect({net::ip::make_address("127.0.0.1"), port});
  http::request<http::empty_body> req{method, target, 11};
  req.set(http::field::host, "127.0.0.1");
  req.keep_alive(false);
  http::write(stream, req);
  boost::beast::flat_buffer buffer;
  http::response<http::string_body> res;
  stream.expires_after(5s);
  http::async_read(stream, buffer, res, [](boost::system::error_code, std::size_t) {});
  io.run();
  Reply reply;
  reply.status = res.result_int();
  reply.body = res.body();
  for (const auto& field : res) reply.headers.insert(field.name_string(), field.value());
  return reply;
}

// One event of the stream: its id and data.
struct StreamEvent {
  std::string id;
  std::string data;
};

// An EventSource of sorts: opens /events and reads the events, skipping comments and pings.
class EventStreamClient {
 public:
  EventStreamClient(std::uint16_t port, const std::string& lastEventId = "",
                    const std::string& target = "/events")
      : raw_(port) {
    std::string req =
        "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: text/event-stream\r\n";
    if (!lastEventId.empty()) req += "Last-Event-ID: " + lastEventId + "\r\n";
    raw_.send(req + "\r\n");
    head_ = raw_.readUntil("\r\n\r\n").value_or("");
  }

  const std::string& head() const { return head_; }

  std::optional<StreamEvent> next(std::chrono::milliseconds limit = 5s) {
    while (auto block = raw_.readUntil("\n\n", limit)) {
      StreamEvent event;
      bool named = false;
      std::size_t at = 0;
      while (at < block->size()) {
        const std::size_t end = block->find('\n', at);
        const std::string line = block->substr(at, end - at);
        at = end + 1;
        if (line.rfind("id: ", 0) == 0) event.id = line.substr(4);
        if (line.rfind("data: ", 0) == 0) event.data = line.substr(6);
        if (line.rfind("event: ", 0) == 0) named = true;
      }
      if (!event.data.empty() && !named) return event;
    }
    return std::nullopt;
  }

 private:
  RawClient raw_;
  std::string head_;
};

}  // namespace vorlix::web::testing
