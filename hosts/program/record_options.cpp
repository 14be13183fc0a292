#include "hosts/program/record_options.h"

namespace program {

void RecordOptions::addTo(CLI::App& cli) {
  auto* store = cli.add_option("--store", store_,
                               "Keep the games in FILE instead of the documents directory's "
                               "Vorlix.sqlite (scripted runs keep nothing without it)")
                    ->type_name("FILE");
  cli.add_flag("--no-store", noStore_, "Keep nothing of the games")->excludes(store);
  auto* resume = cli.add_flag("--resume", resume_,
                              "Resume the game the last run left unfinished, without asking");
  cli.add_flag("--new-game", newGame_,
               "Begin a new game, leaving an unfinished one unresumed, without asking")
      ->excludes(resume);
}

app::KeepingSettings RecordOptions::settings(bool scripted, std::string drawSource) const {
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
