#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlix::web {

// Where the web board listens. An empty address means every interface.
struct ListenAddress {
  static constexpr std::uint16_t kDefaultPort = 8090;

  std::string address;
  std::uint16_t port = kDefaultPort;

  friend bool operator==(const ListenAddress&, const ListenAddress&) = default;
};

// Reads "[ADDRESS:]PORT": "8090", "127.0.0.1:8090", "[::1]:8090", "0.0.0.0:80". An empty text
// gives the default; port 0 asks for any free port (the bound one is told once listening). Throws std::invalid_argument with a message fit for the host.
ListenAddress parseListenAddress(std::string_view text);

// One address of this machine that other machines in the hall can reach.
struct LanAddress {
  std::string interfaceName;
  std::string address;  // IPv6 addresses without brackets
  bool ipv6 = false;
};

// Every up, non-loopback interface's IPv4 address and global IPv6 address, IPv4 first.
std::vector<LanAddress> lanAddresses();

// "http://192.168.1.20:8090/" ("http://[fd00::2]:8090/" for IPv6).
std::string boardUrl(const LanAddress& address, std::uint16_t port);

}  // namespace vorlix::web
