// The panel is the catalogue: every control on screen once, with its kind, in the catalogue's rows;
// every recall reads out what it says it does, starting with its lead-in and ending calmly, and
// marks its own button. A control added to the catalogue is checked here without a new test.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/screen_harness.h"
#include "ui/control_catalogue.h"

namespace {

using Action = ui::ControlEntry::Action;

// The numbers a run of spoken lines names: "Single number 7" and the whole two-digit "45" (the
// digit pieces "4", "5" before it are not numbers called).
std::vector<int> numbersSaid(const std::vector<std::string>& lines) {
  std::vector<int> numbers;
  const std::string single = "Single number ";
  for (const auto& line : lines) {
    if (line.starts_with(single)) numbers.push_back(std::stoi(line.substr(single.size())));
    if (line.size() == 2 && std::isdigit(static_cast<unsigned char>(line[0])))
      numbers.push_back(std::stoi(line));
  }
  return numbers;
}

std::vector<int> expectedRecall(const Recall& recall, std::vector<int> called) {
  switch (recall.kind) {
    case Recall::Kind::lastNumbers: {
      const auto keep =
          std::min<std::size_t>(static_cast<std::size_t>(recall.count), called.size());
      return {called.end() - static_cast<std::ptrdiff_t>(keep), called.end()};
    }
    case Recall::Kind::allCalled:
      std::sort(called.begin(), called.end());
      return called;
    case Recall::Kind::remaining: {
      std::vector<int> rest;
      for (int n = 1; n <= game::kNumbersInGame; ++n)
        if (std::find(called.begin(), called.end(), n) == called.end()) rest.push_back(n);
      return rest;
    }
  }
  return {};
}

std::string leadIn(const Recall& recall) {
  switch (recall.kind) {
    case Recall::Kind::lastNumbers:
      return recall.count <= 1 ? "Announcing last number! Please keep silence!"
                               : "Announcing last " + std::to_string(recall.count) +
                                     " numbers! Please keep silence!";
    case Recall::Kind::allCalled:
      return "Announcing all numbers! Please keep silence!";
    case Recall::Kind::remaining:
      return "Announcing remai ning numbers! Please keep silence!";
  }
  return {};
}

TEST(ControlCatalogue, ThePanelHasEveryControlOnceInItsRowsWithItsKind) {
  ScreenHarness h;
  std::set<std::string> titles;
  double rowTop = -1.0;
  int row = -1;
  for (const auto& control : ui::controls()) {
    const std::string title(control.title);
    EXPECT_TRUE(titles.insert(title).second) << title << " twice in the catalogue";
    ASSERT_NE(platform::findButtonTitled(h.root(), title), nullptr) << title;
    const platform::Button& button = h.button(title);
    EXPECT_EQ(button.tag(), static_cast<long>(control.type)) << title;
    if (control.row != row) {  // rows go down the screen in the catalogue's order
      EXPECT_GT(button.frame().y, rowTop) << title;
      rowTop = button.frame().y;
      row = control.row;
    }
    EXPECT_EQ(button.frame().y, rowTop) << title << " is not in its row";
    if (control.key.kind != ui::ControlKey::Kind::none && control.action != Action::speed) {
      const auto rows = ui::keyHelpRows();
      EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                              [&](const auto& r) { return r.first == control.key.name; }))
          << title << "'s key is missing from the help";
    }
  }
  std::size_t buttons = 0;
  for (const auto& view : h.root().subviews())
    buttons += dynamic_cast<const platform::Button*>(view.get()) != nullptr;
  EXPECT_EQ(buttons, ui::controls().size());
}

TEST(ControlCatalogue, EveryRecallReadsWhatItSaysAndMarksItsButton) {
  for (const auto& control : ui::controls()) {
    if (control.action != Action::recall) continue;
    const std::string title(control.title);
    SCOPED_TRACE(title);
    ScreenHarness h({.presetDraws = {7, 45, 12, 88, 3, 60, 21, 34, 90, 1, 56, 77}});
    h.tap("Play");
    h.runUntilDrawn(12);
    h.tap("Pause");
    std::vector<int> called;
    for (const auto& text : h.vc()._randomNumbers) called.push_back(std::stoi(text));
    const std::size_t from = h.speech.entries().size();
    ASSERT_EQ(h.tap(title), platform::TapOutcome::reached);
    EXPECT_EQ(h.button(title).backgroundColor(), platform::Color::orangeColor());
    ASSERT_TRUE(h.runUntilIdle());
    const auto said = h.spoken(from);
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.front(), leadIn(control.recall));
    EXPECT_EQ(said.back(), "Please relax!");
    EXPECT_EQ(numbersSaid(said), expectedRecall(control.recall, called));
    EXPECT_EQ(h.vc()._randomNumbers.size(), called.size()) << "a recall drew a number";
  }
}

}  // namespace
