#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace app {

// The folder that holds the program's resources, and the look-up of a resource by name and kind.
class Bundle {
 public:
  explicit Bundle(std::filesystem::path resourceDirectory)
      : directory_(std::move(resourceDirectory)) {}

  // The resources installed next to the running program.
  static const Bundle& mainBundle();

  // The file "NAME.EXTENSION" of the bundle, when it exists.
  std::optional<std::filesystem::path> urlForResource(const std::string& name,
                                                      const std::string& extension) const;
  const std::filesystem::path& directory() const { return directory_; }

 private:
  std::filesystem::path directory_;
};

}  // namespace app
