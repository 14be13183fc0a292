#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Where diagnostic console lines go.
class Console {
 public:
  virtual ~Console() = default;
  virtual void writeLine(std::string_view line) = 0;
};

class StdoutConsole : public Console {
 public:
  void writeLine(std::string_view line) override;
};

// Writes one console line through the current console.
void consoleLine(std::string_view line);

}  // namespace platform
