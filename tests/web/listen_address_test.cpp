#include "hosts/web/listen_address.h"

#include <gtest/gtest.h>

namespace vorlix::web {
namespace {

TEST(ListenAddress, ReadsAddressAndPortOrSaysWhatIsWrong) {
  const struct {
    const char* text;
    ListenAddress expected;
  } good[] = {
      {"", {"", 8090}},
      {"8090", {"", 8090}},
      {"1", {"", 1}},
      {"127.0.0.1:0", {"127.0.0.1", 0}},
      {"65535", {"", 65535}},
      {"127.0.0.1:9000", {"127.0.0.1", 9000}},
      {"0.0.0.0:80", {"0.0.0.0", 80}},
      {"localhost:8090", {"127.0.0.1", 8090}},
      {"[::1]:8090", {"::1", 8090}},
      {"[::]:8091", {"::", 8091}},
  };
  for (const auto& c : good) EXPECT_EQ(parseListenAddress(c.text), c.expected) << c.text;

  const struct {
    const char* text;
    const char* message;
  } bad[] = {
      {"65536", "bad port in '65536'"},
      {"-1", "bad port"},
      {"80a", "bad port"},
      {"127.0.0.1:", "bad port"},
      {"127.0.0.1", "bad port"},
      {"hall:8090", "bad address 'hall:8090'"},
      {"300.1.1.1:8090", "bad address"},
      {"::1:8090", "an IPv6 address is written [ADDRESS]:PORT"},
      {"[::1]", "an IPv6 address is written"},
      {"[1.2.3.4]:80", "not an IPv6 address"},
  };
  for (const auto& c : bad) {
    try {
      parseListenAddress(c.text);
      ADD_FAILURE() << c.text << " was taken";
    } catch (const std::invalid_argument& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
}

TEST(ListenAddress, LanAddressesLeaveOutLoopback) {
  for (const LanAddress& lan : lanAddresses()) {
    EXPECT_NE(lan.address, "127.0.0.1");
    EXPECT_NE(lan.address, "::1");
    EXPECT_FALSE(lan.interfaceName.empty());
  }
}

}  // namespace
}  // namespace vorlix::web
