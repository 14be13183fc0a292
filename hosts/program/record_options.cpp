#include "hosts/program/record_options.h"

#include "hosts/program/program_options.h"

namespace program {

void RecordOptions::addTo(CLI::App& cli) {
  cli.add_option("--store", store_,
                 "Keep the games in FILE instead of the documents directory's "
                 "Vorlix.sqlite (scripted runs keep nothing without it)")
      ->type_name("FILE");
  cli.add_flag("--no-store", noStore_, "Keep nothing of the games");
  cli.add_flag("--resume", resume_, "Resume the game the last run left unfinished, without asking");
  cli.add_flag("--new-game", newGame_,
               "Begin a new game, leaving an unfinished one unresumed, without asking");
}

app::KeepingSettings RecordOptions::settings(bool scripted, std::string drawSource) const {
  if (store_ && noStore_) throw UsageError("--store and --no-store cannot be given together");
  if (resume_ && newGame_) throw UsageError("--resume and --new-game cannot be given together");
  app::KeepingSettings keeping;
  keeping.keep = !noStore_ && (store_.has_value() || !scripted);
  if (store_) keeping.file = *store_;
  keeping.drawSource = std::move(drawSource);
  keeping.resume = resume_    ? app::ResumeChoice::resume
                   : newGame_ ? app::ResumeChoice::newGame
                              : app::ResumeChoice::ask;
  return keeping;
}

}  // namespace program
