#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/game_record.h"
#include "app/game_recorder.h"
#include "app/record_opening.h"
#include "app/screen_snapshot.h"
#include "platform/alert_view.h"

class ViewController;

namespace app {

// What a launch does with an unfinished game in the store.
enum class ResumeChoice { ask, resume, newGame };

// How the run keeps its games.
struct KeepingSettings {
  bool keep = false;                          // attach the game record
  std::optional<std::filesystem::path> file;  // instead of the documents directory's
  std::string drawSource = "secure";          // see drawSourceText
  ResumeChoice resume = ResumeChoice::ask;
  std::shared_ptr<RecordOpening> opening;  // the record, already being opened
};

// "Resume the game interrupted at ball 45 (called 14:02)?", the time in local time.
std::string resumeQuestion(const UnfinishedGame& game);

// Keeps the game on screen in the game record as it is played, and offers an unfinished one back
// at launch. Moments are the launch's wall-clock time plus the run loop's clock since: the wall
// clock for the window and the terminal, the virtual clock's own pace for a scripted run.
class GameKeeping : private platform::AlertViewDelegate {
 public:
  using ProblemReport = GameRecorder::ProblemReport;

  // Nothing is kept or offered until a record is attached.
  GameKeeping(const std::string& drawSource, ProblemReport reportProblem,
              std::function<std::chrono::nanoseconds()> loopClock);

  // Keeps the game in `record` from now on and reads the unfinished game it holds: for a record
  // that opens once the screen is up. Attached before the first input, it loses nothing.
  void attach(GameRecord* record);

  bool keeping() const { return recorder_.keeping(); }
  // Keeps what else happens in the game being kept (the claims checked in it).
  GameRecorder& recorder() { return recorder_; }
  // The unfinished game the store holds, if any; read once at launch.
  const std::optional<UnfinishedGame>& unfinished() const { return unfinished_; }
  // Brings the unfinished game back on the screen, paused, and keeps it from there on.
  void resume(ViewController& screen);
  // Asks whether to resume it (Yes / No) through an alert.
  void ask(ViewController& screen);

  // Shown the screen after every event; keeps what is new.
  void observe(const ScreenSnapshot& snapshot);

 private:
  void alertViewClickedButtonAtIndex(platform::AlertView& alertView, long buttonIndex) override;
  Moment now() const;

  GameRecord* record_ = nullptr;
  ProblemReport reportProblem_;
  GameRecorder recorder_;
  std::function<std::chrono::nanoseconds()> loopClock_;
  Moment launchedAt_;
  std::chrono::nanoseconds loopAtLaunch_;
  std::optional<UnfinishedGame> unfinished_;
  ViewController* asking_ = nullptr;
  std::shared_ptr<platform::AlertView> question_;
};

}  // namespace app
