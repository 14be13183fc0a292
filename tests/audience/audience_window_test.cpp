// The audience window as the room sees it, read back from its pixels: the number being called
// large, the strip newest first, the board's called numbers marked by brightness and shape, a
// clean picture after a restart, the claimed ticket, and the QR code read by a real decoder.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <QImage>

#include "hosts/audience/audience_layout.h"
#include "hosts/audience/audience_window.h"
#include "qr_decoder.h"

namespace {

using vorlix::audience::AudienceLayout;
using vorlix::audience::AudienceWindow;
using vorlix::audience::layOutAudience;
using vorlix::room::RoomPhase;
using vorlix::room::RoomState;

const std::vector<int> kCalls = {7, 45, 12, 88, 3, 60, 21};

// A ticket claimed after six calls: 7, 12, 45, 60 and 88 of it have been called.
const vorlix::room::ClaimCheck kClaim{{{{7, 0, 0, 31, 0, 52, 0, 70, 88},
                                        {0, 12, 24, 0, 45, 0, 61, 0, 89},
                                        {3, 0, 26, 0, 47, 0, 60, 77, 0}}},
                                      "Bogey: 24, 26, 31, 47 not called"};

RoomState calling(std::size_t calls, RoomPhase phase = RoomPhase::Calling) {
  RoomState state;
  state.phase = phase;
  state.calledInOrder.assign(kCalls.begin(), kCalls.begin() + static_cast<long>(calls));
  if (calls > 0) state.numberBeingCalled = state.calledInOrder.back();
  return state;
}

QImage pictureOf(const RoomState& state, QSize size = {1280, 720},
                 const std::string& address = "") {
  AudienceWindow window;
  window.setState(state);
  window.setBoardAddress(address);
  return window.picture(size);
}

// WCAG's relative luminance and contrast ratio.
double luminance(const QColor& colour) {
  const auto linear = [](double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The box round the pixels in `area` that are much lighter than the background.
QRect lightInk(const QImage& image, const QRectF& area) {
  QRect box;
  for (int y = static_cast<int>(area.top()); y < static_cast<int>(area.bottom()); ++y)
    for (int x = static_cast<int>(area.left()); x < static_cast<int>(area.right()); ++x)
      if (qGray(image.pixel(x, y)) > 160) box |= QRect(x, y, 1, 1);
  return box;
}

// The darkest and the lightest colour in `area`.
std::pair<QColor, QColor> extremes(const QImage& image, const QRectF& area) {
  QColor darkest(Qt::white), lightest(Qt::black);
  for (int y = static_cast<int>(area.top()); y < static_cast<int>(area.bottom()); ++y)
    for (int x = static_cast<int>(area.left()); x < static_cast<int>(area.right()); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (luminance(c) < luminance(darkest)) darkest = c;
      if (luminance(c) > luminance(lightest)) lightest = c;
    }
  return {darkest, lightest};
}

QImage region(const QImage& image, const QRectF& area) {
  return image.copy(area.toRect());
}

TEST(AudienceWindow, NumberBeingCalledIsAtLeastAThirdOfTheHeightOnEveryWideScreen) {
  for (const QSize size : {QSize(1920, 1080), QSize(1280, 720), QSize(1024, 768), QSize(800, 600),
                           QSize(2560, 1080)}) {
    SCOPED_TRACE(size.width());
    const AudienceLayout layout = layOutAudience(QSizeF(size));
    const QRect two = lightInk(pictureOf(calling(2), size), layout.number);
    const QRect one = lightInk(pictureOf(calling(1), size), layout.number);
    EXPECT_GE(two.height() * 3, size.height()) << "45 stands " << two.height() << " px";
    EXPECT_GE(one.height() * 3, size.height());
    EXPECT_LT(one.width() * 3, two.width() * 2) << "7 is one digit, 45 two";
    // Nothing spills out of the number's place onto the board.
    EXPECT_TRUE(layout.number.contains(QRectF(two)));
    EXPECT_LE(layout.number.right(), layout.board.left());
  }
}

TEST(AudienceWindow, StripShowsThePreviousFiveNewestFirst) {
  const AudienceLayout layout = layOutAudience(QSizeF(1280, 720));
  QImage before;
  for (std::size_t calls = 1; calls <= kCalls.size(); ++calls) {
    SCOPED_TRACE(calls);
    const QImage image = pictureOf(calling(calls));
    for (std::size_t chip = 0; chip < layout.strip.size(); ++chip) {
      const bool holdsNumber = chip + 1 < calls;
      EXPECT_EQ(lightInk(image, layout.strip[chip].adjusted(6, 6, -6, -6)).isValid(), holdsNumber)
          << "chip " << chip;
      // Each call moves the strip one place to the right: the newest previous number first.
      if (holdsNumber && chip > 0) {
        EXPECT_EQ(region(image, layout.strip[chip]), region(before, layout.strip[chip - 1]));
      }
    }
    before = image;
  }
  // The chip of 45 looks like the strip's first chip whenever 45 was the previous call.
  EXPECT_EQ(region(pictureOf(calling(3)), layout.strip[0]),
            region(pictureOf(calling(3, RoomPhase::Paused)), layout.strip[0]));
}

TEST(AudienceWindow, CalledNumbersDifferInBrightnessShapeAndWeight) {
  for (const QSize size : {QSize(1920, 1080), QSize(1024, 768), QSize(720, 1280)}) {
    SCOPED_TRACE(size.width());
    const AudienceLayout layout = layOutAudience(QSizeF(size));
    RoomState state = calling(6, RoomPhase::Paused);
    state.numberBeingCalled.reset();
    const QImage image = pictureOf(state, size);
    const QColor background = image.pixelColor(1, 1);
    for (int n = 1; n <= 90; ++n) {
      const QRectF cell = layout.cell(n);
      const bool called = std::find(kCalls.begin(), kCalls.begin() + 6, n) != kCalls.begin() + 6;
      const auto [ink, fill] =
          extremes(image, cell.adjusted(cell.width() * 0.3, cell.height() * 0.3,
                                        -cell.width() * 0.3, -cell.height() * 0.3));
      const QColor centreFill = called ? fill : ink;
      const QColor digits = called ? ink : fill;
      EXPECT_GE(contrast(centreFill, digits), 4.5) << "the digits of " << n;
      // Called: a light disc, so its cell's corner shows the background; not called: a square.
      const QColor corner = image.pixelColor(
          QPointF(cell.left() + cell.width() * 0.1, cell.top() + cell.height() * 0.1).toPoint());
      EXPECT_EQ(corner == background, called) << n;
      if (called) {
        EXPECT_GE(contrast(centreFill, image.pixelColor(layout.cell(90).center().toPoint())), 4.5)
            << "a called cell against one not called";
      }
    }
  }
}

TEST(AudienceWindow, RestartShowsACleanPictureAtOnce) {
  const QImage clean = pictureOf(RoomState{});
  EXPECT_NE(pictureOf(calling(5)), clean);
  EXPECT_EQ(pictureOf(RoomState{}), clean);
  const AudienceLayout layout = layOutAudience(QSizeF(1280, 720));
  EXPECT_FALSE(lightInk(clean, layout.number).isValid()) << "no number, only a dim dash";
  for (int n = 1; n <= 90; ++n) {
    EXPECT_EQ(region(clean, layout.cell(n)).pixelColor(2, 2), clean.pixelColor(1, 1)) << n;
  }
}

TEST(AudienceWindow, ClaimedTicketTakesTheScreenWithItsCalledNumbersMarked) {
  RoomState state = calling(4, RoomPhase::Paused);
  state.claim = kClaim;
  const AudienceLayout layout = layOutAudience(QSizeF(1280, 720));
  const QImage image = pictureOf(state);
  EXPECT_NE(region(image, layout.board),
            region(pictureOf(calling(4, RoomPhase::Paused)), layout.board));
  // The ticket's called numbers are discs, as on the board.
  int lightDiscs = 0;
  for (int y = static_cast<int>(layout.claim.top()); y < layout.claim.bottom(); y += 3)
    for (int x = static_cast<int>(layout.claim.left()); x < layout.claim.right(); x += 3)
      lightDiscs += image.pixelColor(x, y) == QColor(0xff, 0xd3, 0x4d);
  EXPECT_GT(lightDiscs, 300) << "7, 12, 45 and 88 marked on the ticket";
}

TEST(AudienceWindow, QrCodeOfTheBoardBetweenGamesOnly) {
  const std::string address = "http://192.168.1.20:8090/";
  EXPECT_EQ(decodeQrCodes(pictureOf(RoomState{}, {1280, 720}, address)), address);
  EXPECT_EQ(decodeQrCodes(pictureOf(calling(7, RoomPhase::Complete), {1024, 768}, address)),
            address);
  EXPECT_EQ(decodeQrCodes(pictureOf(RoomState{}, {720, 1280}, "http://[fd00::2]:8090/")),
            "http://[fd00::2]:8090/");
  EXPECT_EQ(decodeQrCodes(pictureOf(calling(3), {1280, 720}, address)), "") << "not mid-game";
  EXPECT_EQ(decodeQrCodes(pictureOf(RoomState{}, {1280, 720}, "")), "");
}

TEST(AudienceWindow, NeverTakesFocusAndClosingOnlyHidesIt) {
  AudienceWindow window;
  int closed = 0;
  window.setClosedHook([&] { ++closed; });
  window.showForAudience(nullptr);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(window.testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_FALSE(window.testAttribute(Qt::WA_QuitOnClose));
  window.close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(closed, 1);
}

}  // namespace
