#pragma once

#include <memory>
#include <stdexcept>
#include <string_view>

#include "app/bundle.h"
#include "app/interface_error.h"
#include "app/window.h"

namespace app {

// Builds the window an interface description gives. The text names one `window` and, on an
// indented line under it, the class of its content: `rootViewController ViewController`. Every
// other indented `key value` line becomes an attribute handed to the content's decoding
// initialiser. '#' starts a comment line.
std::unique_ptr<Window> windowFromDescription(std::string_view description);

// Loads the bundle's resource "Main" of kind "interface".
std::unique_ptr<Window> loadMainInterface(const Bundle& bundle);

}  // namespace app
