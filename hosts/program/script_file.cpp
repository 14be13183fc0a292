#include "hosts/program/script_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "hosts/program/program_options.h"
#include "platform/message_text.h"

namespace program {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The script's text, read a block at a time so that nothing past the limits is ever held.
class BoundedScriptText {
 public:
  explicit BoundedScriptText(const std::string& name) : name_(name) {}

  void append(std::string_view block) {
    for (const char byte : block) {
      if (byte == '\n') {
        ++line_;
        lineLength_ = 0;
      } else if (++lineLength_ > kLongestScriptLine) {
        throw terminal::ScriptError(
            line_, "the line is longer than " + std::to_string(kLongestScriptLine) +
                       " characters; a script has one short command a line");
      }
    }
    if (text_.size() + block.size() > kLargestScript)
      throw UsageError("the script " + platform::printableExcerpt(name_) + " is larger than " +
                       std::to_string(kLargestScript >> 20) +
                       " MiB; a script of taps is a few hundred short lines");
    text_.append(block);
  }

  std::string withoutByteOrderMark() const {
    if (text_.rfind(kByteOrderMark, 0) == 0) return text_.substr(kByteOrderMark.size());
    return text_;
  }

 private:
  std::string name_;
  std::string text_;
  int line_ = 1;
  std::size_t lineLength_ = 0;
};

}  // namespace

std::vector<terminal::ScriptCommand> readScriptStream(std::istream& in, const std::string& name) {
  BoundedScriptText text(name);
  char block[4096];
  while (in.read(block, sizeof block) || in.gcount() > 0)
    text.append(std::string_view(block, static_cast<std::size_t>(in.gcount())));
  if (in.bad())
    throw UsageError("the script " + platform::printableExcerpt(name) + " could not be read");
  std::istringstream script(text.withoutByteOrderMark());
  return terminal::parseScript(script);
}

std::vector<terminal::ScriptCommand> readScriptFile(const std::string& path) {
  if (path == "-") return readScriptStream(std::cin, "on standard input");
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    throw UsageError("the script " + platform::printableExcerpt(path) +
                     " is a folder; --script takes a file with one command a line");
  std::ifstream file(path, std::ios::binary);
  if (!file)
    throw UsageError("cannot read the script " + platform::printableExcerpt(path) + ": " +
                     std::strerror(errno));
  return readScriptStream(file, path);
}

}  // namespace program
