#pragma once

#include <array>
#include <string_view>

namespace hostkit {

// The keys of the room's displays, beside the controls' keys of the catalogue: the same in the
// window and the terminal, but for the audience window, which only the window has.
struct RoomKey {
  char character;         // lower case, as the hosts compare keys
  std::string_view name;  // as shown in the key help
  std::string_view help;
  bool windowOnly = false;
};

inline constexpr RoomKey kAudienceKey{'d', "D", "the audience window for the room: open or close",
                                      true};
inline constexpr RoomKey kAddressKey{'j', "J", "the web board's address and QR code: show or hide"};
inline constexpr RoomKey kServeKey{'w', "W",
                                   "serve the web board to phones in the hall: start or stop"};
inline constexpr std::array<RoomKey, 3> kRoomKeys = {kAudienceKey, kAddressKey, kServeKey};

// What the address card says while the web board is not served.
inline constexpr std::string_view kNotServingLine =
    "The web board is not being served: W starts it";

}  // namespace hostkit
