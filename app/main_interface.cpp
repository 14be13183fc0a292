#include "app/main_interface.h"

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "platform/coder.h"

namespace app {
namespace {

struct WindowDescription {
  std::string contentClass;
  std::map<std::string, std::string> contentAttributes;
};

WindowDescription parse(std::string_view description) {
  std::istringstream lines{std::string(description)};
  std::string line;
  bool inWindow = false;
  WindowDescription window;
  while (std::getline(lines, line)) {
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    std::istringstream words(line.substr(start));
    std::string key;
    std::string value;
    words >> key;
    std::getline(words >> std::ws, value);
    if (start == 0) {
      if (key != "window" || inWindow)
        throw InterfaceError("the main interface must describe exactly one window, found \"" +
                             line + "\"");
      inWindow = true;
    } else if (!inWindow) {
      throw InterfaceError("the main interface has an attribute outside its window");
    } else if (key == "rootViewController") {
      window.contentClass = value;
    } else {
      window.contentAttributes[key] = value;
    }
  }
  if (!inWindow) throw InterfaceError("the main interface describes no window");
  return window;
}

}  // namespace

std::unique_ptr<Window> windowFromDescription(std::string_view description) {
  const WindowDescription described = parse(description);
  // The program has one screen class; the description names it so that it is built by decoding.
  if (described.contentClass != "ViewController")
    throw InterfaceError("the main interface's window content \"" + described.contentClass +
                         "\" is not a screen this program has (ViewController)");
  auto window = std::make_unique<Window>();
  window->setRootViewController(
      std::make_unique<ViewController>(platform::Coder(described.contentAttributes)));
  return window;
}

std::unique_ptr<Window> loadMainInterface(const Bundle& bundle) {
  const auto url = bundle.urlForResource("Main", "interface");
  if (!url)
    throw InterfaceError("the main interface " + (bundle.directory() / "Main.interface").string() +
                         " is missing");
  std::ifstream in(*url);
  std::ostringstream text;
  if (!(text << in.rdbuf()))
    throw InterfaceError("the main interface " + url->string() + " cannot be read");
  return windowFromDescription(text.str());
}

}  // namespace app
