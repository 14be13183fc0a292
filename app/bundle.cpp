#include "app/bundle.h"

#include <system_error>

namespace app {
namespace {

// The folder of the running executable; the working folder if the system will not say.
std::filesystem::path executableDirectory() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error);
  return executable.parent_path();
}

}  // namespace

const Bundle& Bundle::mainBundle() {
  static const Bundle bundle(executableDirectory());
  return bundle;
}

std::optional<std::filesystem::path> Bundle::urlForResource(const std::string& name,
                                                            const std::string& extension) const {
  auto path = directory_ / (name + "." + extension);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return std::nullopt;
  return path;
}

}  // namespace app
