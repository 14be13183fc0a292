// The store stack's coordinator attaches the game record where the documents directory says, only
// when asked.
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "app/app_delegate.h"
#include "tests/support/program_run.h"

namespace {

namespace fs = std::filesystem;

TEST(StoreAttachment, TheCoordinatorAttachesTheRecordOnceOnlyWhenAsked) {
  TestFolder documents;
  std::ostringstream errors;
  app::DelegateEnvironment environment;
  environment.documentDirectories = [&] { return std::vector<fs::path>{documents.path()}; };
  environment.errors = &errors;
  app::AppDelegate unattached(environment);
  ASSERT_TRUE(unattached.persistentStoreCoordinator());
  EXPECT_FALSE(unattached.persistentStoreCoordinator()->persistentStore());
  EXPECT_FALSE(fs::exists(documents.file())) << "nothing is made unless asked";

  app::AppDelegate attached(environment);
  attached.attachStoreWhenBuilt();
  const auto& store = attached.persistentStoreCoordinator()->persistentStore();
  ASSERT_TRUE(store) << errors.str();
  EXPECT_EQ(store->file(), documents.file());
  EXPECT_EQ(attached.persistentStoreCoordinator()->persistentStore(), store);
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
