#include "app/app_delegate.h"

#include <cstdlib>
#include <iostream>

#include "platform/console.h"

namespace app {
namespace {

constexpr const char* kModelName = "Vorlix";
constexpr const char* kModelExtension = "momd";
constexpr const char* kStoreFileName = "Vorlix.sqlite";

}  // namespace

std::vector<std::filesystem::path> userDocumentDirectories() {
  const auto store = defaultStoreFile();
  if (!store) return {};
  return {store->parent_path()};
}

AppDelegate::AppDelegate(DelegateEnvironment environment) : environment_(std::move(environment)) {}

void AppDelegate::traceBuilt(std::string_view part) const {
  if (environment_.trace) environment_.trace(part);
}

std::ostream& AppDelegate::errors() const {
  return environment_.errors ? *environment_.errors : std::cerr;
}

const std::optional<std::filesystem::path>& AppDelegate::applicationDocumentsDirectory() {
  if (!documentsDirectory_) {
    const auto directories = environment_.documentDirectories();
    documentsDirectory_.emplace(directories.empty() ? std::nullopt
                                                    : std::optional(directories.back()));
    traceBuilt("documents directory");
  }
  return *documentsDirectory_;
}

// A missing or unreadable model is said once, here, and the program carries on without a store:
// nothing in the game needs one.
const std::shared_ptr<ManagedObjectModel>& AppDelegate::managedObjectModel() {
  if (!model_) {
    const Bundle& bundle = environment_.bundle ? *environment_.bundle : Bundle::mainBundle();
    const auto url = bundle.urlForResource(kModelName, kModelExtension);
    std::string whyNot = "is missing";
    auto model = url ? ManagedObjectModel::initWithContentsOfURL(*url, whyNot) : nullptr;
    if (!model)
      errors() << "vorlix-caller: the data model "
               << (bundle.directory() / (std::string(kModelName) + "." + kModelExtension)).string()
               << " " << whyNot << "; carrying on without a store\n";
    model_ = std::move(model);
    traceBuilt("model");
  }
  return *model_;
}

// The store location is formed after the coordinator, as on the device. When the game record is
// wanted it is attached there; a store that cannot be used is said in one sentence and the game
// goes on without it.
const std::shared_ptr<PersistentStoreCoordinator>& AppDelegate::persistentStoreCoordinator() {
  if (!coordinator_) {
    const auto& model = managedObjectModel();
    auto coordinator = model ? std::make_shared<PersistentStoreCoordinator>(model) : nullptr;
    traceBuilt("coordinator");
    if (coordinator) {
      if (const auto& documents = applicationDocumentsDirectory())
        coordinator->setStoreLocation(*documents / kStoreFileName);
      if (storeFile_) coordinator->setStoreLocation(*storeFile_);
      attachStore(*coordinator);
    }
    coordinator_ = std::move(coordinator);
  }
  return *coordinator_;
}

void AppDelegate::attachStore(PersistentStoreCoordinator& coordinator) {
  if (!attachStore_ || !coordinator.storeLocation()) return;
  const auto& location = *coordinator.storeLocation();
  try {
    coordinator.addPersistentStore(opening_ && opening_->file() == location
                                       ? opening_->take()
                                       : GameRecord::open(location, GameRecord::Access::caller));
  } catch (const StoreUnavailable& problem) {
    if (environment_.storeProblem)
      environment_.storeProblem(problem.what());
    else
      errors() << "vorlix-caller: " << problem.what() << '\n';
  }
}

const std::shared_ptr<ManagedObjectContext>& AppDelegate::managedObjectContext() {
  if (!context_) {
    std::shared_ptr<ManagedObjectContext> context;
    if (const auto& coordinator = persistentStoreCoordinator()) {
      context = std::make_shared<ManagedObjectContext>();
      context->setPersistentStoreCoordinator(coordinator);
    }
    traceBuilt("context");
    context_ = std::move(context);
  }
  return *context_;
}

void AppDelegate::saveManagedObjectContext() {
  const auto& context = managedObjectContext();
  if (!context || !context->hasChanges()) return;
  std::string error;
  if (!context->save(error)) {
    platform::consoleLine("Unresolved error");
    std::abort();
  }
  traceBuilt("save");
}

}  // namespace app
