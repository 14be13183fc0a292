#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/application_main.h"
#include "hosts/terminal/keys.h"
#include "hosts/terminal/real_time_run_loop.h"
#include "hosts/terminal/screen_text.h"
#include "hosts/terminal/terminal_session.h"
#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/random_source.h"
#include "platform/speech.h"

namespace terminal {

// The caller in a terminal, in real time: the board in colour, the title with the number being
// called, the panel with every control on a key, the alerts as prompts, and the line spoken last.
class TerminalHost : public app::ApplicationHost,
                     public platform::SpeechEngine,
                     public platform::Console,
                     public platform::AlertPresenter {
 public:
  explicit TerminalHost(platform::RandomSource& random) : random_(random) {}

  // Where the speech goes besides the line on screen, and what to say about it.
  void setSpeech(platform::SpeechEngine* engine, std::string note) {
    voice_ = engine;
    status_.speechNote = std::move(note);
  }

  platform::Services services() override;
  int runMainLoop(app::Window& window) override;

  void speak(const platform::SpeechUtterance& utterance, platform::Duration handedOverAt) override;
  void writeLine(std::string_view line) override { status_.lastConsole = line; }
  void present(const std::shared_ptr<platform::AlertView>& alert) override;

 private:
  void handleKeys(ViewController& screen, std::string& pending, bool flush);
  void handleKey(ViewController& screen, const Key& key);
  void answerPrompt(const Key& key);
  std::shared_ptr<platform::AlertView> openAlert() const;
  void draw(ViewController& screen, const TerminalSession& session);

  platform::RandomSource& random_;
  RealTimeRunLoop loop_;
  platform::SpeechEngine* voice_ = nullptr;
  CallerStatus status_;
  platform::RecordingAlertPresenter alerts_;
  std::vector<std::string> shownLines_;
};

}  // namespace terminal
