#include "platform/number_format.h"

#include <array>
#include <charconv>

namespace platform {

std::string shortestDecimal(double value) {
  std::array<char, 64> buffer{};
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  std::string text(buffer.data(), ec == std::errc{} ? end : buffer.data());
  if (text.find_first_of(".eEn") == std::string::npos) text += ".0";  // n: inf and nan
  return text;
}

}  // namespace platform
