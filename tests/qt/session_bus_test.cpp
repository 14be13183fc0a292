// The window asks for the desktop's message bus only where the D-Bus library could find or start
// one; elsewhere the library would fork the whole caller to try, and fail.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "hosts/qt/session_bus.h"

namespace {

namespace fs = std::filesystem;

TEST(SessionBus, IsSoughtOnlyWhereItCanBeFoundOrStarted) {
  const fs::path root = fs::temp_directory_path() / ("vorlix-bus-" + std::to_string(::getpid()));
  fs::remove_all(root);
  const fs::path runtime = root / "runtime", bin = root / "bin", other = root / "other";
  for (const auto& directory : {runtime, bin, other}) fs::create_directories(directory);
  const std::string path = other.string() + ":" + bin.string();

  // Nothing to find and nothing to start it with: the library would only fork and fail.
  EXPECT_FALSE(qthost::sessionBusCanBeHad("", "", path));
  EXPECT_FALSE(qthost::sessionBusCanBeHad("", runtime.string(), path));
  // A launcher that cannot be run starts nothing.
  std::ofstream(bin / "dbus-launch") << "#!/bin/sh\n";
  EXPECT_FALSE(qthost::sessionBusCanBeHad("", runtime.string(), path));

  // An address given, the user's bus, or a launcher anywhere along the path.
  EXPECT_TRUE(qthost::sessionBusCanBeHad("unix:path=/run/user/1000/bus", "", path));
  fs::permissions(bin / "dbus-launch", fs::perms::owner_exec, fs::perm_options::add);
  EXPECT_TRUE(qthost::sessionBusCanBeHad("", "", path));
  EXPECT_FALSE(qthost::sessionBusCanBeHad("", "", other.string()));
  std::ofstream(runtime / "bus");
  EXPECT_TRUE(qthost::sessionBusCanBeHad("", runtime.string(), other.string()));
  fs::remove_all(root);
}

}  // namespace
