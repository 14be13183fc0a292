// The room's displays driven from the window: D opens the audience window, which then shows each
// event of the real game as the room should see it; W serves the web board and J shows its
// address, whose QR code reads back (zbarimg) as the board's address; none of these keys touches
// the game.
#include <gtest/gtest.h>

#include "audience/qr_decoder.h"
#include "hosts/qt/room_displays.h"
#include "web/room_harness.h"
#include "window_harness.h"

namespace {

using vorlix::room::RoomPhase;

// The window with the room's displays, told of every event as the window host tells them.
struct RoomWindow {
  explicit RoomWindow(std::vector<std::uint32_t> draws)
      : w({.presetDraws = std::move(draws)}), feed(loopback()) {
    w.loop.setAfterEventHook([this] {
      w.widget->screenChanged();
      feed.screenChanged(w.now());
    });
    feed.screenChanged(w.now());
  }
  ~RoomWindow() { w.loop.setAfterEventHook(nullptr); }

  static vorlix::web::WebBoardOptions loopback() {
    vorlix::web::WebBoardOptions options;
    options.listen = {"127.0.0.1", 0};
    return options;
  }
  void click(const std::string& title) {
    w.click(title);
    feed.screenChanged(w.now());
  }
  // What the audience window shows against a picture of the state the room should see.
  QImage audience() const { return displays.audienceWindow()->picture({1280, 720}); }
  static QImage expected(const vorlix::room::RoomState& state) {
    vorlix::audience::AudienceWindow window;
    window.setState(state);
    return window.picture({1280, 720});
  }

  WindowHarness w;
  hostkit::RoomFeed feed;
  std::vector<std::string> status;
  qthost::RoomDisplays displays{*w.widget, feed,
                                [this](const std::string& line) { status.push_back(line); }};
};

TEST(RoomDisplays, AudienceWindowFollowsTheGameFromTheFirstKeyPress) {
  RoomWindow r({7, 45, 12});
  r.w.key(Qt::Key_D);
  ASSERT_NE(r.displays.audienceWindow(), nullptr);
  EXPECT_TRUE(r.displays.audienceWindow()->isVisible());
  EXPECT_FALSE(r.displays.audienceWindow()->isFullScreen()) << "one screen: a normal window";
  EXPECT_EQ(r.audience(), RoomWindow::expected({}));

  r.click("Play");
  r.w.advance(6.0);  // 7 is announced; 45 is drawn and waits
  EXPECT_EQ(r.audience(), RoomWindow::expected(roomState(RoomPhase::Calling, {7}, 7)));
  r.w.advance(5.0);
  EXPECT_EQ(r.audience(), RoomWindow::expected(roomState(RoomPhase::Calling, {7, 45}, 45)));
  r.click("Pause");
  EXPECT_EQ(r.audience(), RoomWindow::expected(roomState(RoomPhase::Paused, {7, 45}, 45)));

  r.w.key(Qt::Key_D);  // closes it; the game is as it was
  EXPECT_FALSE(r.displays.audienceWindow()->isVisible());
  EXPECT_EQ(r.w.called(), (std::vector<int>{7, 45}));
  r.w.key(Qt::Key_D);
  EXPECT_TRUE(r.displays.audienceWindow()->isVisible());
}

TEST(RoomDisplays, ServingShowsTheAddressAsAQrCodeAndStopsAgain) {
  RoomWindow r({7});
  r.w.key(Qt::Key_J);  // not served yet: the card says so
  EXPECT_TRUE(r.displays.addressShown());
  EXPECT_EQ(decodeQrCodes(r.w.widget->grab().toImage()), "");
  r.w.key(Qt::Key_J);
  EXPECT_FALSE(r.displays.addressShown());

  r.w.key(Qt::Key_W);
  ASSERT_TRUE(r.feed.board().serving());
  const std::string url =
      "http://127.0.0.1:" + std::to_string(r.feed.board().server()->port()) + "/";
  EXPECT_EQ(r.status.back(), "Web board: " + url);
  EXPECT_TRUE(r.displays.addressShown());
  EXPECT_EQ(decodeQrCodes(r.w.widget->grab().toImage()), url);
  // Between games the audience window shows it too.
  r.w.key(Qt::Key_D);
  EXPECT_EQ(decodeQrCodes(r.displays.audienceWindow()->picture({1280, 720})), url);

  r.w.key(Qt::Key_W);
  EXPECT_FALSE(r.feed.board().serving());
  EXPECT_FALSE(r.displays.addressShown());
  EXPECT_EQ(decodeQrCodes(r.displays.audienceWindow()->picture({1280, 720})), "");
  EXPECT_TRUE(r.w.called().empty()) << "no key of the room's displays reached the game";
}

}  // namespace
