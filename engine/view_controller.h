#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/announce_info.h"
#include "engine/button_type.h"
#include "engine/game_rules.h"
#include "engine/recall.h"
#include "platform/alert_view.h"
#include "platform/button.h"
#include "platform/color.h"
#include "platform/label.h"
#include "platform/run_loop.h"
#include "platform/speech.h"
#include "platform/view_controller_base.h"

namespace ui {
struct ControlEntry;
}

// The one screen of the caller, and the whole game with it: the fields below are the game's state,
// read and written directly by the game operations (engine/) and the board and panel (ui/), all on
// the main thread. Hosts and tests read the fields; only the controller's own operations write
// them.
class ViewController : public platform::ViewControllerBase, public platform::AlertViewDelegate {
 public:
  using CGFloat = double;
  using Int = std::int64_t;

  // Creation in code.
  explicit ViewController(std::optional<std::string> nibName = std::nullopt,
                          const platform::Bundle* bundle = nullptr);
  // Creation from a stored interface description.
  explicit ViewController(const platform::Coder& coder);
  // Detaches the screen from any alert still asking it a question; the timer, a member, cancels
  // itself, so it can never fire into a screen that is gone.
  ~ViewController() override;

  void viewDidLoad() override;
  void didReceiveMemoryWarning() override;

  // The number the title shows, the one being called; empty before the first call.
  const std::string& numberOnTitle() const { return numberOnTitle_; }

  // Options a host may turn on: speak nothing (everything else as usual), or call each new number
  // twice in a row.
  void setDebug(bool on) { _isDebug = on; }
  void setRepeat2Times(bool on) { _isRepeat2Times = on; }

  // Button actions.
  void btnPlay_click();
  void btnPause_click();
  void btnRestart_click();
  void L2_click();
  void L3_click();
  void L5_click();
  void L10_click();
  void all_click();
  void remaining_numbers_click();
  void speed2_click();
  void speed3_click();
  void speed4_click();
  void speed5_click();
  void speed6_click();
  void speed7_click();
  void speed8_click();
  void speed9_click();
  void speed10_click();

  // The announcement timer's action.
  void timer_called();

  // The restart confirmation's answer.
  void alertViewClickedButtonAtIndex(platform::AlertView& alertView, long buttonIndex) override;

  // Announcement cycle.
  void scheduleAnnouncementTimer();
  void announceNextItem();
  void startGame();
  void callNextNumber();
  void drawNextNumber();
  std::string randomNumberString();
  void showCompletionAlert();

  // Phrasing: fills the announcement list with the spoken items for the texts.
  void buildAnnounceInfoList(const std::vector<std::string>& texts);

  // Recalls: the panel marks the recall's button, then the recall is read out.
  void recallNumbers(const Recall& recall);
  void announceLastNumbers(const Recall& recall);
  void announceRemainingNumbers();

  // Game control.
  void confirmRestart();
  void handleRestartAnswer(platform::AlertView& alertView, long buttonIndex);
  void resetGame();

  // Brings back a game kept from an earlier run, paused as if Pause had been tapped the moment the
  // run stopped: `calledInOrder` the numbers drawn, in order; `numberOnShow` the one the title
  // showed ("" for none; numbers drawn after it had not been called yet); the speed. Play then
  // goes on as after Pause. Changes nothing and gives false for numbers that are no game (one
  // outside 1 to 90, a repeat, none) or a speed outside 2 to 10.
  bool restorePausedGame(const std::vector<std::string>& calledInOrder,
                         const std::string& numberOnShow, Int speed);

  // The board.
  void createNumberGrid();
  void highlightAnnouncedNumber();
  void refreshFilledNumbers();

  // The control panel.
  std::shared_ptr<platform::Button> createButton(const std::string& title,
                                                 std::function<void()> action, ButtonType type,
                                                 CGFloat x, CGFloat y, CGFloat width,
                                                 CGFloat height);
  std::function<void()> actionFor(const ui::ControlEntry& control);
  void createControlRow(int row);
  void createRecallButtonRow();
  void createSpeedButtonRow();
  void setPlayEnabled(bool enabled);
  void updateControlPanel(const std::string& selectedTitle, bool playEnabled,
                          platform::Color remainingColor);
  void setSpeed(Int speed);

  // --- The screen's state, in declared order. ---
  std::shared_ptr<platform::Label> lblSpeed;
  std::shared_ptr<platform::Button> btnPlay;
  std::shared_ptr<platform::Button> btnPause;
  std::shared_ptr<platform::Button> btnRemaining;
  std::shared_ptr<platform::SpeechSynthesizer> synthesizer;
  CGFloat yValue = 0.0;
  CGFloat numberSize = 0.0;
  CGFloat gap = 2.0;
  Int _minNumber = 1;
  Int _maxnumber = game::kNumbersInGame;
  std::vector<std::shared_ptr<ACAnnounceInfo>> _announceInfoList;
  std::string _announcedNumber;
  std::vector<std::string> _randomNumbers;
  std::vector<std::shared_ptr<platform::View>> _gridViewsArray;
  Int _speed = 5;
  Int _numberIndexToRepeat = 0;
  bool _isContinueGame = true;
  CGFloat _nextNumberDelay = 1.0;
  bool _isRepeat2Times = false;
  bool _isPlayPressed = false;
  std::shared_ptr<platform::View> _viewPreviousHighlighted;
  platform::OneShotTimer _timer;  // cancelled when the screen goes
  platform::Color color_just_filled = platform::Color::initWithRed(0.0, 0.0, 1.0, 0.5);
  platform::Color color_filled = platform::Color::greenColor();
  platform::Color color_un_filled = platform::Color::yellowColor();
  bool _isDebug = false;

 private:
  // Hands one line to the synthesiser at the normal rate, unless nothing is to be spoken.
  void speak(const std::string& text);
  std::string numberOnTitle_;
  // The alerts this screen is the delegate of, so it can detach from them when it goes away.
  std::vector<std::weak_ptr<platform::AlertView>> alertsAskingMe_;
};
