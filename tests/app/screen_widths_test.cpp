// Every width the program accepts, on a phone and on a pad: the whole screen is laid out inside a
// root view tall enough for it, and every control takes a tap at its centre.
#include <gtest/gtest.h>

#include "app/application_main.h"
#include "tests/support/loop_host.h"
#include "ui/control_catalogue.h"

namespace {

std::string where(double width, platform::UserInterfaceIdiom idiom) {
  return std::to_string(static_cast<int>(width)) +
         (idiom == platform::UserInterfaceIdiom::pad ? " pad" : " phone");
}

void expectEverythingInside(const app::ScreenSnapshot& screen, const std::string& at) {
  const auto& bounds = screen.bounds;
  for (const auto& view : screen.views) {
    const auto& f = std::visit([](const auto& look) { return look.drawing.frame; }, view);
    EXPECT_GE(f.x, 0.0) << at;
    EXPECT_LE(f.x + f.width, bounds.width + 1e-9) << at << " view at x " << f.x;
    EXPECT_LE(f.y + f.height, bounds.height + 1e-9) << at << " view at y " << f.y;
  }
}

app::PressOutcome tapCentre(app::Screen& screen, const std::string& title) {
  const app::ScreenSnapshot snapshot = screen.snapshot();  // the control below points into it
  const app::ControlLook* control = snapshot.control(title);
  if (control == nullptr) return app::PressOutcome::noSuchControl;
  const auto& f = control->frame;
  return screen.tapAt({f.x + f.width / 2.0, f.y + f.height / 2.0});
}

// Taps at the centres only, in an order where each control takes taps: Play, every speed, every
// recall, Pause, Re-start (answered No).
void tapEveryControl(LoopHost& host, app::Screen& screen, const std::string& at) {
  EXPECT_EQ(tapCentre(screen, "Play"), app::PressOutcome::pressed) << at;
  host.clock.advanceBySeconds(30.0);
  for (const auto& control : ui::controls()) {
    const std::string title(control.title);
    if (control.action == ui::ControlEntry::Action::speed) {
      EXPECT_EQ(tapCentre(screen, title), app::PressOutcome::pressed) << at << " " << title;
      EXPECT_EQ(screen.snapshot().speedLabel, "Speed: " + title) << at;
    } else if (control.action == ui::ControlEntry::Action::recall) {
      const auto spokenBefore = host.speech.entries().size();
      EXPECT_EQ(tapCentre(screen, title), app::PressOutcome::pressed) << at << " " << title;
      host.clock.advanceBySeconds(0.5);
      EXPECT_GT(host.speech.entries().size(), spokenBefore) << at << " " << title;
      EXPECT_EQ(tapCentre(screen, "Play"), app::PressOutcome::pressed) << at << " " << title;
    }
  }
  EXPECT_EQ(tapCentre(screen, "Pause"), app::PressOutcome::pressed) << at;
  EXPECT_EQ(screen.snapshot().phase, app::GamePhase::paused) << at;
  EXPECT_EQ(tapCentre(screen, "Re-start"), app::PressOutcome::pressed) << at;
  ASSERT_EQ(screen.snapshot().openAlerts.size(), 1u) << at;
  EXPECT_TRUE(screen.answer("No"));
}

TEST(ScreenWidths, EveryAcceptedWidthShowsTheWholeScreenAndEveryControlTakesTaps) {
  for (const auto idiom : {platform::UserInterfaceIdiom::phone, platform::UserInterfaceIdiom::pad})
    for (const double width : {240.0, 320.0, 414.0, 600.0, 768.0, 1024.0, 1366.0}) {
      const std::string at = where(width, idiom);
      LoopHost host([&](app::Screen& screen) {
        expectEverythingInside(screen.snapshot(), at);
        const double points = idiom == platform::UserInterfaceIdiom::pad ? 20.0 : 10.0;
        for (const auto& view : screen.snapshot().views) {  // bold titles, larger on a pad
          if (const auto* control = std::get_if<app::ControlLook>(&view)) {
            EXPECT_EQ(control->drawing.font, platform::Font::boldSystemFontOfSize(points)) << at;
          }
        }
        tapEveryControl(host, screen, at);
      });
      app::ScreenSettings settings;
      settings.width = width;
      settings.idiom = idiom;
      app::applicationMain(host, settings, app::Bundle::mainBundle(), {});
    }
}

}  // namespace
