#include "platform/store/file_lock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

ExclusiveFileLock::ExclusiveFileLock(const std::filesystem::path& file) {
  descriptor_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (descriptor_ < 0) {
    openError_ = errno;
    return;
  }
  outcome_ =
      ::flock(descriptor_, LOCK_EX | LOCK_NB) == 0 ? Outcome::locked : Outcome::heldElsewhere;
}

ExclusiveFileLock::~ExclusiveFileLock() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

}  // namespace platform
