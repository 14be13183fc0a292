#include "hosts/program/games_command.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iomanip>
#include <ostream>

#include "app/game_export.h"
#include "app/game_record.h"
#include "hosts/program/program_options.h"

namespace program {
namespace {

namespace fs = std::filesystem;

struct GamesRequest {
  std::string store;
  std::string id;
  std::string format;
  std::string outFile;
};

class GamesInputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Local time as people read it on the hall's clock: "2026-12-07 19:02:03".
std::string localTime(app::Moment moment, bool withDate) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  std::strftime(text, sizeof text, withDate ? "%Y-%m-%d %H:%M:%S" : "%H:%M:%S", &local);
  return text;
}

fs::path storeFile(const GamesRequest& request) {
  if (!request.store.empty()) return request.store;
  const auto file = app::defaultStoreFile();
  if (!file)
    throw GamesInputError("no home directory to find the game record in; use --store FILE");
  return *file;
}

app::GameId resolveId(app::GameRecord& record, const std::string& text) {
  if (text == "last") {
    const auto latest = record.latestGameId();
    if (!latest) throw GamesInputError("no games are kept yet, so there is no last game");
    return *latest;
  }
  app::GameId id = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || id < 1)
    throw GamesInputError(
        "a game is named by its number from `vorlix-caller games` or by \"last\", not \"" + text +
        "\"");
  return id;
}

app::GameDetails gameFor(app::GameRecord& record, const std::string& idText) {
  const auto id = resolveId(record, idText);
  auto details = record.game(id);
  if (!details)
    throw GamesInputError("there is no game " + std::to_string(id) + " in " +
                          record.file().string() + " (see vorlix-caller games)");
  return *details;
}

void listGames(app::GameRecord& record, std::ostream& out) {
  const auto games = record.games();
  if (games.empty()) {
    out << "No games kept yet in " << record.file().string() << ".\n";
    return;
  }
  out << "  game  started              balls  ending\n";
  for (const auto& game : games)
    out << std::setw(6) << game.id << "  " << localTime(game.startedAt, true) << "  "
        << std::setw(5) << game.ballsCalled << "  " << app::endingName(game.ending) << '\n';
}

void showGame(const app::GameDetails& game, std::ostream& out) {
  const auto& summary = game.summary;
  out << "Game " << summary.id << ": started " << localTime(summary.startedAt, true);
  if (summary.endedAt) out << ", ended " << localTime(*summary.endedAt, true);
  out << ", " << app::endingName(summary.ending) << "\nDraw: " << summary.drawSource
      << "\nSpeed: " << summary.startSpeed;
  for (const auto& change : game.speedChanges)
    out << ", " << change.speed << " at " << localTime(change.at, false);
  out << "\n\n  ball  number  drawn     spoken\n";
  for (const auto& call : game.calls)
    out << std::setw(6) << call.ball << std::setw(8) << call.number << "  "
        << localTime(call.drawnAt, false) << "  "
        << (call.spokenAt ? localTime(*call.spokenAt, false) : "-") << '\n';
}

// The claims checked in the game, each with its verdict and whether the host confirmed it.
void showClaims(const std::vector<app::ClaimRow>& claims, std::ostream& out) {
  if (claims.empty()) return;
  out << "\n  ball     ticket  checked   prize       verdict\n";
  for (const auto& claim : claims)
    out << std::setw(6) << claim.ball << std::setw(11) << claim.serial << "  "
        << localTime(claim.at, false) << "  " << std::left << std::setw(10) << claim.prize << "  "
        << std::right << claim.verdict << (claim.confirmed ? ", confirmed" : "") << '\n';
}

void exportGame(const app::GameDetails& game, const GamesRequest& request, std::ostream& out) {
  std::ofstream file;
  if (!request.outFile.empty()) {
    file.open(request.outFile, std::ios::binary);
    if (!file) throw GamesInputError(request.outFile + " cannot be written");
  }
  std::ostream& target = request.outFile.empty() ? out : file;
  if (request.format == "csv")
    app::writeCallsCsv(game, target);
  else
    app::writeGameJson(game, target);
  target.flush();
  if (!target) throw std::runtime_error("the export could not be written completely");
}

}  // namespace

int runGamesCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& errors) {
  CLI::App cli("The kept games: list them, show one's calls, export them.", "vorlix-caller games");
  GamesRequest request;
  cli.add_option("--store", request.store,
                 "The game record to read (default: Vorlix.sqlite in ~/.local/share/vorlix-caller)")
      ->type_name("FILE");
  cli.require_subcommand(0, 1);
  auto* show = cli.add_subcommand("show", "Print a game's calls in order with their times");
  show->add_option("ID", request.id, "The game's number, or last")->required();
  auto* exporting = cli.add_subcommand("export", "Write a game's calls as CSV or JSON");
  exporting->add_option("ID", request.id, "The game's number, or last")->required();
  exporting->add_option("--format", request.format, "csv or json")
      ->required()
      ->check(CLI::IsMember({"csv", "json"}));
  exporting->add_option("--out", request.outFile, "Write to FILE instead of standard output")
      ->type_name("FILE");
  show->fallthrough();
  exporting->fallthrough();
  try {
    cli.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << cli.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) {
      out << cli.help(error.get_name());
      return 0;
    }
    const UsageError usage = parserErrorInOurWords(cli, error);
    errors << "vorlix-caller games: " << usage.what()
           << (usage.pointsToHelp() ? " (see vorlix-caller games --help)\n" : "\n");
    return 2;
  }
  try {
    const auto file = storeFile(request);
    if (!*show && !*exporting && !fs::exists(file)) {
      out << "No games kept yet: there is no game record at " << file.string() << ".\n";
      return 0;
    }
    const auto record = app::GameRecord::open(file, app::GameRecord::Access::reader);
    if (*show) {
      const auto game = gameFor(*record, request.id);
      showGame(game, out);
      showClaims(record->claims(game.summary.id), out);
    } else if (*exporting) {
      exportGame(gameFor(*record, request.id), request, out);
    } else {
      listGames(*record, out);
    }
    return 0;
  } catch (const GamesInputError& error) {
    errors << "vorlix-caller games: " << error.what() << '\n';
    return 2;
  } catch (const app::StoreUnavailable& error) {
    errors << "vorlix-caller games: " << error.problem() << ".\n";
    return 1;
  } catch (const std::exception& error) {
    errors << "vorlix-caller games: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace program
