// vorlix-caller tickets through the real executable: the PDF rendered by pdftoppm has its pages
// and every QR code on them decodes (zbarimg) to a ticket's serial; bad input is refused plainly.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/game_record.h"
#include "terminal/program_run.h"
#include "tickets/book_json.h"

namespace {

namespace fs = std::filesystem;

class TicketsProgram : public testing::Test {
 protected:
  TicketsProgram() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::path(testing::TempDir()) /
           ("vorlix-tickets-" + std::to_string(::getpid()) + "-" + test->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~TicketsProgram() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  // The serials the QR codes of the PDF decode to, and how many pages pdftoppm rendered.
  std::pair<std::multiset<std::uint32_t>, int> readBack(const std::string& pdf) const {
    // Vector edges unsmoothed, as a printer draws them.
    const std::string render =
        "pdftoppm -r 150 -aaVector no -png " + pdf + " " + path("page") + " 2>&1";
    EXPECT_EQ(std::system(render.c_str()), 0);
    int pages = 0;
    std::multiset<std::uint32_t> serials;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      if (entry.path().extension() != ".png") continue;
      ++pages;
      const std::string scan =
          "zbarimg -q --raw " + entry.path().string() + " > " + path("codes.txt") + " 2>/dev/null";
      EXPECT_EQ(std::system(scan.c_str()), 0) << entry.path();
      std::istringstream codes(fileText(path("codes.txt")));
      for (std::uint32_t serial = 0; codes >> serial;) serials.insert(serial);
    }
    return {serials, pages};
  }

  fs::path dir_;
};

TEST_F(TicketsProgram, EveryPrintedQrCodeIsItsTicketsSerial) {
  const auto run = runProgram("tickets --strips 5 --seed 9 --first-serial 4001 --pdf " +
                              path("book.pdf") + " --json " + path("book.json"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto book = tickets::readBookFile(path("book.json"));
  ASSERT_EQ(book.tickets.size(), 30u);
  std::multiset<std::uint32_t> expected;
  for (const auto& ticket : book.tickets) expected.insert(ticket.serial);
  const auto [serials, pages] = readBack(path("book.pdf"));
  EXPECT_EQ(pages, 3);  // two strips a page
  EXPECT_EQ(serials, expected);
}

TEST_F(TicketsProgram, ASeedMakesTheSameBookAndABookPrintsAgain) {
  ASSERT_EQ(
      runProgram("tickets --strips 2 --seed 5 --pdf " + path("a.pdf") + " --json " + path("a.json"))
          .exitCode,
      0);
  ASSERT_EQ(
      runProgram("tickets --strips 2 --seed 5 --pdf " + path("b.pdf") + " --json " + path("b.json"))
          .exitCode,
      0);
  EXPECT_EQ(fileText(path("a.json")), fileText(path("b.json")));
  const auto reprint = runProgram("tickets --book " + path("a.json") + " --pdf " + path("c.pdf"));
  ASSERT_EQ(reprint.exitCode, 0) << reprint.err;
  EXPECT_EQ(readBack(path("c.pdf")).first.size(), 12u);
}

TEST_F(TicketsProgram, TheBookIsKeptInTheStoreSoASerialAloneFindsItsTicket) {
  const auto made =
      runProgram("tickets --strips 2 --seed 5 --first-serial 301 --store " + path("club.sqlite") +
                 " --pdf " + path("a.pdf") + " --json " + path("a.json"));
  ASSERT_EQ(made.exitCode, 0) << made.err;
  EXPECT_EQ(made.err, "");
  const auto book = tickets::readBookFile(path("a.json"));
  const auto record = app::GameRecord::open(path("club.sqlite"), app::GameRecord::Access::reader);
  for (const auto& ticket : book.tickets) EXPECT_EQ(record->ticket(ticket.serial), ticket);
  EXPECT_FALSE(record->ticket(313));

  // A store that cannot take the book is said once; the book is printed all the same.
  fs::create_directories(path("folder.sqlite"));
  const auto unkept = runProgram("tickets --strips 1 --store " + path("folder.sqlite") + " --pdf " +
                                 path("b.pdf") + " --json " + path("b.json"));
  EXPECT_EQ(unkept.exitCode, 0);
  EXPECT_TRUE(fs::exists(path("b.pdf")));
  EXPECT_EQ(unkept.err, "vorlix-caller tickets: The game record \"" + path("folder.sqlite") +
                            "\" is not a file; the book is not kept there, so claims on it need "
                            "--book " +
                            path("b.json") + ".\n");
}

TEST_F(TicketsProgram, TheCallerRefusesABookItCannotUseBeforeTheGame) {
  std::ofstream(path("broken.json")) << "{\"tickets\": [{\"serial\": 1, \"grid\": []}]}";
  std::ofstream(path("notjson.json")) << "{\"tickets\": [";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--book " + path("broken.json"), "vorlix-caller: the book " + path("broken.json")},
      {"--book " + path("notjson.json"), "vorlix-caller: the book " + path("notjson.json")},
      {"--book " + path("missing.json"), "cannot read"},
      {"--book", "--book needs a value"},
  };
  for (const auto& [arguments, message] : cases) {
    const auto run = runProgram("--script - " + arguments, "tap Play\n");
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_NE(run.err.find(message), std::string::npos) << arguments << "\n" << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "") << "refused before the first tap: " << arguments;
  }
}

TEST_F(TicketsProgram, BadInputIsOneClearMessageAndExitTwo) {
  std::ofstream(path("broken.json")) << "{\"tickets\": [{\"serial\": 1}]}";
  const std::string pdf = " --pdf " + path("out.pdf");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--strips 0" + pdf, "at least 1 strip"},
      {"--strips 10001" + pdf, "at most 10000 strips"},
      {"--strips 99999999999999999999999" + pdf, "far too large"},
      {"--strips many" + pdf, "--strips takes a whole number, not many"},
      {"--strips 2 --first-serial 0" + pdf, "first serial must be 1 or more"},
      {"--strips 2 --first-serial 999999990" + pdf, "serials would run past 999999999"},
      {"--strips 2 --seed -4" + pdf, "--seed takes a whole number"},
      {"--strips 2", "--pdf is needed"},
      {"--strips 2 --pdf", "--pdf needs a value after it: --pdf FILE.pdf"},
      {pdf, "--strips N"},
      {"--strips 2 --pdf " + path("no/such/dir/out.pdf"), "cannot be written"},
      {"--strips 2" + pdf + " --json " + path("no/such/dir/book.json"), "cannot be written"},
      {"--book " + path("broken.json") + pdf, "ticket 1 has no \"grid\""},
      {"--book " + path("missing.json") + pdf, "cannot read"},
      {"--book " + path("broken.json") + " --strips 2" + pdf, "--book prints a book as it is"},
  };
  for (const auto& [arguments, message] : cases) {
    const auto run = runProgram("tickets " + arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_NE(run.err.find(message), std::string::npos) << arguments << "\n" << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "") << arguments;
    EXPECT_FALSE(fs::exists(path("out.pdf"))) << arguments;
  }
}

}  // namespace
