#include "hosts/web/http_session.h"

#include "hosts/web/board_page.h"
#include "hosts/web/viewer_stream.h"

namespace vorlix::web::detail {
namespace {

namespace beast = boost::beast;

std::string_view pathOf(std::string_view target) {
  return target.substr(0, target.find('?'));
}

// The id of the last event a viewer saw: the header EventSource sends when it reconnects, or the
// query a page that makes a fresh EventSource passes instead ("/events?lastEventId=...").
std::string_view lastEventIdOf(const http::request<http::empty_body>& request) {
  const auto header = request.find("Last-Event-ID");
  if (header != request.end()) return header->value();
  const std::string_view target = request.target();
  const std::string_view key = "lastEventId=";
  const auto at = target.find(key);
  if (at == std::string_view::npos) return {};
  const std::string_view rest = target.substr(at + key.size());
  return rest.substr(0, rest.find('&'));
}

bool isParseError(const boost::system::error_code& error) {
  return error.category() == http::make_error_code(http::error::bad_target).category() &&
         error != http::error::end_of_stream;
}

}  // namespace

HttpSession::HttpSession(tcp::socket socket, ServerContext& context, ConnectionSlot slot)
    : stream_(std::move(socket)),
      buffer_(context.options.maxRequestHeaderBytes),
      context_(context),
      slot_(std::move(slot)) {}

void HttpSession::start() {
  readRequest(context_.options.requestTimeout);
}

void HttpSession::readRequest(std::chrono::milliseconds timeout) {
  parser_.emplace();
  parser_->header_limit(static_cast<std::uint32_t>(context_.options.maxRequestHeaderBytes));
  parser_->body_limit(0);
  // One deadline for the whole request, so a client trickling bytes cannot hold the connection.
  stream_.expires_after(timeout);
  http::async_read(
      stream_, buffer_, *parser_,
      [self = shared_from_this()](boost::system::error_code ec, std::size_t) { self->onRead(ec); });
}

void HttpSession::onRead(boost::system::error_code error) {
  if (error == http::error::header_limit || error == http::error::buffer_overflow) {
    write(makePlainResponse(http::status::request_header_fields_too_large, 11, false));
    return;
  }
  if (error && isParseError(error)) {
    write(makePlainResponse(http::status::bad_request, 11, false));
    return;
  }
  if (error) {
    shutDown();  // gone, timed out or reset: nothing to answer
    return;
  }
  answer(parser_->get());
}

void HttpSession::answer(const Request& request) {
  const std::string_view path = pathOf(request.target());
  const unsigned version = request.version();
  const bool keepAlive = request.keep_alive();
  const bool known = path == "/" || path == "/state.json" || path == "/events";
  if (!known) {
    write(makePlainResponse(http::status::not_found, version, keepAlive));
  } else if (request.method() != http::verb::get) {
    write(makePlainResponse(http::status::method_not_allowed, version, keepAlive));
  } else if (path == "/") {
    write(makeResponse(http::status::ok, "text/html; charset=utf-8", std::string(boardPageHtml()),
                       version, keepAlive));
  } else if (path == "/state.json") {
    const Frame json = context_.hub.currentJson();
    write(makeResponse(http::status::ok, "application/json", json ? *json : std::string("null"),
                       version, keepAlive));
  } else {
    startEventStream(request);
  }
}

void HttpSession::startEventStream(const Request& request) {
  if (context_.hub.full(context_.options.maxViewers)) {
    ++context_.counters.refused;
    write(makePlainResponse(http::status::service_unavailable, request.version(), false));
    return;
  }
  const std::vector<Frame> first = context_.hub.firstFramesFor(lastEventIdOf(request));
  stream_.expires_never();
  auto viewer =
      std::make_shared<ViewerStream>(stream_.release_socket(), context_, std::move(slot_));
  viewer->start(first);
}

void HttpSession::write(Response response) {
  auto message = std::make_shared<Response>(std::move(response));
  stream_.expires_after(context_.options.writeTimeout);
  http::async_write(
      stream_, *message,
      [self = shared_from_this(), message](boost::system::error_code ec, std::size_t) {
        if (ec || !message->keep_alive()) {
          self->shutDown();
          return;
        }
        self->readRequest(self->context_.options.idleTimeout);
      });
}

void HttpSession::shutDown() {
  boost::system::error_code ignored;
  stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
  stream_.close();
}

}  // namespace vorlix::web::detail
