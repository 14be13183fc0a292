#include <gtest/gtest.h>

#include <string>

#include "screen_steps.h"
#include "support/screen_harness.h"

namespace {

using platform::Color;

constexpr double kExact = 1e-9;

// One letter per button in the order the panel adds them, a blank before each new row:
// "Play L2 L3 L5 L10 ALL Re-start  Pause 2 3 ... 10  Remaining Numbers".
// k black, g grey, o orange, ? anything else.
std::string panelLook(const platform::View& root) {
  std::string look;
  for (const auto& subview : root.subviews()) {
    const auto* button = dynamic_cast<const platform::Button*>(subview.get());
    if (button == nullptr) continue;
    if (button->tag() == 4 || button->tag() == 6) look += ' ';
    const auto& colour = button->backgroundColor();
    look += colour == Color::blackColor()    ? 'k'
            : colour == Color::grayColor()   ? 'g'
            : colour == Color::orangeColor() ? 'o'
                                             : '?';
  }
  return look;
}

// Which of Play and Pause takes taps.
std::string liveButton(ScreenHarness& h) {
  const bool play = steps::takesTaps(h, "Play");
  const bool pause = steps::takesTaps(h, "Pause");
  return play && pause ? "both" : play ? "Play" : pause ? "Pause" : "none";
}

void expectFrame(const platform::View& view, double x, double y, double width, double height) {
  EXPECT_NEAR(view.frame().x, x, kExact);
  EXPECT_NEAR(view.frame().y, y, kExact);
  EXPECT_NEAR(view.frame().width, width, kExact);
  EXPECT_NEAR(view.frame().height, height, kExact);
}

double rightEdge(const platform::View& view) {
  return view.frame().x + view.frame().width;
}

const std::string kAfterLoad = "kkkkkkk gkkkokkkkk k";
const std::string kCalling = "gkkkkkk kkkkokkkkk k";

// The recall row with the speed row at 5 and Remaining black, Play live.
std::string stoppedWithRecalls(const std::string& recalls) {
  return "k" + recalls + "k gkkkokkkkk k";
}
// Everything at rest (Play live) but the speed row.
std::string stoppedWithSpeeds(const std::string& speeds) {
  return "kkkkkkk g" + speeds + " k";
}

}  // namespace

TEST(ControlPanel, GeometryOnA320PointScreen) {
  ScreenHarness h;
  const double s = 29.8;
  EXPECT_NEAR(h.vc().numberSize, s, kExact);

  expectFrame(h.button("Play"), 2, 385.2, 53.64, 23.84);
  expectFrame(h.button("L2"), 57.64, 385.2, s, 23.84);
  expectFrame(h.button("L10"), 153.04, 385.2, 35.76, 23.84);
  expectFrame(h.button("ALL"), 190.8, 385.2, 44.7, 23.84);
  expectFrame(h.button("Re-start"), 237.5, 385.2, 80.46, 23.84);
  EXPECT_NEAR(rightEdge(h.button("Re-start")), 317.96, kExact);

  expectFrame(h.button("Pause"), 2, 415.04, 53.64, 23.84);
  expectFrame(*h.vc().lblSpeed, 57.64, 415.04, 44.7, 23.84);
  expectFrame(h.button("2"), 104.34, 415.04, 22.052, 23.84);
  expectFrame(h.button("10"), 296.756, 415.04, 22.052, 23.84);
  EXPECT_NEAR(rightEdge(h.button("10")), 318.808, kExact);

  expectFrame(h.button("Remaining Numbers"), 2, 444.88, 163.9, 23.84);
  EXPECT_NEAR(h.vc().yValue, 440.88, kExact);  // row 3 leaves the cursor where row 2 put it

  for (const auto& subview : h.root().subviews()) {
    if (const auto* button = dynamic_cast<const platform::Button*>(subview.get())) {
      EXPECT_NEAR(button->layer().cornerRadius, 4.768, kExact) << *button->titleText();
    }
  }
}

TEST(ControlPanel, RootViewHoldsBoardThenControlsInOrderWithTheirTags) {
  ScreenHarness h;
  const auto& subviews = h.root().subviews();
  ASSERT_EQ(subviews.size(), 90u + 19u);
  for (std::size_t i = 0; i < 90; ++i) EXPECT_EQ(subviews[i], h.vc()._gridViewsArray[i]);
  std::string controls;
  for (std::size_t i = 90; i < subviews.size(); ++i) {
    const auto* button = dynamic_cast<const platform::Button*>(subviews[i].get());
    controls += (button ? button->titleText().value_or("?") : "label") + ":" +
                std::to_string(subviews[i]->tag()) + " ";
  }
  EXPECT_EQ(controls,
            "Play:3 L2:2 L3:2 L5:2 L10:2 ALL:2 Re-start:5 Pause:4 label:0 "
            "2:1 3:1 4:1 5:1 6:1 7:1 8:1 9:1 10:1 Remaining Numbers:6 ");
  EXPECT_EQ(subviews[90], h.vc().btnPlay);
  EXPECT_EQ(subviews[97], h.vc().btnPause);
  EXPECT_EQ(subviews[98], h.vc().lblSpeed);
  EXPECT_EQ(subviews[108], h.vc().btnRemaining);
}

TEST(ControlPanel, ButtonsLookAlikeWithTheIdiomsTitleSize) {
  for (auto [idiom, points] : {std::pair{platform::UserInterfaceIdiom::phone, 10.0},
                               std::pair{platform::UserInterfaceIdiom::pad, 20.0}}) {
    ScreenHarness::Options options;
    options.idiom = idiom;
    ScreenHarness h(options);
    for (const auto& subview : h.root().subviews()) {
      auto* button = dynamic_cast<platform::Button*>(subview.get());
      if (button == nullptr) continue;
      EXPECT_EQ(button->titleLabel()->font(), platform::Font::boldSystemFontOfSize(points));
      EXPECT_EQ(button->titleColor(platform::ControlState::normal), Color::whiteColor());
      EXPECT_TRUE(button->showsTouchWhenHighlighted());
    }
  }
  ScreenHarness h;
  EXPECT_EQ(h.vc().lblSpeed->textAlignment(), platform::TextAlignment::center);
  EXPECT_EQ(h.vc().lblSpeed->backgroundColor(), Color::clearColor());
}

TEST(ControlPanel, AfterLoadAndAfterEachGameEvent) {
  ScreenHarness h;
  EXPECT_EQ(h.vc().title(), "Vorlix @ Korvanda Castle");
  EXPECT_NE(h.vc().synthesizer, nullptr);
  EXPECT_EQ(panelLook(h.root()), kAfterLoad);
  EXPECT_EQ(h.vc().lblSpeed->text(), "Speed: 5");
  EXPECT_EQ(liveButton(h), "Play");

  h.tap("Play");
  EXPECT_EQ(panelLook(h.root()), kCalling);
  EXPECT_EQ(liveButton(h), "Pause");
  h.tap("Pause");
  EXPECT_EQ(panelLook(h.root()), kAfterLoad);
  EXPECT_EQ(liveButton(h), "Play");

  for (const auto& [title, marked] : {std::pair{"L2", "okkkk"},
                                      {"L3", "kokkk"},
                                      {"L5", "kkokk"},
                                      {"L10", "kkkok"},
                                      {"ALL", "kkkko"}}) {
    h.tap("Play");  // from calling, so each recall has to take the panel out of it
    ASSERT_EQ(h.tap(title), platform::TapOutcome::reached);
    EXPECT_EQ(panelLook(h.root()), stoppedWithRecalls(marked)) << title;
    EXPECT_EQ(liveButton(h), "Play") << title;
  }
  h.tap("Remaining Numbers");
  EXPECT_EQ(panelLook(h.root()), "kkkkkkk gkkkokkkkk o");
  EXPECT_EQ(liveButton(h), "Play");

  h.tap("Re-start");
  EXPECT_EQ(panelLook(h.root()), "kkkkkkk gkkkokkkkk o");  // only the answer changes it
  ASSERT_TRUE(h.alerts.tapButtonTitled("Yes"));
  EXPECT_EQ(panelLook(h.root()), kCalling);
  EXPECT_EQ(liveButton(h), "Pause");
}

TEST(ControlPanel, SpeedMarksOnlyTheButtonWhoseWholeTitleIsTheValue) {
  ScreenHarness h;
  ASSERT_EQ(h.tap("10"), platform::TapOutcome::reached);
  EXPECT_EQ(h.vc()._speed, 10);
  EXPECT_EQ(h.vc().lblSpeed->text(), "Speed: 10");
  EXPECT_EQ(panelLook(h.root()), stoppedWithSpeeds("kkkkkkkko"));  // "1" is no button, "10" is

  h.vc().setSpeed(1);
  EXPECT_EQ(h.vc().lblSpeed->text(), "Speed: 1");
  EXPECT_EQ(panelLook(h.root()), stoppedWithSpeeds("kkkkkkkkk"));
  h.vc().setSpeed(11);
  EXPECT_EQ(h.vc().lblSpeed->text(), "Speed: 11");
  EXPECT_EQ(panelLook(h.root()), stoppedWithSpeeds("kkkkkkkkk"));

  for (int speed = 2; speed <= 10; ++speed) {
    h.tap(std::to_string(speed));
    h.tap(std::to_string(speed));  // the marked one again: nothing changes
    EXPECT_EQ(h.vc()._speed, speed);
    std::string speeds(9, 'k');
    speeds[static_cast<std::size_t>(speed - 2)] = 'o';
    EXPECT_EQ(panelLook(h.root()), stoppedWithSpeeds(speeds));
  }
}

// Both operations walk the same subviews; each must recolour only its own kind of button, found
// by tag and title together.
TEST(ControlPanel, PanelUpdatesAndSpeedKeepToTheirOwnButtons) {
  ScreenHarness h;
  const Color magenta = Color::initWithRed(1, 0, 1, 1);
  auto paint = [&](long tag) {
    for (const auto& subview : h.root().subviews())
      if (dynamic_cast<platform::Button*>(subview.get()) && subview->tag() == tag)
        subview->setBackgroundColor(magenta);
  };
  auto countPainted = [&] {
    int painted = 0;
    for (const auto& subview : h.root().subviews())
      painted += subview->backgroundColor() == magenta;
    return painted;
  };
  paint(1);
  h.vc().updateControlPanel("5", true, Color::blackColor());
  h.tap("L3");
  EXPECT_EQ(countPainted(), 9) << "updateControlPanel recoloured a speed button";

  paint(2);
  h.tap("7");
  EXPECT_EQ(countPainted(), 5) << "setSpeed recoloured a recall button";

  // A button of another kind that shares a recall title, and a recall button without a title.
  auto lookalike =
      h.vc().createButton("L5", &ViewController::L5_click, ButtonType::none, 0, 0, 1, 1);
  auto untitled =
      h.vc().createButton("", &ViewController::L5_click, ButtonType::lastNumbers, 0, 0, 1, 1);
  untitled->titleLabel()->setText(std::nullopt);
  lookalike->setBackgroundColor(magenta);
  untitled->setBackgroundColor(magenta);
  h.vc().updateControlPanel("L5", true, Color::blackColor());
  EXPECT_EQ(lookalike->backgroundColor(), magenta);
  EXPECT_EQ(h.button("L5").backgroundColor(), Color::orangeColor());
  h.vc().updateControlPanel("", true, Color::blackColor());
  EXPECT_EQ(untitled->backgroundColor(), Color::blackColor());
  EXPECT_EQ(h.button("L5").backgroundColor(), Color::blackColor());
}

// The pace changes from the next timer armed; the one already armed fires as it was set.
TEST(ControlPanel, SpeedTappedWhileCallingAppliesFromTheNextTimer) {
  ScreenHarness h(steps::drawingFirst({45}));
  h.tap("Play");
  h.advance(6.0);  // "4" is spoken, the next item is due 2 s later at speed 5
  h.advance(1.0);
  ASSERT_EQ(h.tap("10"), platform::TapOutcome::reached);
  EXPECT_EQ(h.vc().lblSpeed->text(), "Speed: 10");
  h.advance(60.0);
  const auto heard = steps::heardSince(h, 6.0);
  ASSERT_GE(heard.size(), 3u);
  EXPECT_EQ(heard[0], (steps::Heard{0.0, "4"}));
  EXPECT_EQ(heard[1], (steps::Heard{2.0, "5"}));
  EXPECT_EQ(heard[2], (steps::Heard{6.0, "45"}));
}
