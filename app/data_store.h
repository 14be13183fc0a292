#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/game_record.h"

namespace app {

// Our small stand-in for the data framework: a model, a coordinator over it and a context bound to
// the coordinator. The store the coordinator may carry is the game record (SQLite); the context
// itself holds no objects, so it never has changes to save.

class ManagedObjectModel {
 public:
  // Loads the model described by the file; nothing when it cannot be read or is no model, with the
  // reason in `whyNot`.
  static std::shared_ptr<ManagedObjectModel> initWithContentsOfURL(const std::filesystem::path& url,
                                                                   std::string& whyNot);
  const std::string& name() const { return name_; }

 private:
  explicit ManagedObjectModel(std::string name) : name_(std::move(name)) {}
  std::string name_;
};

class PersistentStoreCoordinator {
 public:
  explicit PersistentStoreCoordinator(std::shared_ptr<ManagedObjectModel> model)
      : model_(std::move(model)) {}
  const ManagedObjectModel& model() const { return *model_; }

  // Where the store lives; no file is made there unless a store is attached.
  void setStoreLocation(std::filesystem::path location) { storeLocation_ = std::move(location); }
  const std::optional<std::filesystem::path>& storeLocation() const { return storeLocation_; }

  // The game record the caller keeps its games in; empty when nothing is kept.
  void addPersistentStore(std::shared_ptr<GameRecord> store) { store_ = std::move(store); }
  const std::shared_ptr<GameRecord>& persistentStore() const { return store_; }

 private:
  std::shared_ptr<ManagedObjectModel> model_;
  std::optional<std::filesystem::path> storeLocation_;
  std::shared_ptr<GameRecord> store_;
};

class ManagedObjectContext {
 public:
  void setPersistentStoreCoordinator(std::shared_ptr<PersistentStoreCoordinator> coordinator) {
    coordinator_ = std::move(coordinator);
  }
  // No part of the program makes or changes managed objects, so there is never anything to save.
  bool hasChanges() const { return false; }
  // Writes the changes to the store; false with the reason when that fails.
  bool save(std::string& error);
  int savesDone() const { return savesDone_; }

 private:
  std::shared_ptr<PersistentStoreCoordinator> coordinator_;
  int savesDone_ = 0;
};

}  // namespace app
