#include "hosts/qt/session_bus.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace qthost {
namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool launcherIn(std::string_view directory) {
  const std::string path =
      (directory.empty() ? std::string(".") : std::string(directory)) + "/dbus-launch";
  return ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool sessionBusCanBeHad(const std::string& address, const std::string& runtimeDirectory,
                        const std::string& searchPath) {
  if (!address.empty()) return true;
  std::error_code ignored;
  if (!runtimeDirectory.empty() &&
      std::filesystem::exists(std::filesystem::path(runtimeDirectory) / "bus", ignored))
    return true;
  std::string_view rest = searchPath;
  for (;;) {
    const auto colon = rest.find(':');
    if (launcherIn(rest.substr(0, colon))) return true;
    if (colon == std::string_view::npos) return false;
    rest.remove_prefix(colon + 1);
  }
}

void skipHopelessSessionBusLaunch() {
  // The library runs the dbus-launch it was built with (/usr/bin's), then looks along PATH, or
  // along the C library's default path when PATH is not set.
  const char* path = std::getenv("PATH");
  const std::string searchPath =
      std::string("/usr/bin:") + (path != nullptr ? path : "/bin:/usr/bin");
  if (sessionBusCanBeHad(environmentValue("DBUS_SESSION_BUS_ADDRESS"),
                         environmentValue("XDG_RUNTIME_DIR"), searchPath))
    return;
  // An address of no known kind: the library refuses it at once, and Qt goes on without a bus,
  // as it would have after the failed launch.
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

}  // namespace qthost
