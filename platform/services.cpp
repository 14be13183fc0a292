#include "platform/services.h"

#include <stdexcept>
#include <string>

namespace platform {
namespace {

Services& installed() {
  static Services services;
  return services;
}

template <class Service>
Service& require(Service* service, const char* name) {
  if (service == nullptr)
    throw std::logic_error(std::string("no ") + name + " is installed: the host must install one");
  return *service;
}

}  // namespace

ServicesScope::ServicesScope(const Services& services) : previous_(installed()) {
  installed() = services;
}

ServicesScope::~ServicesScope() {
  installed() = previous_;
}

void requireComplete(const Services& services) {
  std::string missing;
  auto check = [&](const void* service, const char* name) {
    if (service == nullptr) missing += (missing.empty() ? "" : ", ") + std::string(name);
  };
  check(services.runLoop, "run loop");
  check(services.speechEngine, "speech engine");
  check(services.alertPresenter, "alert presenter");
  check(services.console, "console");
  check(services.random, "random source");
  if (!missing.empty())
    throw std::logic_error("the host left out services the screen needs: " + missing);
}

RunLoop& mainRunLoop() {
  return require(installed().runLoop, "run loop");
}
SpeechEngine& speechEngine() {
  return require(installed().speechEngine, "speech engine");
}
AlertPresenter& alertPresenter() {
  return require(installed().alertPresenter, "alert presenter");
}
Console& console() {
  return require(installed().console, "console");
}
RandomSource& randomSource() {
  return require(installed().random, "random source");
}
UserInterfaceIdiom currentIdiom() {
  return installed().idiom;
}

}  // namespace platform
