#include "app/game_keeping.h"

#include <ctime>

#include "engine/game_rules.h"
#include "engine/view_controller.h"

namespace app {
namespace {

constexpr const char* kQuestionTitle = "Unfinished game";

std::string localClockTime(Moment moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[8];
  std::strftime(text, sizeof text, "%H:%M", &local);
  return text;
}

ObservedGame observedFrom(const ScreenSnapshot& snapshot) {
  ObservedGame game{snapshot.calledInOrder, snapshot.speed, snapshot.phase, std::nullopt};
  if (!snapshot.numberBeingCalled.empty())
    game.numberOnShow = std::stoi(snapshot.numberBeingCalled);
  return game;
}

}  // namespace

std::string resumeQuestion(const UnfinishedGame& game) {
  return "Resume the game interrupted at ball " + std::to_string(game.ballsCalled) + " (called " +
         localClockTime(game.lastCallAt) + ")?";
}

GameKeeping::GameKeeping(const std::string& drawSource, ProblemReport reportProblem,
                         std::function<std::chrono::nanoseconds()> loopClock)
    : reportProblem_(std::move(reportProblem)),
      recorder_(nullptr, drawSource, reportProblem_),
      loopClock_(std::move(loopClock)),
      launchedAt_(std::chrono::system_clock::now()),
      loopAtLaunch_(loopClock_()) {}

void GameKeeping::attach(GameRecord* record) {
  record_ = record;
  recorder_.attach(record);
  if (!record_) return;
  try {
    unfinished_ = record_->unfinishedGame();
  } catch (const StoreUnavailable& problem) {
    reportProblem_(problem.what());
  }
}

// The last number whose call had begun is the one the title showed; any drawn after it had not
// been heard yet, and Play calls it first.
void GameKeeping::resume(ViewController& screen) {
  if (!unfinished_) return;
  std::vector<std::string> numbers;
  std::string onShow;
  for (std::size_t ball = 0; ball < unfinished_->calledInOrder.size(); ++ball) {
    numbers.push_back(std::to_string(unfinished_->calledInOrder[ball]));
    if (ball < unfinished_->spoken.size() && unfinished_->spoken[ball]) onShow = numbers.back();
  }
  if (!screen.restorePausedGame(numbers, onShow, unfinished_->speed)) {
    reportProblem_(
        "The unfinished game in the game record is damaged and cannot be resumed; a "
        "new game begins.");
  } else {
    recorder_.resume(*unfinished_);
  }
  unfinished_.reset();
}

void GameKeeping::ask(ViewController& screen) {
  if (!unfinished_) return;
  asking_ = &screen;
  question_ = platform::AlertView::create();
  question_->setTitle(kQuestionTitle);
  question_->setMessage(resumeQuestion(*unfinished_));
  question_->setDelegate(this);
  question_->addButtonWithTitle(std::string(game::kAnswerYes));
  question_->addButtonWithTitle(std::string(game::kAnswerNo));
  question_->show();
}

void GameKeeping::alertViewClickedButtonAtIndex(platform::AlertView& alertView, long buttonIndex) {
  if (&alertView != question_.get() || asking_ == nullptr) return;
  if (alertView.buttonTitleAtIndex(buttonIndex) == game::kAnswerYes) resume(*asking_);
  unfinished_.reset();
  asking_ = nullptr;
}

void GameKeeping::observe(const ScreenSnapshot& snapshot) {
  recorder_.observe(observedFrom(snapshot), now());
}

Moment GameKeeping::now() const {
  return launchedAt_ + std::chrono::duration_cast<Moment::duration>(loopClock_() - loopAtLaunch_);
}

}  // namespace app
