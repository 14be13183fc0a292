#pragma once

#include <stdexcept>

namespace app {

// A main interface description that cannot be read or names something the program does not have.
class InterfaceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace app
