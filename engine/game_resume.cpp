#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/view_controller.h"

namespace {

constexpr auto kNumbersInGame = static_cast<std::size_t>(game::kNumbersInGame);
constexpr std::size_t kBoardRefreshEvery = 5;
constexpr ViewController::Int kFastestSpeed = 2;
constexpr ViewController::Int kSlowestSpeed = 10;

bool isNumberText(const std::string& text) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  if (text.empty() || text.size() > 2 || text.front() == '0' ||
      !std::all_of(text.begin(), text.end(), isDigit))
    return false;
  return std::stoi(text) <= static_cast<int>(kNumbersInGame);
}

bool isGame(const std::vector<std::string>& numbers) {
  if (numbers.empty() || numbers.size() > kNumbersInGame) return false;
  const std::set<std::string> distinct(numbers.begin(), numbers.end());
  return distinct.size() == numbers.size() &&
         std::all_of(numbers.begin(), numbers.end(), isNumberText);
}

}  // namespace

// The board is painted by playing the draws again without a sound or a timer, so it looks as it
// would after an unbroken game paused at that point: every fifth draw refreshes it, and each number
// up to the one on show is marked as its call begins.
bool ViewController::restorePausedGame(const std::vector<std::string>& calledInOrder,
                                       const std::string& numberOnShow, Int speed) {
  if (!isGame(calledInOrder) || speed < kFastestSpeed || speed > kSlowestSpeed) return false;
  const auto onShow = std::find(calledInOrder.begin(), calledInOrder.end(), numberOnShow);
  const auto shownCount = onShow == calledInOrder.end()
                              ? std::size_t{0}
                              : static_cast<std::size_t>(onShow - calledInOrder.begin()) + 1;
  view();  // the board and the panel exist from here on

  _timer.cancel();
  for (auto& cell : _gridViewsArray) cell->setBackgroundColor(color_un_filled);
  _randomNumbers.clear();
  _viewPreviousHighlighted = nullptr;
  for (std::size_t ball = 0; ball < calledInOrder.size(); ++ball) {
    if (ball % kBoardRefreshEvery == 0) refreshFilledNumbers();
    _announcedNumber = calledInOrder[ball];
    _randomNumbers.push_back(_announcedNumber);
    if (ball < shownCount) highlightAnnouncedNumber();
  }
  numberOnTitle_ = shownCount > 0 ? numberOnShow : "";
  setTitle(shownCount > 0 ? game::titleCalling(numberOnShow) : std::string(game::kScreenTitle));

  // The last number's items, played out when it had been called, still to come when not: either
  // way Play calls it again before a new one, as after Pause.
  buildAnnounceInfoList({_announcedNumber});
  const bool lastCalled = shownCount == calledInOrder.size();
  _numberIndexToRepeat = lastCalled ? static_cast<Int>(_announceInfoList.size()) : 0;
  _nextNumberDelay = lastCalled ? static_cast<CGFloat>(_announceInfoList.back()->nSeconds) : 1.0;
  _isContinueGame = true;
  _isPlayPressed = false;
  setSpeed(speed);
  updateControlPanel("", true, platform::Color::blackColor());
  return true;
}
