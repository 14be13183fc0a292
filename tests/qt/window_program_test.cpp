// The program saves the window as a PNG once a script has ended: the picture shows the game as
// the script left it.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "window_program.h"

#include "window_harness.h"

namespace {

// The colour a little inside the left edge of a view of a 320-point screen saved at twice its size:
// clear of the centred text.
QColor besideText(const QImage& picture, platform::Rect frame) {
  return picture.pixelColor(static_cast<int>(2.0 * (frame.x + 0.15 * frame.width)),
                            static_cast<int>(2.0 * (frame.y + 0.5 * frame.height)));
}

TEST(WindowProgram, ScreenshotAfterAScriptShowsTheGameItLeft) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("game.png"));
  QProcess program;
  program.start(QStringLiteral(VORLIX_CALLER),
                {"--script", "-", "--draw-order", "7,45,12", "--seed", "3", "--screenshot", path});
  program.write("tap Play\nwait 14\ntap L2\nwait 1\n");
  program.closeWriteChannel();
  ASSERT_TRUE(program.waitForFinished(60000));
  ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  const QImage picture(path);
  ASSERT_EQ(picture.width(), 640);

  // With gap 2 the 320-point screen has cells of 29.8 points, the board starting at y 95.
  auto cellFrame = [](int n) {
    const int row = (n - 1) / 10, column = (n - 1) % 10;
    return platform::Rect{2.0 + column * 31.8, 95.0 + row * 31.8, 29.8, 29.8};
  };
  EXPECT_TRUE(closeColours(besideText(picture, cellFrame(7)), QColor(127, 127, 255)));
  EXPECT_TRUE(closeColours(besideText(picture, cellFrame(45)), QColor(127, 127, 255)));
  EXPECT_EQ(besideText(picture, cellFrame(12)), QColor(Qt::yellow)) << "drawn, not yet shown";
  EXPECT_EQ(besideText(picture, {57.64, 385.2, 29.8, 23.84}), QColor(255, 128, 0)) << "L2";
}

}  // namespace

namespace {

// Console lines (timer intervals) are a log the host asks for with --verbose: the window writes
// them to standard output then, and nothing there otherwise.
TEST(WindowProgram, ConsoleLinesOnlyWithVerbose) {
  for (const bool verbose : {false, true}) {
    QTemporaryDir folder;
    const QString recording = folder.filePath(QStringLiteral("game.wav"));
    std::vector<std::string> arguments{"--window", "--audio", "none", "--record",
                                       recording.toStdString()};
    if (verbose) arguments.emplace_back("--verbose");
    WindowProgram window(arguments, folder.path().toStdString());
    ASSERT_TRUE(window.type(" "));
    // Play has been handled once the welcome reaches the recording.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(recording).size() > 10000; }, 20000));
    EXPECT_EQ(window.quit(), 0);
    QFile out(folder.filePath(QStringLiteral("out.txt")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll().toStdString().substr(0, verbose ? 33 : std::string::npos),
              verbose ? "btnPlay_click\ntimerInterval: 6.0\n" : "");
  }
}

}  // namespace
