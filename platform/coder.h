#pragma once

#include <map>
#include <optional>
#include <string>

namespace platform {

// The decoded attributes of one object of a stored interface description.
class Coder {
 public:
  Coder() = default;
  explicit Coder(std::map<std::string, std::string> values) : values_(std::move(values)) {}

  std::optional<std::string> decodeString(const std::string& key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::string, std::string> values_;
};

}  // namespace platform
