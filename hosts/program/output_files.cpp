#include "hosts/program/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "platform/message_text.h"

namespace program {
namespace {

struct FileIdentity {
  dev_t device;
  ino_t inode;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino};
}

std::optional<FileIdentity> identityOfStandardInput() {
  struct stat status {};
  if (::fstat(STDIN_FILENO, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return FileIdentity{status.st_dev, status.st_ino};
}

// A name that says another format (x.mp3, x.jpg) is refused; a name that says none (/dev/full, a
// pipe) is written in the format of the option.
bool namesAnotherFormat(const std::string& path, const std::string& suffix) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return !extension.empty() && extension != suffix;
}

// Opening is the one true test of writing (permissions, a read-only disk, a missing folder); a
// file made only to try is removed again.
void checkWritable(const std::string& option, const std::string& path) {
  const bool existed = identityOf(path).has_value();
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CLOEXEC | (existed ? 0 : O_CREAT | O_EXCL), 0644);
  if (fd < 0)
    throw UsageError(option + " cannot write " + platform::printableExcerpt(path) + ": " +
                     std::strerror(errno));
  ::close(fd);
  if (!existed) ::unlink(path.c_str());
}

void checkNotAnInput(const std::string& option, const std::string& path,
                     const ProgramOptions& options) {
  const std::optional<FileIdentity> output = identityOf(path);
  if (!output) return;
  const bool isScript = !options.scriptPath.empty() && options.scriptPath != "-" &&
                        identityOf(options.scriptPath) == output;
  const bool isStandardInput = identityOfStandardInput() == output;
  if (isScript || isStandardInput)
    throw UsageError(option + " would write over " + platform::printableExcerpt(path) +
                     ", which is the script being run; name another file");
}

void checkOutput(const std::string& option, const std::string& path, const std::string& suffix,
                 const std::string& format, const ProgramOptions& options) {
  checkNotAnInput(option, path, options);
  if (namesAnotherFormat(path, suffix))
    throw UsageError(option + " writes " + format + "; name the file *" + suffix + ", not " +
                     platform::printableExcerpt(path));
  checkWritable(option, path);
}

}  // namespace

void checkOutputFiles(const ProgramOptions& options) {
  if (options.recordPath) {
    const std::string& path = *options.recordPath;
    checkOutput("--record", path, ".wav", "a WAV file", options);
    if (!options.force && identityOf(path))
      throw UsageError("--record would write over " + platform::printableExcerpt(path) +
                       ", which exists; name a new file, or add --force to replace it");
  }
  if (options.screenshotPath)
    checkOutput("--screenshot", *options.screenshotPath, ".png", "a PNG picture", options);
}

}  // namespace program
