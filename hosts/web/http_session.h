#pragma once

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <optional>

#include "hosts/web/http_responses.h"
#include "hosts/web/server_context.h"

namespace vorlix::web::detail {

// One connection until it asks for the event stream or goes: reads requests within the limits,
// answers the page and the state, and hands the socket to a ViewerStream for /events.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
 public:
  HttpSession(tcp::socket socket, ServerContext& context, ConnectionSlot slot);
  void start();

 private:
  using Request = http::request<http::empty_body>;

  void readRequest(std::chrono::milliseconds timeout);
  void onRead(boost::system::error_code error);
  void answer(const Request& request);
  void startEventStream(const Request& request);
  void write(Response response);
  void shutDown();

  boost::beast::tcp_stream stream_;
  boost::beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::empty_body>> parser_;
  ServerContext& context_;
  ConnectionSlot slot_;
};

}  // namespace vorlix::web::detail
