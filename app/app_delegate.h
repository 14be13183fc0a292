#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/bundle.h"
#include "app/data_store.h"
#include "app/record_opening.h"
#include "app/window.h"

namespace app {

// The user's documents folders, most general first: the caller's folder in the data home,
// $XDG_DATA_HOME/vorlix-caller (by default ~/.local/share/vorlix-caller), or none without a home.
std::vector<std::filesystem::path> userDocumentDirectories();

// What the delegate reaches outside itself. Tests give their own.
struct DelegateEnvironment {
  const Bundle* bundle = nullptr;  // the main bundle when empty
  std::function<std::vector<std::filesystem::path>()> documentDirectories = userDocumentDirectories;
  std::ostream* errors = nullptr;  // standard error when empty
  // Told "model", "coordinator", "documents directory", "context" as each part of the store comes
  // into being, and "save" when the context is saved.
  std::function<void(std::string_view)> trace;
  // Told the one sentence saying why the game record cannot be kept; when empty, the sentence is
  // written to `errors`.
  std::function<void(const std::string&)> storeProblem = nullptr;
};

// Answers the application's lifecycle calls and holds the window. It also carries a store stack
// that nothing in the game uses: each part is built on its first read and then kept, and the whole
// stack is built by the save at termination, which finds nothing to save.
class AppDelegate {
 public:
  explicit AppDelegate(DelegateEnvironment environment = {});

  Window* window() const { return window_.get(); }
  void setWindow(std::unique_ptr<Window> window) { window_ = std::move(window); }

  bool didFinishLaunchingWithOptions() { return true; }
  void applicationWillResignActive() {}
  void applicationDidEnterBackground() {}
  void applicationWillEnterForeground() {}
  void applicationDidBecomeActive() {}
  void applicationWillTerminate() { saveManagedObjectContext(); }

  // The four parts of the store, each built on its first read. An empty result (no documents
  // folder, a missing model and what depends on it) stays empty and is not built again.
  const std::optional<std::filesystem::path>& applicationDocumentsDirectory();
  const std::shared_ptr<ManagedObjectModel>& managedObjectModel();
  const std::shared_ptr<PersistentStoreCoordinator>& persistentStoreCoordinator();
  const std::shared_ptr<ManagedObjectContext>& managedObjectContext();

  void saveManagedObjectContext();

  // Asks the coordinator, when it is built, to attach the game record at the store location, or at
  // `file` instead. Without this call nothing is kept, so that scripted runs and tests never touch
  // a user's record. A record already being opened is taken from `opening` when it is the one
  // the store location names.
  void attachStoreWhenBuilt(std::optional<std::filesystem::path> file = std::nullopt,
                            std::shared_ptr<RecordOpening> opening = nullptr) {
    attachStore_ = true;
    storeFile_ = std::move(file);
    opening_ = std::move(opening);
  }

 private:
  void traceBuilt(std::string_view part) const;
  void attachStore(PersistentStoreCoordinator& coordinator);
  std::ostream& errors() const;

  DelegateEnvironment environment_;
  std::unique_ptr<Window> window_;
  std::optional<std::optional<std::filesystem::path>> documentsDirectory_;
  std::optional<std::shared_ptr<ManagedObjectModel>> model_;
  std::optional<std::shared_ptr<PersistentStoreCoordinator>> coordinator_;
  std::optional<std::shared_ptr<ManagedObjectContext>> context_;
  bool attachStore_ = false;
  std::optional<std::filesystem::path> storeFile_;
  std::shared_ptr<RecordOpening> opening_;
};

}  // namespace app
