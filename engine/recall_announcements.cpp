#include <algorithm>
#include <string>

#include "engine/view_controller.h"

namespace {

constexpr const char* kClosingPhrase = "Please relax!";
constexpr const char* kLastNumberLine = "Announcing last number! Please keep silence!";
constexpr const char* kAllNumbersLine = "Announcing all numbers! Please keep silence!";
constexpr const char* kRemainingLine = "Announcing remai ning numbers! Please keep silence!";
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

void ViewController::L2_click() {
  recallNumbers(Recall::last(2));
}
void ViewController::L3_click() {
  recallNumbers(Recall::last(3));
}
void ViewController::L5_click() {
  recallNumbers(Recall::last(5));
}
void ViewController::L10_click() {
  recallNumbers(Recall::last(10));
}
void ViewController::all_click() {
  recallNumbers(Recall::allCalled());
}
void ViewController::remaining_numbers_click() {
  recallNumbers(Recall::remaining());
}

// A recall stops the calling of new numbers: its list plays out and the caller falls silent.
void ViewController::announceLastNumbers(const Recall& recall) {
  _isContinueGame = false;
  const bool lastFew = recall.kind == Recall::Kind::lastNumbers;
  const Int count = recall.count;
  std::vector<std::string> texts;
  if (lastFew) {
    const Int n = static_cast<Int>(_randomNumbers.size());
    const Int start = std::clamp<Int>(n - count, 0, n);
    texts.assign(_randomNumbers.begin() + start, _randomNumbers.end());
  } else {
    texts = ascendingNumbers(_randomNumbers);
  }
  texts.emplace_back(kClosingPhrase);
  buildAnnounceInfoList(texts);
  if (lastFew && count <= 1) {
    _nextNumberDelay = 1.0;
    speak(kLastNumberLine);
  } else if (lastFew) {
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
  std::vector<std::string> texts;
  for (int i = 1; i <= game::kNumbersInGame; ++i) {
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
