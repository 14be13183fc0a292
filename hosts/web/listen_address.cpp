#include "hosts/web/listen_address.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace vorlix::web {
namespace {

std::uint16_t parsePort(std::string_view digits, std::string_view whole) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
      value > 65535) {
    throw std::invalid_argument("bad port in '" + std::string(whole) +
                                "': expected a number from 0 (any free port) to 65535");
  }
  return static_cast<std::uint16_t>(value);
}

bool isIpAddress(const std::string& text, bool ipv6) {
  unsigned char buffer[sizeof(in6_addr)];
  return inet_pton(ipv6 ? AF_INET6 : AF_INET, text.c_str(), buffer) == 1;
}

}  // namespace

ListenAddress parseListenAddress(std::string_view text) {
  ListenAddress result;
  if (text.empty()) return result;
  if (text.front() == '[') {
    const auto close = text.find("]:");
    if (close == std::string_view::npos) {
      throw std::invalid_argument("bad address '" + std::string(text) +
                                  "': an IPv6 address is written [ADDRESS]:PORT");
    }
    result.address = std::string(text.substr(1, close - 1));
    result.port = parsePort(text.substr(close + 2), text);
    if (!isIpAddress(result.address, true)) {
      throw std::invalid_argument("bad address '" + std::string(text) + "': not an IPv6 address");
    }
    return result;
  }
  const auto colon = text.rfind(':');
  if (colon == std::string_view::npos) {
    result.port = parsePort(text, text);
    return result;
  }
  if (text.find(':') != colon) {
    throw std::invalid_argument("bad address '" + std::string(text) +
                                "': an IPv6 address is written [ADDRESS]:PORT");
  }
  result.address = std::string(text.substr(0, colon));
  result.port = parsePort(text.substr(colon + 1), text);
  if (result.address == "localhost") result.address = "127.0.0.1";
  if (!isIpAddress(result.address, false)) {
    throw std::invalid_argument("bad address '" + std::string(text) +
                                "': expected [ADDRESS:]PORT with an IP address");
  }
  return result;
}

std::vector<LanAddress> lanAddresses() {
  std::vector<LanAddress> found;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return found;
  for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || (entry->ifa_flags & IFF_UP) == 0 ||
        (entry->ifa_flags & IFF_LOOPBACK) != 0) {
      continue;
    }
    char text[INET6_ADDRSTRLEN] = {};
    const int family = entry->ifa_addr->sa_family;
    if (family == AF_INET) {
      const auto* v4 = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
      inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
      found.push_back({entry->ifa_name, text, false});
    } else if (family == AF_INET6) {
      const auto* v6 = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
      // Link-local addresses need a zone that a phone cannot be told through a QR code.
      if (IN6_IS_ADDR_LINKLOCAL(&v6->sin6_addr)) continue;
      inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
      found.push_back({entry->ifa_name, text, true});
    }
  }
  freeifaddrs(list);
  std::stable_partition(found.begin(), found.end(), [](const LanAddress& a) { return !a.ipv6; });
  return found;
}

std::string boardUrl(const LanAddress& address, std::uint16_t port) {
  const std::string host = address.ipv6 ? "[" + address.address + "]" : address.address;
  return "http://" + host + ":" + std::to_string(port) + "/";
}

}  // namespace vorlix::web
