#include <gtest/gtest.h>

#include "support/screen_harness.h"

TEST(AnnouncementCycle, Smoke) {
  ScreenHarness h;
  EXPECT_EQ(h.tap("Play"), platform::TapOutcome::reached);
  h.runUntilIdle();
  EXPECT_EQ(h.vc()._randomNumbers.size(), 90u);
}
