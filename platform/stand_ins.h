#pragma once

// The stand-ins a host or a test installs on purpose where a real service would be: speech that
// says nothing or only keeps a record, alerts and console lines kept for reading. The process
// has no silent defaults (see services.h); these are the named ones.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/alert_view.h"
#include "platform/console.h"
#include "platform/speech.h"

namespace platform {

// An engine that speaks nothing.
class SilentSpeechEngine : public SpeechEngine {
 public:
  void speak(const SpeechUtterance&, Duration) override {}
};

// An engine that keeps a record of every utterance with its hand-over time.
class TranscriptSpeechEngine : public SpeechEngine {
 public:
  struct Entry {
    Duration at;
    std::string text;
    float rate;
  };

  void speak(const SpeechUtterance& utterance, Duration handedOverAt) override {
    entries_.push_back({handedOverAt, utterance.speechString, utterance.rate});
  }
  const std::vector<Entry>& entries() const { return entries_; }
  void clear() { entries_.clear(); }

 private:
  std::vector<Entry> entries_;
};

// Keeps every alert shown, so tests and scripted runs can look at them and tap their buttons.
class RecordingAlertPresenter : public AlertPresenter {
 public:
  void present(const std::shared_ptr<AlertView>& alert) override { shown_.push_back(alert); }

  const std::vector<std::shared_ptr<AlertView>>& shown() const { return shown_; }
  // The alert shown last among those still open, if any.
  std::shared_ptr<AlertView> topmostOpen() const;
  // Taps the button with this title on the topmost open alert; false when there is no open
  // alert or it has no such button.
  bool tapButtonTitled(const std::string& title);

 private:
  std::vector<std::shared_ptr<AlertView>> shown_;
};

// Console lines nobody asked for.
class SilentConsole : public Console {
 public:
  void writeLine(std::string_view) override {}
};

class RecordingConsole : public Console {
 public:
  void writeLine(std::string_view line) override { lines_.emplace_back(line); }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

}  // namespace platform
