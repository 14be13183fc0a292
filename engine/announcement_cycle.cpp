#include <algorithm>
#include <string>

#include "engine/view_controller.h"
#include "platform/console.h"
#include "platform/number_format.h"
#include "platform/random_source.h"
#include "platform/services.h"

namespace {

constexpr const char* kWelcomeLine =
    "Welcome to Vorlix game! Game is about to start! Please keep silence!";
constexpr const char* kResumeLine = "Announcing new numbers! Silence please!";
constexpr const char* kLastTenLine = "Silence please! announcing last 10 numbers!";
constexpr const char* kLastFiveLine = "Please keep silence! announcing last 5 numbers!";
constexpr const char* kCompletionLine =
    "Please keep silence! Vorlix successfully completed! Congratulations for all winners";

constexpr std::size_t kBoardRefreshEvery = 5;

}  // namespace

// The pause after an item scales with the speed: speed 5 doubles it, 2 shortens it, 10 makes it
// four times as long.
void ViewController::scheduleAnnouncementTimer() {
  const double interval = (_nextNumberDelay + _nextNumberDelay) * static_cast<double>(_speed) / 5.0;
  _timer.start(interval, [this] { timer_called(); });
  platform::consoleLine("timerInterval: " + platform::shortestDecimal(interval));
}

void ViewController::timer_called() {
  announceNextItem();
}

void ViewController::announceNextItem() {
  if (_numberIndexToRepeat < 0 ||
      _numberIndexToRepeat >= static_cast<Int>(_announceInfoList.size()))
    return;  // nothing left to say; cannot happen while lists are replaced only with the timer
             // cancelled
  // Held here too: the list may be replaced while this item is being spoken.
  const std::shared_ptr<ACAnnounceInfo> item =
      _announceInfoList[static_cast<std::size_t>(_numberIndexToRepeat)];
  _nextNumberDelay = static_cast<CGFloat>(item->nSeconds);
  if (_numberIndexToRepeat == 0) {
    setTitle(game::titleCalling(_announcedNumber));
    numberOnTitle_ = _announcedNumber;
    highlightAnnouncedNumber();
  }
  speak(item->info);
  ++_numberIndexToRepeat;
  if (_numberIndexToRepeat < static_cast<Int>(_announceInfoList.size())) {
    scheduleAnnouncementTimer();
  } else if (_isContinueGame) {
    callNextNumber();  // arms the next timer from the pause of the item just spoken
  }
}

void ViewController::startGame() {
  _isPlayPressed = true;
  if (!_randomNumbers.empty()) {
    _nextNumberDelay = 1.0;
    speak(kResumeLine);
  } else {
    _nextNumberDelay = 3.0;
    speak(kWelcomeLine);
  }
  callNextNumber();
}

void ViewController::callNextNumber() {
  _isContinueGame = true;
  const std::size_t n = _randomNumbers.size();
  if (n >= static_cast<std::size_t>(game::kNumbersInGame)) {
    _timer.cancel();  // a recall still playing ends here: the game is over
    speak(kCompletionLine);
    showCompletionAlert();
    return;
  }
  if (n % kBoardRefreshEvery == 0) refreshFilledNumbers();
  if (n == game::kLastTenMark) {
    _nextNumberDelay = 2.0;
    speak(kLastTenLine);
  } else if (n == game::kLastFiveMark) {
    _nextNumberDelay = 2.0;
    speak(kLastFiveLine);
  }
  drawNextNumber();
  if (!_announceInfoList.empty()) {
    _numberIndexToRepeat = 0;
    scheduleAnnouncementTimer();
  }
}

void ViewController::drawNextNumber() {
  std::vector<std::string> texts;
  if (_isPlayPressed) {
    _isPlayPressed = false;
    if (!_randomNumbers.empty()) texts.push_back(_randomNumbers.back());
  }
  std::string drawn;
  do {
    drawn = randomNumberString();
  } while (std::find(_randomNumbers.begin(), _randomNumbers.end(), drawn) != _randomNumbers.end());
  _announcedNumber = drawn;
  _randomNumbers.push_back(drawn);
  if (_isRepeat2Times) texts.push_back(_randomNumbers.back());
  texts.push_back(drawn);
  buildAnnounceInfoList(texts);
}

// Draws from 0 to the highest number and draws again on 0, so every number from 1 up is equally
// likely.
std::string ViewController::randomNumberString() {
  const auto bound = static_cast<std::uint32_t>(std::clamp<Int>(_maxnumber, 1, 1 << 30) + 1);
  std::uint32_t value = 0;
  do {
    value = platform::randomSource().uniform(bound);
  } while (value == 0);
  return std::to_string(value);
}

void ViewController::showCompletionAlert() {
  platform::AlertView::initWithTitle("Success!", "Done!", nullptr, std::string(game::kAnswerYes))
      ->show();
}
