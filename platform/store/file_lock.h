#pragma once

#include <filesystem>

namespace platform {

// An exclusive advisory lock (flock) on a file, held while the object lives and given up by the
// kernel when the process ends however it ends, so a killed program never leaves a stale lock.
// flock locks are separate from the POSIX record locks SQLite takes, so the two never interfere.
class ExclusiveFileLock {
 public:
  enum class Outcome { locked, heldElsewhere, cannotOpen };

  // Opens the file for reading and writing (creating it empty when missing) and tries the lock
  // without waiting.
  explicit ExclusiveFileLock(const std::filesystem::path& file);
  ~ExclusiveFileLock();
  ExclusiveFileLock(const ExclusiveFileLock&) = delete;
  ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

  Outcome outcome() const { return outcome_; }
  // The errno of a failed open, for the message.
  int openError() const { return openError_; }

 private:
  int descriptor_ = -1;
  Outcome outcome_ = Outcome::cannotOpen;
  int openError_ = 0;
};

}  // namespace platform
