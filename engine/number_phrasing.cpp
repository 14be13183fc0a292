#include <memory>

#include "engine/view_controller.h"

namespace {

std::shared_ptr<ACAnnounceInfo> makeItem(std::string text, float pauseSeconds) {
  auto item = std::make_shared<ACAnnounceInfo>();
  item->info = std::move(text);
  item->nSeconds = pauseSeconds;
  return item;
}

}  // namespace

// A one-digit number is said as "Single number 7"; a two-digit one digit by digit and then whole
// ("4", "5", "45") with a short pause after each piece; a longer text unchanged, with a longer
// pause. Whatever the list held before is dropped, spoken or not.
void ViewController::buildAnnounceInfoList(const std::vector<std::string>& texts) {
  _announceInfoList.clear();
  for (const std::string& text : texts) {
    if (text.size() == 2) {
      _announceInfoList.push_back(makeItem(text.substr(0, 1), 1.0f));
      _announceInfoList.push_back(makeItem(text.substr(1), 1.0f));
      _announceInfoList.push_back(makeItem(text, 1.0f));
    } else if (text.size() >= 3) {
      _announceInfoList.push_back(makeItem(text, 3.0f));
    } else {
      _announceInfoList.push_back(makeItem("Single number " + text, 2.5f));
    }
  }
}
