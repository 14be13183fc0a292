// The program saves the window as a PNG once a script has ended: the picture shows the game as
// the script left it.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "window_harness.h"

namespace {

struct ProgramRun {
  int exitCode;
  QString errors;
};

ProgramRun runProgram(const QStringList& arguments, const QByteArray& script) {
  QProcess program;
  program.start(QStringLiteral(VORLIX_CALLER), arguments);
  program.write(script);
  program.closeWriteChannel();
  program.waitForFinished(60000);
  return {program.exitCode(), QString::fromUtf8(program.readAllStandardError())};
}

// The colour a little inside the left edge of a view of a 320-point screen saved at twice its size:
// clear of the centred text.
QColor besideText(const QImage& picture, platform::Rect frame) {
  return picture.pixelColor(static_cast<int>(2.0 * (frame.x + 0.15 * frame.width)),
                            static_cast<int>(2.0 * (frame.y + 0.5 * frame.height)));
}

TEST(WindowProgram, ScreenshotAfterAScriptShowsTheGameItLeft) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("game.png"));
  const ProgramRun run =
      runProgram({"--script", "-", "--draw-order", "7,45,12", "--seed", "3", "--screenshot", path},
                 "tap Play\nwait 14\ntap L2\nwait 1\n");
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QImage picture(path);
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.width(), 640);

  // With gap 2 the 320-point screen has cells of 29.8 points, the board starting at y 95.
  auto cellFrame = [](int n) {
    const int row = (n - 1) / 10, column = (n - 1) % 10;
    return platform::Rect{2.0 + column * 31.8, 95.0 + row * 31.8, 29.8, 29.8};
  };
  EXPECT_TRUE(closeColours(besideText(picture, cellFrame(7)), QColor(127, 127, 255)));
  EXPECT_TRUE(closeColours(besideText(picture, cellFrame(45)), QColor(127, 127, 255)));
  EXPECT_EQ(besideText(picture, cellFrame(12)), QColor(Qt::yellow)) << "drawn, not yet shown";
  EXPECT_EQ(besideText(picture, {57.64, 385.2, 29.8, 23.84}), QColor(255, 128, 0)) << "L2";

  const ProgramRun unwritable = runProgram(
      {"--script", "-", "--screenshot", folder.filePath("no/such/folder/x.png")}, "tap Play\n");
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_TRUE(unwritable.errors.contains("cannot write the picture"))
      << unwritable.errors.toStdString();
  EXPECT_EQ(runProgram({"--screenshot", path}, "").exitCode, 2) << "a picture needs a script";
}

}  // namespace
