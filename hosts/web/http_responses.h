#pragma once

#include <boost/beast/http.hpp>
#include <string>
#include <string_view>

namespace vorlix::web::detail {

namespace http = boost::beast::http;
using Response = http::response<http::string_body>;

// A response with the headers every answer carries: no sniffing, no framing, a policy that lets
// the page talk only to this server, no cookies ever.
Response makeResponse(http::status status, std::string_view contentType, std::string body,
                      unsigned version, bool keepAlive);
Response makePlainResponse(http::status status, unsigned version, bool keepAlive);

// The head of an event stream, written as raw bytes since the stream's length is never known.
const std::string& eventStreamHead();

// A minimal answer written straight to a socket that is refused before any request is read.
const std::string& serviceUnavailableBytes();

}  // namespace vorlix::web::detail
