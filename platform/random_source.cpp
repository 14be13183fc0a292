#include "platform/random_source.h"

#include <cstdlib>

namespace platform {

std::uint32_t SecureRandomSource::uniform(std::uint32_t upperBound) {
  return ::arc4random_uniform(upperBound);
}

std::uint32_t SeededRandomSource::uniform(std::uint32_t upperBound) {
  return uniformFromWords(upperBound,
                          [this] { return static_cast<std::uint32_t>(engine_() >> 32); });
}

}  // namespace platform

namespace platform {

std::uint32_t PresetRandomSource::uniform(std::uint32_t upperBound) {
  while (next_ < presets_.size()) {
    const std::uint32_t value = presets_[next_++];
    if (value < upperBound) return value;
  }
  return after_.uniform(upperBound);
}

}  // namespace platform
