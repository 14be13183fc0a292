#pragma once

// The desktop window's entry points, for the program. Nothing here needs Qt to be included.

#include <functional>
#include <string>

#include "app/application_main.h"
#include "app/claim_session.h"
#include "hosts/common/room_feed.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/speech.h"

namespace qthost {

struct WindowHostOptions {
  app::ScreenSettings screen;                // width, idiom, silent, repeat twice
  platform::RandomSource* random = nullptr;  // the draw; the secure generator when empty
  platform::SpeechEngine* speech = nullptr;  // the voice; silent when empty
  platform::Console* console = nullptr;      // console lines (--verbose); none when empty
  std::string programName = "vorlix-caller";
  // The tickets claims are checked against: a book given to the caller, and the game record's.
  tickets::TicketIndex claimBooks;
  app::ClaimSession::TicketLookup keptTickets;
  hostkit::RoomFeed* room = nullptr;      // the room's displays: the web board, the audience window
  bool audience = false;                  // --audience: the audience window opens at once
  std::function<void()> afterFirstFrame;  // once the window's first frame is painted
};

// Runs the caller in a desktop window until the user closes it (or Ctrl-C); returns the exit code,
// 2 with a message when there is no display to show it on.
int runWindowHost(const WindowHostOptions& options);

// Whether a window can be shown where a person sees it: an X or Wayland display, or a Qt platform
// named outright (a framebuffer, VNC). Qt's offscreen platform does not count: it only serves
// pictures (--screenshot) and tests.
bool windowDisplayAvailable();

// The window's keys, one per line, for the program's help.
std::string windowKeysHelp();

// Size of a saved picture of the window, in pixels; zero picks twice the screen's logical size.
struct PictureSize {
  int width = 0;
  int height = 0;
};

// Saves the window showing this screen as a PNG file. Works without a display (Qt's offscreen
// platform is used then). On failure returns false and says why in `error`.
bool saveWindowScreenshot(app::Screen& screen, const std::string& path, PictureSize size,
                          std::string& error);

// Wraps another host (a scripted run on the virtual clock): once its main loop has ended, the
// window is saved as a PNG. A picture that cannot be saved makes the run fail with exit code 1.
class ScreenshotAfterRunHost : public app::ApplicationHost {
 public:
  ScreenshotAfterRunHost(app::ApplicationHost& inner, std::string path, PictureSize size = {})
      : inner_(inner), path_(std::move(path)), size_(size) {}

  platform::Services services() override { return inner_.services(); }
  int runMainLoop(app::Screen& screen) override;

 private:
  app::ApplicationHost& inner_;
  std::string path_;
  PictureSize size_;
};

}  // namespace qthost
