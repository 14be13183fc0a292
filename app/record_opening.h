#pragma once

#include <filesystem>
#include <future>
#include <memory>

#include "app/game_record.h"

namespace app {

// The game record, opened for the caller on a thread of its own from the program's start, so that
// the first frame does not wait for the file: its integrity check reads all of it, and a record
// grows with every game kept.
class RecordOpening {
 public:
  // A record never taken is closed once it is open, when this is destroyed.
  explicit RecordOpening(std::filesystem::path file);

  const std::filesystem::path& file() const { return file_; }
  // The record once open, waiting for it if need be; throws StoreUnavailable as opening it here
  // would have. It can be taken once.
  std::unique_ptr<GameRecord> take();

 private:
  std::filesystem::path file_;
  std::future<std::unique_ptr<GameRecord>> record_;
};

}  // namespace app
