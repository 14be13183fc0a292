#pragma once

#include <string>

// One item of the announcement list: a text to speak and the pause that follows it, in seconds
// before the pause is scaled by the speed.
class ACAnnounceInfo {
 public:
  std::string info;
  float nSeconds = 1000.0f;
};
