#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/screen_harness.h"

namespace {

using Items = std::vector<std::pair<std::string, float>>;

Items phrased(ViewController& vc, const std::vector<std::string>& texts) {
  vc.buildAnnounceInfoList(texts);
  Items items;
  for (const auto& item : vc._announceInfoList) items.emplace_back(item->info, item->nSeconds);
  return items;
}

}  // namespace

// One digit: "Single number " and the digit; two: each digit, then the whole; three or more
// characters: the text as it is, with the longer pause.
TEST(Phrasing, TheCallingStyle) {
  ScreenHarness h;
  ViewController& vc = h.vc();
  EXPECT_EQ(phrased(vc, {"7"}), (Items{{"Single number 7", 2.5f}}));
  EXPECT_EQ(phrased(vc, {"45"}), (Items{{"4", 1.0f}, {"5", 1.0f}, {"45", 1.0f}}));
  EXPECT_EQ(phrased(vc, {"90"}), (Items{{"9", 1.0f}, {"0", 1.0f}, {"90", 1.0f}}));
  EXPECT_EQ(phrased(vc, {"10"}), (Items{{"1", 1.0f}, {"0", 1.0f}, {"10", 1.0f}}));
  EXPECT_EQ(phrased(vc, {"Please relax!"}), (Items{{"Please relax!", 3.0f}}));
  EXPECT_EQ(phrased(vc, {"100"}), (Items{{"100", 3.0f}}));
  EXPECT_EQ(phrased(vc, {""}), (Items{{"Single number ", 2.5f}}));
  EXPECT_EQ(phrased(vc, {"7", "45"}),
            (Items{{"Single number 7", 2.5f}, {"4", 1.0f}, {"5", 1.0f}, {"45", 1.0f}}));
  EXPECT_EQ(
      phrased(vc, {"45", "45"}),
      (Items{{"4", 1.0f}, {"5", 1.0f}, {"45", 1.0f}, {"4", 1.0f}, {"5", 1.0f}, {"45", 1.0f}}));
  EXPECT_EQ(phrased(vc, {"3", "Please relax!"}),
            (Items{{"Single number 3", 2.5f}, {"Please relax!", 3.0f}}));
  // Nothing to say leaves nothing over from before.
  EXPECT_EQ(phrased(vc, {}), Items{});
}

// A list replaced while it is being played: what was not yet said is never said, and the new list
// plays from its start.
TEST(Phrasing, ReplacingAListBeingPlayed) {
  ScreenHarness::Options options;
  options.presetDraws = {7, 45};
  ScreenHarness h(options);
  h.tap("Play");
  h.advance(11.0);  // "4" of 45 has been said; "5" and "45" are waiting
  ASSERT_EQ(h.vc()._numberIndexToRepeat, 1);

  h.speech.clear();
  ASSERT_EQ(h.tap("L2"), platform::TapOutcome::reached);
  ASSERT_TRUE(h.runUntilIdle());
  EXPECT_EQ(h.spoken(),
            (std::vector<std::string>{"Announcing last 2 numbers! Please keep silence!",
                                      "Single number 7", "4", "5", "45", "Please relax!"}));
}
