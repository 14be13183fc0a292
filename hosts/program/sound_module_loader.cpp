#include "hosts/program/sound_module_loader.h"

#include <dlfcn.h>

#include <string>

#include "app/bundle.h"

namespace program {
namespace {

struct Loaded {
  const platform::SoundModule* module = nullptr;
  std::string failure;
};

Loaded load() {
  const auto path = app::Bundle::mainBundle().urlForResource("libvorlix-sound", "so");
  const std::string missing = std::string("The speech module ") + platform::kSoundModuleFile;
  if (!path)
    return {nullptr, missing + " is not beside the program: reinstall it, or use --silent"};
  // Kept loaded until the program ends: the engine's threads run its code to the last moment.
  void* handle = ::dlopen(path->c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (handle == nullptr) return {nullptr, missing + " could not be loaded: " + ::dlerror()};
  using Entry = const platform::SoundModule* (*)();
  const auto entry = reinterpret_cast<Entry>(::dlsym(handle, platform::kSoundModuleEntry));
  if (entry == nullptr) return {nullptr, missing + " is not this program's: reinstall it"};
  return {entry(), {}};
}

}  // namespace

const platform::SoundModule& soundModule() {
  static const Loaded loaded = load();
  if (loaded.module == nullptr) throw platform::SpeechSetupError(loaded.failure);
  return *loaded.module;
}

}  // namespace program
