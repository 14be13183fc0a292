#include "hosts/web/web_board_server.h"

#include <chrono>
#include <thread>

#include "hosts/web/http_responses.h"
#include "hosts/web/http_session.h"
#include "hosts/web/server_context.h"

namespace vorlix::web {

using namespace detail;

namespace {

// Room for page loads and state requests beside the viewers before connections are refused.
constexpr std::size_t kConnectionsBesideViewers = 256;

std::string runEpoch() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  char text[24];
  std::snprintf(text, sizeof text, "%llx",
                static_cast<unsigned long long>(
                    std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
  return text;
}

tcp::endpoint endpointFor(const ListenAddress& listen) {
  boost::system::error_code error;
  const auto address =
      net::ip::make_address(listen.address.empty() ? "0.0.0.0" : listen.address, error);
  if (error) throw WebBoardError("web board: '" + listen.address + "' is not an IP address");
  return {address, listen.port};
}

}  // namespace

class WebBoardServer::Impl {
 public:
  explicit Impl(WebBoardOptions options)
      : context_(std::move(options), runEpoch()),
        io_(1),
        acceptor_(io_),
        acceptRetry_(io_),
        heartbeat_(io_),
        sweep_(io_) {
    listen();
    accept();
    beat();
    sweepStalled();
    thread_ = std::thread([this] { io_.run(); });
  }

  ~Impl() {
    io_.stop();
    if (thread_.joinable()) thread_.join();
  }

  void publish(const room::RoomState& state) {
    auto json = std::make_shared<const std::string>(room::toJson(state));
    net::post(io_,
              [this, json = std::move(json)]() mutable { context_.hub.publish(std::move(json)); });
  }

  std::uint16_t port() const { return bound_.port(); }
  std::string address() const { return bound_.address().to_string(); }

  WebBoardStats stats() const {
    const ServerCounters& c = context_.counters;
    return {c.connections, c.viewers, c.refused, c.droppedSlow, c.published};
  }

 private:
  void listen() {
    const tcp::endpoint wanted = endpointFor(context_.options.listen);
    const std::string where =
        wanted.address().is_v6()
            ? "[" + wanted.address().to_string() + "]:" + std::to_string(wanted.port())
            : wanted.address().to_string() + ":" + std::to_string(wanted.port());
    boost::system::error_code error;
    acceptor_.open(wanted.protocol(), error);
    if (!error) acceptor_.set_option(net::socket_base::reuse_address(true), error);
    if (!error) acceptor_.bind(wanted, error);
    if (!error) acceptor_.listen(net::socket_base::max_listen_connections, error);
    if (error) throw WebBoardError("web board: cannot listen on " + where + ": " + error.message());
    bound_ = acceptor_.local_endpoint();
  }

  void accept() {
    acceptor_.async_accept([this](boost::system::error_code error, tcp::socket socket) {
      if (error == net::error::operation_aborted) return;
      if (error) {
        // Out of descriptors or the like: try again shortly rather than spin.
        acceptRetry_.expires_after(std::chrono::milliseconds(50));
        acceptRetry_.async_wait([this](boost::system::error_code ec) {
          if (!ec) accept();
        });
        return;
      }
      welcome(std::move(socket));
      accept();
    });
  }

  void welcome(tcp::socket socket) {
    if (context_.counters.connections >= context_.options.maxViewers + kConnectionsBesideViewers) {
      ++context_.counters.refused;
      boost::system::error_code ignored;
      socket.non_blocking(true, ignored);
      socket.write_some(net::buffer(serviceUnavailableBytes()), ignored);
      socket.close(ignored);
      return;
    }
    std::make_shared<HttpSession>(std::move(socket), context_, ConnectionSlot(context_.counters))
        ->start();
  }

  void beat() {
    // A named event the page listens for, without an id so the last event id stays.
    static const Frame comment = std::make_shared<const std::string>("event: ping\ndata: 1\n\n");
    heartbeat_.expires_after(context_.options.heartbeat);
    heartbeat_.async_wait([this](boost::system::error_code error) {
      if (error) return;
      context_.hub.broadcastHeartbeat(comment);
      beat();
    });
  }

  // One timer for every viewer's write deadline, rather than one per write.
  void sweepStalled() {
    sweep_.expires_after(
        std::max(context_.options.writeTimeout / 4, std::chrono::milliseconds(20)));
    sweep_.async_wait([this](boost::system::error_code error) {
      if (error) return;
      context_.hub.dropStalled();
      sweepStalled();
    });
  }

  // Destroyed in reverse: the thread stops, the sockets and timers go, then the I/O context
  // (which frees the sessions it still holds), then what they share.
  ServerContext context_;
  net::io_context io_;
  tcp::acceptor acceptor_;
  net::steady_timer acceptRetry_;
  net::steady_timer heartbeat_;
  net::steady_timer sweep_;
  tcp::endpoint bound_;
  std::thread thread_;
};

WebBoardServer::WebBoardServer(WebBoardOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

WebBoardServer::~WebBoardServer() = default;

void WebBoardServer::publish(const room::RoomState& state) {
  impl_->publish(state);
}
std::uint16_t WebBoardServer::port() const {
  return impl_->port();
}
std::string WebBoardServer::address() const {
  return impl_->address();
}
WebBoardStats WebBoardServer::stats() const {
  return impl_->stats();
}

}  // namespace vorlix::web
