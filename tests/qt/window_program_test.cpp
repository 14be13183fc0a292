// The program's own window: the PNG it saves once a script has ended shows the game as the script
// left it, and the window ends cleanly when asked to quit.
#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "app/game_record.h"
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

// Under the sanitizers, each allocation's whole stack is kept: Qt's libraries have no frame
// pointers, so the quick unwinding stops at their first frame, and the leak report could not name
// the Qt library that a leak at exit belongs to (see lsan.supp).
void unwindWholeStacksOnAllocation(QProcessEnvironment& environment) {
  const QString options = environment.value(QStringLiteral("ASAN_OPTIONS"));
  if (!options.isEmpty())
    environment.insert(QStringLiteral("ASAN_OPTIONS"), options + ":fast_unwind_on_malloc=0");
}

// The window with speech on, asked to quit (SIGTERM, as Ctrl-C does) once it is running: it ends
// with exit code 0 on Qt's offscreen platform and on a real X server alike, the display check
// answered by a private Xvfb. The application used to outlive main and crash on its way out.
TEST(WindowProgram, WindowEndsWithExitCodeZeroWhenAskedToQuit) {
  QProcess xServer;
  xServer.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
  ASSERT_TRUE(xServer.waitForReadyRead(20000)) << "Xvfb did not start";
  const QString display = ":" + QString::fromLatin1(xServer.readAllStandardOutput()).trimmed();
  for (const char* platform : {"offscreen", "xcb"}) {
    QTemporaryDir folder;
    const QString store = folder.filePath(QStringLiteral("games.sqlite"));
    QProcess program;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(platform));
    unwindWholeStacksOnAllocation(environment);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VORLIX_CALLER), {"--window", "--audio", "none", "--store", store});
    // The game record is opened once the caller listens for the quit, while the window comes up.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(store); }, 30000)) << platform;
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000)) << platform;
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << platform;
    EXPECT_EQ(program.exitCode(), 0) << platform << program.readAllStandardError().toStdString();
  }
  xServer.terminate();
  xServer.waitForFinished();
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

// The window keeps its games by default, taking its record once the first frame is painted: the
// game begun by a key typed as soon as the window listens is kept.
TEST(WindowProgram, AGameBegunAtOnceIsKept) {
  QTemporaryDir folder;
  const QString recording = folder.filePath(QStringLiteral("game.wav"));
  WindowProgram window({"--window", "--audio", "none", "--record", recording.toStdString()},
                       folder.path().toStdString());
  ASSERT_TRUE(window.type(" "));
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(recording).size() > 10000; }, 20000));
  EXPECT_EQ(window.quit(), 0);
  const auto record = app::GameRecord::open(
      folder.filePath(QStringLiteral("vorlix-caller/Vorlix.sqlite")).toStdString(),
      app::GameRecord::Access::reader);
  const auto games = record->games();
  ASSERT_EQ(games.size(), 1u);
  EXPECT_FALSE(games[0].ending) << "the game was under way when the window was closed";
}

}  // namespace
