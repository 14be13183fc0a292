// vorlix-caller tickets through the real executable: the PDF rendered by pdftoppm has its pages
// and every QR code on them decodes (zbarimg) to a ticket's serial; bad input is refused plainly.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/game_record.h"
#include "support/program_run.h"
#include "tickets/book_json.h"

namespace {

namespace fs = std::filesystem;

class TicketsProgram : public testing::Test {
 protected:
  std::string path(const std::string& name) const { return folder_.file(name).string(); }

  // The serials the QR codes of the PDF decode to, and how many pages pdftoppm rendered.
  std::pair<std::multiset<std::uint32_t>, int> readBack(const std::string& pdf) const {
    // Vector edges unsmoothed, as a printer draws them.
    const std::string render = "pdftoppm -r 150 -aaVector no -png " + pdf + " " + pdf + "-page";
    EXPECT_EQ(std::system(render.c_str()), 0);
    int pages = 0;
    std::multiset<std::uint32_t> serials;
    for (const auto& entry : fs::directory_iterator(folder_.path())) {
      if (entry.path().extension() != ".png" || !entry.path().string().starts_with(pdf)) continue;
      ++pages;
      const auto scan = runShell("zbarimg -q --raw " + entry.path().string());
      EXPECT_EQ(scan.exitCode, 0) << entry.path();
      std::istringstream codes(scan.out);
      for (std::uint32_t serial = 0; codes >> serial;) serials.insert(serial);
    }
    return {serials, pages};
  }

  TestFolder folder_;
};

// A book printed and kept: every QR code on the PDF reads back as its ticket's serial, the store
// finds each ticket by its serial alone, the same seed makes the same book, and a book file prints
// again.
TEST_F(TicketsProgram, EveryPrintedQrCodeIsItsTicketsSerialAndTheStoreFindsIt) {
  const std::string made = "tickets --strips 5 --seed 9 --first-serial 4001 --store " +
                           path("club.sqlite") + " --pdf " + path("book.pdf") + " --json ";
  const auto run = runProgram(made + path("book.json"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto book = tickets::readBookFile(path("book.json"));
  ASSERT_EQ(book.tickets.size(), 30u);
  std::multiset<std::uint32_t> expected;
  for (const auto& ticket : book.tickets) expected.insert(ticket.serial);
  const auto [serials, pages] = readBack(path("book.pdf"));
  EXPECT_EQ(pages, 3);  // two strips a page
  EXPECT_EQ(serials, expected);
  {
    const auto record = app::GameRecord::open(path("club.sqlite"), app::GameRecord::Access::reader);
    for (const auto& ticket : book.tickets) EXPECT_EQ(record->ticket(ticket.serial), ticket);
    EXPECT_FALSE(record->ticket(4031));
  }

  ASSERT_EQ(runProgram(made + path("again.json")).exitCode, 0);
  EXPECT_EQ(fileText(path("again.json")), fileText(path("book.json")));
  const auto reprint =
      runProgram("tickets --book " + path("book.json") + " --pdf " + path("c.pdf"));
  ASSERT_EQ(reprint.exitCode, 0) << reprint.err;
  EXPECT_EQ(readBack(path("c.pdf")).first.size(), 30u);

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

// The tickets command and the caller both refuse what they cannot use before doing anything.
TEST_F(TicketsProgram, BadInputIsOneClearMessageAndExitTwo) {
  std::ofstream(path("broken.json")) << "{\"tickets\": [{\"serial\": 1}]}";
  std::ofstream(path("notjson.json")) << "{\"tickets\": [";
  const std::string pdf = " --pdf " + path("out.pdf");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"tickets --strips 0" + pdf, "at least 1 strip"},
      {"tickets --strips 10001" + pdf, "at most 10000 strips"},
      {"tickets --strips 99999999999999999999999" + pdf, "far too large"},
      {"tickets --strips many" + pdf, "--strips takes a whole number, not many"},
      {"tickets --strips 2 --first-serial 0" + pdf, "first serial must be 1 or more"},
      {"tickets --strips 2 --first-serial 999999990" + pdf, "serials would run past 999999999"},
      {"tickets --strips 2 --seed -4" + pdf, "--seed takes a whole number"},
      {"tickets --strips 2", "--pdf is needed"},
      {"tickets --strips 2 --pdf", "--pdf needs a value after it: --pdf FILE.pdf"},
      {"tickets" + pdf, "--strips N"},
      {"tickets --strips 2 --pdf " + path("no/such/dir/out.pdf"), "cannot be written"},
      {"tickets --strips 2" + pdf + " --json " + path("no/such/dir/book.json"),
       "cannot be written"},
      {"tickets --book " + path("broken.json") + pdf, "ticket 1 has no \"grid\""},
      {"tickets --book " + path("missing.json") + pdf, "cannot read"},
      {"tickets --book " + path("broken.json") + " --strips 2" + pdf, "--book prints a book as"},
      {"--script - --book " + path("broken.json"),
       "vorlix-caller: the book " + path("broken.json")},
      {"--script - --book " + path("notjson.json"), "the book " + path("notjson.json")},
      {"--script - --book " + path("missing.json"), "cannot read"},
      {"--script - --book", "--book needs a value"},
  };
  for (const auto& [arguments, message] : cases) {
    const auto run = runProgram(arguments, "tap Play\n");
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_NE(run.err.find(message), std::string::npos) << arguments << "\n" << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "") << "refused before anything ran: " << arguments;
    EXPECT_FALSE(fs::exists(path("out.pdf"))) << arguments;
  }
}

}  // namespace
