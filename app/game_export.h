#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "app/game_record.h"

namespace app {

// A game's calls for a spreadsheet: RFC 4180 CSV (CRLF line ends), UTF-8, one header row
// "ball,number,drawn_at,spoken_at", times in ISO 8601 UTC, an empty spoken_at for a number whose
// first item never reached speech.
void writeCallsCsv(const GameDetails& game, std::ostream& out);

// The same game for another program, as the JSON object documented in README.md.
void writeGameJson(const GameDetails& game, std::ostream& out);

// The numbers of an exported game in call order, "7,45,3", as --draw-order takes them. Reads the
// CSV or JSON export (or a file holding the comma-separated order itself); throws
// std::runtime_error naming what is wrong with the file.
std::string drawOrderFromExport(const std::filesystem::path& file);

}  // namespace app
