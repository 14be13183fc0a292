#include "platform/message_text.h"

#include <array>

namespace platform {
namespace {

std::string hexEscape(unsigned char byte) {
  static constexpr std::array<char, 16> kDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                                '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
  return std::string("\\x") + kDigits[byte >> 4] + kDigits[byte & 0xf];
}

std::string controlEscape(unsigned char byte) {
  switch (byte) {
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    case 0x1b:
      return "\\e";
    default:
      return hexEscape(byte);
  }
}

// The length of the well-formed UTF-8 sequence starting at `at`, or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  if (lead >= 0xc2 && lead <= 0xdf)
    length = 2;
  else if (lead >= 0xe0 && lead <= 0xef)
    length = 3;
  else if (lead >= 0xf0 && lead <= 0xf4)
    length = 4;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[at + i]) & 0xc0) != 0x80) return 0;
  // C1 control characters (U+0080..U+009F) act as escapes on some terminals.
  if (lead == 0xc2 && static_cast<unsigned char>(text[at + 1]) < 0xa0) return 0;
  return length;
}

}  // namespace

std::string printableExcerpt(std::string_view text, std::size_t longest) {
  std::string shown;
  std::size_t characters = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (characters == longest) return shown + "...";
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= 0x20 && byte < 0x7f) {
      shown += static_cast<char>(byte);
      ++at;
    } else if (const std::size_t length = byte >= 0x80 ? utf8SequenceLength(text, at) : 0) {
      shown.append(text.substr(at, length));
      at += length;
    } else {
      shown += byte >= 0x80 ? hexEscape(byte) : controlEscape(byte);
      ++at;
    }
    ++characters;
  }
  return shown;
}

}  // namespace platform
