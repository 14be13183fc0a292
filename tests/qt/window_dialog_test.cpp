// The restart question and the completion alert as real dialogs over the window: answered by
// click or by key, while the calling goes on behind them.
#include <gtest/gtest.h>

#include "window_harness.h"

namespace {

const std::vector<std::uint32_t> kDraws = {7, 45, 12, 88, 3, 60, 21, 34};

qthost::AlertDialog& onlyDialog(WindowHarness& w) {
  auto open = w.openDialogs();
  EXPECT_EQ(open.size(), 1u);
  return *open.at(0);
}

// What the same game has drawn after `seconds` with no question asked.
std::vector<std::string> uninterruptedGame(double seconds) {
  ScreenHarness reference({.presetDraws = kDraws});
  reference.tap("Play");
  reference.advance(seconds);
  return reference.vc()._randomNumbers;
}

TEST(WindowDialogs, NoKeepsTheGameGoingYesStartsANewOneByClickOrKey) {
  const auto drawnWithoutQuestions = uninterruptedGame(60.0);
  WindowHarness w({.presetDraws = kDraws});
  w.click("Play");
  w.advance(20.0);
  w.click("Re-start");
  EXPECT_EQ(onlyDialog(w).windowTitle(), "Re-start");
  EXPECT_TRUE(onlyDialog(w).isModal());
  w.advance(10.0);  // the calling goes on while the question is up
  QTest::mouseClick(onlyDialog(w).buttonTitled("No"), Qt::LeftButton);
  for (Qt::Key no : {Qt::Key_N, Qt::Key_Escape}) {
    w.key(Qt::Key_R);
    QTest::keyClick(&onlyDialog(w), no);
  }
  w.key(Qt::Key_R);
  onlyDialog(w).close();  // closing the window answers No
  EXPECT_TRUE(w.openDialogs().empty());
  w.advance(30.0);
  EXPECT_EQ(w.screen->_randomNumbers, drawnWithoutQuestions);

  w.click("Re-start");
  QTest::mouseClick(onlyDialog(w).buttonTitled("Yes"), Qt::LeftButton);
  EXPECT_TRUE(w.openDialogs().empty());
  EXPECT_EQ(w.speech.entries().back().text,
            "Welcome to Vorlix game! Game is about to start! Please keep silence!");
  for (int n = 1; n <= 90; ++n) EXPECT_EQ(*w.cell(n).backgroundColor(), w.screen->color_un_filled);
  EXPECT_EQ(w.shownColour(w.picture(), w.cell(7)), QColor(Qt::yellow)) << "repainted after Yes";

  for (Qt::Key yes : {Qt::Key_Y, Qt::Key_Return}) {
    w.advance(20.0);
    w.key(Qt::Key_R);
    QTest::keyClick(&onlyDialog(w), yes);
    EXPECT_LE(w.screen->_randomNumbers.size(), 1u) << "a new game after Yes";
  }

  // Two questions open at once: each answer goes to its own question, once.
  w.advance(20.0);
  w.widget->tapButton("Re-start");
  w.widget->tapButton("Re-start");
  auto open = w.openDialogs();
  ASSERT_EQ(open.size(), 2u);
  open[0]->answer(1);
  open[0]->answer(0);  // a second answer to the same question is ignored
  EXPECT_GT(w.screen->_randomNumbers.size(), 1u);
  open[1]->answer(0);
  EXPECT_LE(w.screen->_randomNumbers.size(), 1u);
}

TEST(WindowDialogs, CompletionAlertIsShownAndClosesWithoutTouchingTheGame) {
  WindowHarness w;
  w.screen->setDebug(true);
  w.click("Play");
  w.loop.runUntilIdle(std::chrono::hours(10));
  ASSERT_EQ(w.screen->_randomNumbers.size(), 90u);
  EXPECT_EQ(onlyDialog(w).windowTitle(), "Success!");
  QTest::keyClick(&onlyDialog(w), Qt::Key_Escape);
  EXPECT_TRUE(w.openDialogs().empty());
  EXPECT_EQ(w.screen->_randomNumbers.size(), 90u);
}

}  // namespace
