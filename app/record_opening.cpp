#include "app/record_opening.h"

#include <utility>

namespace app {

// Where no thread can be had, the record is opened when it is taken, as it would be without this.
RecordOpening::RecordOpening(std::filesystem::path file)
    : file_(std::move(file)),
      record_(std::async(std::launch::async | std::launch::deferred, [path = file_] {
        return GameRecord::open(path, GameRecord::Access::caller);
      })) {}

std::unique_ptr<GameRecord> RecordOpening::take() {
  if (!record_.valid()) return GameRecord::open(file_, GameRecord::Access::caller);
  return record_.get();
}

}  // namespace app
