#include "hosts/web/board_switch.h"

namespace vorlix::web {
namespace {

bool listensEverywhere(const std::string& address) {
  return address == "0.0.0.0" || address == "::";
}

}  // namespace

void BoardSwitch::start() {
  if (server_) return;
  server_ = std::make_unique<WebBoardServer>(options_);
  server_->publish(latest_);
}

void BoardSwitch::publish(const room::RoomState& state) {
  latest_ = state;
  if (server_) server_->publish(latest_);
}

std::vector<std::string> boardUrls(const std::string& bound, std::uint16_t port,
                                   const std::vector<LanAddress>& lan) {
  if (!listensEverywhere(bound)) {
    return {boardUrl({"", bound, bound.find(':') != std::string::npos}, port)};
  }
  std::vector<std::string> found;
  for (const LanAddress& address : lan) {
    if (address.ipv6 && bound == "0.0.0.0") continue;  // an IPv4 socket takes no IPv6 viewers
    found.push_back(boardUrl(address, port));
  }
  if (found.empty()) found.push_back(boardUrl({"", "127.0.0.1", false}, port));
  return found;
}

std::vector<std::string> BoardSwitch::urls() const {
  if (!server_) return {};
  return boardUrls(server_->address(), server_->port(), lanAddresses());
}

std::vector<std::string> BoardSwitch::addressLines() const {
  std::vector<std::string> lines;
  for (const std::string& url : urls()) lines.push_back("Web board: " + url);
  return lines;
}

}  // namespace vorlix::web
