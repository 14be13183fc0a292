#include "hosts/program/tickets_command.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/game_record.h"
#include "hosts/print/book_pdf.h"
#include "hosts/program/program_options.h"
#include "platform/random_source.h"
#include "tickets/book_json.h"

namespace program {

namespace {

struct TicketsOptions {
  std::optional<std::string> strips;
  std::optional<std::string> seed;
  std::optional<std::string> firstSerial;
  std::optional<std::string> bookPath;
  std::string pdfPath;
  std::optional<std::string> jsonPath;
  std::optional<std::string> storePath;
};

long long parseCount(const std::string& option, const std::string& text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error == std::errc::result_out_of_range) {
    throw UsageError(option + " " + text + " is far too large");
  }
  if (error != std::errc() || end != text.data() + text.size()) {
    throw UsageError(option + " takes a whole number, not " + text);
  }
  return value;
}

// An output file checked before any work is done: opened for writing without emptying it. A file
// the check made is removed again when the run fails, so bad input leaves nothing behind.
class OutputFile {
 public:
  OutputFile(const std::string& option, const std::string& path) : path_(path) {
    const bool existed = std::filesystem::exists(path);
    std::ofstream probe(path, std::ios::app);
    if (!probe) {
      throw UsageError(option + " " + path + " cannot be written: " + std::strerror(errno));
    }
    made_ = !existed;
  }
  ~OutputFile() {
    std::error_code ignored;
    if (made_ && !kept_) std::filesystem::remove(path_, ignored);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  void keep() { kept_ = true; }

 private:
  std::string path_;
  bool made_ = false;
  bool kept_ = false;
};

tickets::Book makeBook(const TicketsOptions& options) {
  if (options.bookPath) {
    try {
      return tickets::readBookFile(*options.bookPath);
    } catch (const tickets::BookFormatError& error) {
      throw UsageError(std::string("the book ") + error.what());
    }
  }
  const long long strips = parseCount("--strips", *options.strips);
  const long long firstSerial =
      options.firstSerial ? parseCount("--first-serial", *options.firstSerial) : 1;
  if (auto fault = tickets::bookRequestFault(strips, firstSerial)) throw UsageError(*fault);
  const auto serial = static_cast<std::uint32_t>(firstSerial);
  if (options.seed) {
    platform::SeededRandomSource random(parseSeed(*options.seed));
    return tickets::generateBook(strips, serial, random);
  }
  platform::SecureRandomSource random;
  return tickets::generateBook(strips, serial, random);
}

void checkChoices(const TicketsOptions& options) {
  if (options.bookPath && (options.strips || options.seed || options.firstSerial)) {
    throw UsageError(
        "--book prints a book as it is; --strips, --seed and --first-serial make a new one");
  }
  if (!options.bookPath && !options.strips) {
    throw UsageError(
        "say how many strips to make (--strips N) or which book to print (--book FILE)");
  }
}

std::string bookSource(const TicketsOptions& options) {
  if (options.bookPath) return *options.bookPath;
  return options.seed ? "seed " + *options.seed : "secure";
}

// Keeps the book in the game record, so a claim can be checked from the serial alone. The book is
// made and printed either way: a store that cannot take it is said in one line on `err`.
void keepBook(const tickets::Book& book, const TicketsOptions& options, std::ostream& err) {
  const auto file = options.storePath ? std::optional<std::filesystem::path>(*options.storePath)
                                      : app::defaultStoreFile();
  const std::string advice = options.jsonPath
                                 ? "claims on it need --book " + *options.jsonPath
                                 : "write it with --json FILE to check claims with --book FILE";
  if (!file) {
    err << "vorlix-caller tickets: there is no home directory to keep the book in; " << advice
        << ".\n";
    return;
  }
  try {
    const auto record = app::GameRecord::open(*file, app::GameRecord::Access::caller);
    record->recordBook(book, bookSource(options), std::chrono::system_clock::now());
  } catch (const app::StoreUnavailable& problem) {
    err << "vorlix-caller tickets: " << problem.problem() << "; the book is not kept there, so "
        << advice << ".\n";
  }
}

int makeTickets(const TicketsOptions& options, std::ostream& out, std::ostream& err) {
  checkChoices(options);
  OutputFile pdf("--pdf", options.pdfPath);
  std::optional<OutputFile> json;
  if (options.jsonPath) json.emplace("--json", *options.jsonPath);
  const tickets::Book book = makeBook(options);
  if (json) tickets::writeBookFile(book, *options.jsonPath);
  print::writeBookPdf(book, options.pdfPath);
  pdf.keep();
  if (json) json->keep();
  keepBook(book, options, err);
  const auto pages = print::pageCount(book);
  out << "Wrote " << book.tickets.size() << " tickets, serials " << book.tickets.front().serial
      << " to " << book.tickets.back().serial << ", on " << pages
      << (pages == 1 ? " page of " : " pages of ") << options.pdfPath
      << (options.jsonPath ? " and the book to " + *options.jsonPath : "") << '\n';
  return 0;
}

}  // namespace

int runTicketsCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App cli(
      "Makes a book of 90-ball tickets: strips of six that hold 1-90 once between them, "
      "printed two strips to an A4 page.",
      "vorlix-caller tickets");
  TicketsOptions options;
  cli.add_option("--strips", options.strips,
                 "How many strips of six tickets to make (1 to " +
                     std::to_string(tickets::kMostStrips) + ")")
      ->type_name("N");
  cli.add_option("--seed", options.seed,
                 "Seed for a reproducible book (default: the secure generator)")
      ->type_name("N");
  cli.add_option("--first-serial", options.firstSerial, "Serial of the first ticket (default 1)")
      ->type_name("K");
  cli.add_option("--book", options.bookPath, "Print this book (JSON) instead of making one")
      ->type_name("FILE.json");
  cli.add_option("--pdf", options.pdfPath, "The PDF to write")->required()->type_name("FILE.pdf");
  cli.add_option("--json", options.jsonPath, "Also write the book as JSON")->type_name("FILE.json");
  cli.add_option("--store", options.storePath,
                 "Keep the book in this game record (default: Vorlix.sqlite in "
                 "~/.local/share/vorlix-caller)")
      ->type_name("FILE");
  try {
    cli.parse(argc, argv);
    return makeTickets(options, out, err);
  } catch (const CLI::CallForHelp&) {
    out << cli.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    const UsageError usage = parserErrorInOurWords(cli, error);
    err << "vorlix-caller tickets: " << usage.what()
        << (usage.pointsToHelp() ? " (see vorlix-caller tickets --help)\n" : "\n");
    return 2;
  } catch (const UsageError& error) {
    err << "vorlix-caller tickets: " << error.what() << '\n';
    return 2;
  } catch (const std::exception& error) {
    err << "vorlix-caller tickets: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace program
