#include <algorithm>
#include <string>

#include "engine/view_controller.h"

namespace {

constexpr const char* kClosingPhrase = "Please relax!";
constexpr const char* kLastNumberLine = "Announcing last number! Please keep silence!";
constexpr const char* kAllNumbersLine = "Announcing all numbers! Please keep silence!";
constexpr const char* kRemainingLine = "Announcing remai ning numbers! Please keep silence!";
constexpr ViewController::Int kLargestLastCount = 10;

std::string lastNumbersLine(ViewController::Int count) {
  return "Announcing last " + std::to_string(count) + " numbers! Please keep silence!";
}

// Every called number in ascending order. One-digit texts get a leading "0" so that text order is
// numerical order, and lose it again afterwards.
std::vector<std::string> ascendingNumbers(const std::vector<std::string>& numbers) {
  std::vector<std::string> padded;
  padded.reserve(numbers.size());
  for (const std::string& text : numbers) padded.push_back(text.size() == 1 ? "0" + text : text);
  std::sort(padded.begin(), padded.end());
  for (std::string& text : padded)
    if (!text.empty() && text.front() == '0') text.erase(0, 1);
  return padded;
}

}  // namespace

void ViewController::L2_click() { recallLastNumbers(2, "L2"); }
void ViewController::L3_click() { recallLastNumbers(3, "L3"); }
void ViewController::L5_click() { recallLastNumbers(5, "L5"); }
void ViewController::L10_click() { recallLastNumbers(10, "L10"); }
void ViewController::all_click() { recallLastNumbers(90, "ALL"); }

void ViewController::recallLastNumbers(Int count, const std::string& buttonTitle) {
  announceLastNumbers(count);
  updateControlPanel(buttonTitle, true, platform::Color::blackColor());
}

void ViewController::remaining_numbers_click() {
  updateControlPanel("", true, platform::Color::orangeColor());
  announceRemainingNumbers();
}

// A recall stops the calling of new numbers: its list plays out and the caller falls silent.
void ViewController::announceLastNumbers(Int count) {
  _isContinueGame = false;
  invalidateTimer();
  std::vector<std::string> texts;
  if (count <= kLargestLastCount) {
    const Int n = static_cast<Int>(_randomNumbers.size());
    const Int start = std::max<Int>(n - count, 0);
    texts.assign(_randomNumbers.begin() + start, _randomNumbers.end());
  } else {
    texts = ascendingNumbers(_randomNumbers);
  }
  texts.emplace_back(kClosingPhrase);
  buildAnnounceInfoList(texts);
  if (count <= 1) {
    _nextNumberDelay = 1.0;
    speak(kLastNumberLine);
  } else if (count <= kLargestLastCount) {
    _nextNumberDelay = 1.5;
    speak(lastNumbersLine(count));
  } else {
    _nextNumberDelay = 1.0;
    speak(kAllNumbersLine);
  }
  if (!_announceInfoList.empty()) {
    _numberIndexToRepeat = 0;
    scheduleAnnouncementTimer();
  }
}

void ViewController::announceRemainingNumbers() {
  _isContinueGame = false;
  invalidateTimer();
  std::vector<std::string> texts;
  for (int i = 1; i <= 90; ++i) {
    std::string text = std::to_string(i);
    if (std::find(_randomNumbers.begin(), _randomNumbers.end(), text) == _randomNumbers.end())
      texts.push_back(std::move(text));
  }
  texts.emplace_back(kClosingPhrase);
  buildAnnounceInfoList(texts);
  _nextNumberDelay = 1.0;
  speak(kRemainingLine);
  if (!_announceInfoList.empty()) {
    _numberIndexToRepeat = 0;
    scheduleAnnouncementTimer();
  }
}
