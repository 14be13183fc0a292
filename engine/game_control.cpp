#include "engine/view_controller.h"
#include "platform/console.h"

namespace {

constexpr const char* kPauseLine = "Game stopped! Please relax!";
constexpr const char* kRestartTitle = "Re-start";
constexpr const char* kRestartMessage = "Are you sure to re-start game?";

}  // namespace

void ViewController::btnPlay_click() {
  platform::consoleLine("btnPlay_click");
  updateControlPanel("", false, platform::Color::blackColor());
  startGame();
}

void ViewController::btnPause_click() {
  platform::consoleLine("btnPause_click");
  updateControlPanel("", true, platform::Color::blackColor());
  _timer.cancel();
  speak(kPauseLine);
}

void ViewController::btnRestart_click() {
  confirmRestart();
}

// The calling goes on while the question is on screen.
void ViewController::confirmRestart() {
  auto alert = platform::AlertView::create();
  alert->setTitle(kRestartTitle);
  alert->setMessage(kRestartMessage);
  alert->setDelegate(this);
  alert->addButtonWithTitle(std::string(game::kAnswerYes));
  alert->addButtonWithTitle(std::string(game::kAnswerNo));
  alertsAskingMe_.push_back(alert);
  alert->show();
}

void ViewController::alertViewClickedButtonAtIndex(platform::AlertView& alertView,
                                                   long buttonIndex) {
  handleRestartAnswer(alertView, buttonIndex);
}

// The answer is told by the button's title, not its position.
void ViewController::handleRestartAnswer(platform::AlertView& alertView, long buttonIndex) {
  std::erase_if(alertsAskingMe_, [&](const auto& weak) {
    auto alert = weak.lock();
    return !alert || alert.get() == &alertView;
  });
  if (alertView.buttonTitleAtIndex(buttonIndex) != game::kAnswerYes) return;
  updateControlPanel("", false, platform::Color::blackColor());
  resetGame();
}

void ViewController::resetGame() {
  for (auto& cell : _gridViewsArray) cell->setBackgroundColor(color_un_filled);
  _announceInfoList.clear();
  _announcedNumber.clear();
  _randomNumbers.clear();
  _numberIndexToRepeat = 0;
  _viewPreviousHighlighted = nullptr;
  _isContinueGame = true;
  _nextNumberDelay = 1.0;
  _isRepeat2Times = false;
  _isPlayPressed = false;
  startGame();
}
