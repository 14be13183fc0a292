#include "platform/console.h"

#include <cstdio>

#include "platform/services.h"

namespace platform {

void StdoutConsole::writeLine(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void StderrConsole::writeLine(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fputc('\n', stderr);
}

void consoleLine(std::string_view line) {
  console().writeLine(line);
}

}  // namespace platform
