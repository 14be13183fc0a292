#include "hosts/web/http_responses.h"

namespace vorlix::web::detail {
namespace {

// The page's script and style are inline, so they are allowed; everything else (other hosts,
// frames, forms, plugins) is not. The page builds its content with textContent only.
constexpr std::string_view kContentSecurityPolicy =
    "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
    "connect-src 'self'; img-src 'self' data:; base-uri 'none'; form-action 'none'; "
    "frame-ancestors 'none'";

}  // namespace

Response makeResponse(http::status status, std::string_view contentType, std::string body,
                      unsigned version, bool keepAlive) {
  Response response{status, version};
  response.set(http::field::content_type, contentType);
  response.set("Content-Security-Policy", kContentSecurityPolicy);
  response.set("X-Content-Type-Options", "nosniff");
  response.set("X-Frame-Options", "DENY");
  response.set("Referrer-Policy", "no-referrer");
  response.set(http::field::cache_control, "no-store");
  response.keep_alive(keepAlive);
  response.body() = std::move(body);
  response.prepare_payload();
  return response;
}

Response makePlainResponse(http::status status, unsigned version, bool keepAlive) {
  std::string body(http::obsolete_reason(status));
  body += '\n';
  Response response =
      makeResponse(status, "text/plain; charset=utf-8", std::move(body), version, keepAlive);
  if (status == http::status::method_not_allowed) response.set(http::field::allow, "GET");
  return response;
}

const std::string& eventStreamHead() {
  static const std::string head =
      "HTTP/1.1 200 OK\r\n"
      "Content-Type: text/event-stream; charset=utf-8\r\n"
      "Cache-Control: no-store\r\n"
      "X-Content-Type-Options: nosniff\r\n"
      "Content-Security-Policy: " +
      std::string(kContentSecurityPolicy) +
      "\r\n"
      "X-Accel-Buffering: no\r\n"
      "Connection: close\r\n"
      "\r\n"
      // Reconnect soon after a lost connection.
      "retry: 1000\n\n";
  return head;
}

const std::string& serviceUnavailableBytes() {
  static const std::string bytes =
      "HTTP/1.1 503 Service Unavailable\r\n"
      "Content-Type: text/plain; charset=utf-8\r\n"
      "Content-Length: 20\r\n"
      "X-Content-Type-Options: nosniff\r\n"
      "Connection: close\r\n"
      "\r\n"
      "Service Unavailable\n";
  return bytes;
}

}  // namespace vorlix::web::detail
