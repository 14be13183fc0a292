// The store stack's coordinator attaches the game record where the documents directory says, only
// when asked.
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "app/app_delegate.h"

namespace {

namespace fs = std::filesystem;

TEST(StoreAttachment, TheCoordinatorAttachesTheRecordOnceOnlyWhenAsked) {
  const fs::path documents =
      fs::path(testing::TempDir()) / ("vorlix-attach-" + std::to_string(::getpid()));
  fs::remove_all(documents);
  std::ostringstream errors;
  const auto delegateFor = [&](bool attach) {
    app::DelegateEnvironment environment;
    environment.documentDirectories = [&] { return std::vector<fs::path>{documents}; };
    environment.errors = &errors;
    auto delegate = std::make_unique<app::AppDelegate>(std::move(environment));
    if (attach) delegate->attachStoreWhenBuilt();
    return delegate;
  };

  auto unattached = delegateFor(false);
  ASSERT_TRUE(unattached->persistentStoreCoordinator());
  EXPECT_FALSE(unattached->persistentStoreCoordinator()->persistentStore());
  EXPECT_FALSE(fs::exists(documents / "Vorlix.sqlite")) << "nothing is made unless asked";

  auto first = delegateFor(true);
  const auto& store = first->persistentStoreCoordinator()->persistentStore();
  ASSERT_TRUE(store) << errors.str();
  EXPECT_EQ(store->file(), documents / "Vorlix.sqlite");
  EXPECT_EQ(first->persistentStoreCoordinator()->persistentStore(), store);

  first.reset();
  fs::remove_all(documents);
}

TEST(StoreAttachment, TheDocumentsDirectoryIsTheCallersFolderInTheDataHome) {
  const char* savedDataHome = std::getenv("XDG_DATA_HOME");
  const std::string saved = savedDataHome ? savedDataHome : "";
  ::setenv("XDG_DATA_HOME", "/srv/data", 1);
  EXPECT_EQ(app::userDocumentDirectories(), std::vector<fs::path>{"/srv/data/vorlix-caller"});
  ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
  EXPECT_EQ(app::defaultStoreFile(),
            fs::path(std::getenv("HOME")) / ".local/share/vorlix-caller/Vorlix.sqlite");
  if (savedDataHome)
    ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
