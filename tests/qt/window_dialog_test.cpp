// The restart question as the real dialog over the window, answered by click while the calling
// goes on behind it.
#include <gtest/gtest.h>

#include "window_harness.h"

namespace {

const std::vector<std::uint32_t> kDraws = {7, 45, 12, 88, 3, 60, 21, 34};

qthost::AlertDialog& onlyDialog(WindowHarness& w) {
  auto open = w.openDialogs();
  EXPECT_EQ(open.size(), 1u);
  return *open.at(0);
}

TEST(WindowDialogs, NoKeepsTheGameGoingAndYesStartsANewOne) {
  ScreenHarness uninterrupted({.presetDraws = kDraws});
  uninterrupted.tap("Play");
  uninterrupted.advance(60.0);

  WindowHarness w({.presetDraws = kDraws});
  w.click("Play");
  w.advance(20.0);
  w.click("Re-start");
  EXPECT_EQ(onlyDialog(w).windowTitle(), "Re-start");
  EXPECT_TRUE(onlyDialog(w).isModal());
  w.advance(10.0);  // the calling goes on while the question is up
  QTest::mouseClick(onlyDialog(w).buttonTitled("No"), Qt::LeftButton);
  EXPECT_TRUE(w.openDialogs().empty());
  w.advance(30.0);
  std::vector<int> uninterruptedCalls;
  for (const auto& text : uninterrupted.vc()._randomNumbers)
    uninterruptedCalls.push_back(std::stoi(text));
  EXPECT_EQ(w.called(), uninterruptedCalls);

  w.click("Re-start");
  QTest::mouseClick(onlyDialog(w).buttonTitled("Yes"), Qt::LeftButton);
  EXPECT_TRUE(w.openDialogs().empty());
  EXPECT_LE(w.called().size(), 1u);
  EXPECT_EQ(w.speech.entries().back().text,
            "Welcome to Vorlix game! Game is about to start! Please keep silence!");
  EXPECT_EQ(w.shownColour(w.picture(), w.cellFrame(7)), QColor(Qt::yellow))
      << "repainted after Yes";
}

}  // namespace
