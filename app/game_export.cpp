#include "app/game_export.h"

#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <boost/json/serialize.hpp>

namespace app {
namespace {

constexpr const char* kCsvHeader = "ball,number,drawn_at,spoken_at";

std::string jsonString(const std::string& text) {
  return boost::json::serialize(boost::json::string_view(text));
}

std::string jsonTime(const std::optional<Moment>& moment) {
  return moment ? jsonString(isoTime(*moment)) : "null";
}

// One CSV record's fields; quoted fields may hold commas and doubled quotes.
std::vector<std::string> csvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char character = line[i];
    if (quoted && character == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (character == '"') {
      quoted = !quoted;
    } else if (character == ',' && !quoted) {
      fields.emplace_back();
    } else if (character != '\r' || quoted) {
      fields.back() += character;
    }
  }
  return fields;
}

std::string orderFromCsv(std::istream& in, const std::filesystem::path& file) {
  std::string line;
  std::getline(in, line);
  const auto header = csvFields(line);
  std::size_t column = 0;
  while (column < header.size() && header[column] != "number") ++column;
  if (column == header.size())
    throw std::runtime_error(file.string() + " has no \"number\" column");
  std::string order;
  while (std::getline(in, line)) {
    if (line.empty() || line == "\r") continue;
    const auto fields = csvFields(line);
    if (column >= fields.size())
      throw std::runtime_error(file.string() + " has a row without a number: " + line);
    order += (order.empty() ? "" : ",") + fields[column];
  }
  return order;
}

// The JSON export carries the order as one string, "order": "7,45,3".
std::string orderFromJson(const std::string& text, const std::filesystem::path& file) {
  const std::string key = "\"order\"";
  auto at = text.find(key);
  if (at != std::string::npos) at = text.find('"', text.find(':', at + key.size()));
  const auto end = at == std::string::npos ? at : text.find('"', at + 1);
  if (end == std::string::npos)
    throw std::runtime_error(file.string() + " has no \"order\" string");
  return text.substr(at + 1, end - at - 1);
}

}  // namespace

void writeCallsCsv(const GameDetails& game, std::ostream& out) {
  out << kCsvHeader << "\r\n";
  for (const auto& call : game.calls)
    out << call.ball << ',' << call.number << ',' << isoTime(call.drawnAt) << ','
        << (call.spokenAt ? isoTime(*call.spokenAt) : "") << "\r\n";
}

void writeGameJson(const GameDetails& game, std::ostream& out) {
  const auto& summary = game.summary;
  out << "{\n  \"game\": " << summary.id
      << ",\n  \"started_at\": " << jsonString(isoTime(summary.startedAt))
      << ",\n  \"ended_at\": " << jsonTime(summary.endedAt)
      << ",\n  \"ending\": " << jsonString(endingName(summary.ending))
      << ",\n  \"draw_source\": " << jsonString(summary.drawSource)
      << ",\n  \"start_speed\": " << summary.startSpeed << ",\n  \"speed_changes\": [";
  for (std::size_t i = 0; i < game.speedChanges.size(); ++i)
    out << (i ? ", " : "") << "{\"at\": " << jsonString(isoTime(game.speedChanges[i].at))
        << ", \"speed\": " << game.speedChanges[i].speed << "}";
  out << "],\n  \"order\": " << jsonString(game.drawOrder()) << ",\n  \"calls\": [";
  for (std::size_t i = 0; i < game.calls.size(); ++i) {
    const auto& call = game.calls[i];
    out << (i ? "," : "") << "\n    {\"ball\": " << call.ball << ", \"number\": " << call.number
        << ", \"drawn_at\": " << jsonString(isoTime(call.drawnAt))
        << ", \"spoken_at\": " << jsonTime(call.spokenAt) << "}";
  }
  out << (game.calls.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

std::string drawOrderFromExport(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + " cannot be read");
  std::stringstream text;
  text << in.rdbuf();
  std::string content = text.str();
  if (content.starts_with("\xEF\xBB\xBF")) content.erase(0, 3);  // a spreadsheet's UTF-8 mark
  const auto first = content.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) throw std::runtime_error(file.string() + " is empty");
  if (content[first] == '{') return orderFromJson(content, file);
  if (content.compare(first, 4, "ball") == 0 || content.find("number") != std::string::npos) {
    std::istringstream csv(content.substr(first));
    return orderFromCsv(csv, file);
  }
  const auto last = content.find_last_not_of(" \t\r\n");
  return content.substr(first, last - first + 1);
}

}  // namespace app
