#include "hosts/common/transcript.h"

#include <cstdio>

namespace hostkit {
namespace {

std::string componentText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

const char* stateName(app::CellState state) {
  switch (state) {
    case app::CellState::unfilled:
      return "unfilled";
    case app::CellState::justFilled:
      return "just-filled";
    case app::CellState::filled:
      return "filled";
    case app::CellState::other:
      break;
  }
  return nullptr;
}

std::string changeLine(const app::CellLook& cell) {
  const char* state = stateName(cell.state);
  return "cell " + std::to_string(cell.number) + " " + (state ? state : colourName(cell.colour));
}

std::string changeLine(const app::ControlLook& control) {
  return "button " + control.title + " " + colourName(control.colour) + " " +
         (control.live ? "live" : "inert");
}

std::string changeLine(const app::TextLook& text) {
  return "label " + text.text;
}

}  // namespace

std::string colourName(const platform::Color& colour) {
  if (colour == platform::Color::blackColor()) return "black";
  if (colour == platform::Color::grayColor()) return "gray";
  if (colour == platform::Color::orangeColor()) return "orange";
  return "rgba(" + componentText(colour.red) + "," + componentText(colour.green) + "," +
         componentText(colour.blue) + "," + componentText(colour.alpha) + ")";
}

std::vector<std::string> lookChanges(const app::ScreenSnapshot& before,
                                     const app::ScreenSnapshot& after) {
  std::vector<std::string> lines;
  if (before.title != after.title) lines.push_back("title " + after.title);
  const std::size_t common = std::min(before.views.size(), after.views.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (before.views[i] == after.views[i]) continue;
    lines.push_back(std::visit([](const auto& look) { return changeLine(look); }, after.views[i]));
  }
  return lines;
}

TranscriptRecorder::TranscriptRecorder(std::ostream& out, const platform::RunLoop& loop)
    : out_(out), loop_(loop) {}

void TranscriptRecorder::attach(const app::Screen& screen) {
  screen_ = &screen;
  origin_ = loop_.now();
  lastLook_ = screen.snapshot();
  writeNow("ready", "");
}

void TranscriptRecorder::eventHandled() {
  if (screen_ == nullptr) return;
  app::ScreenSnapshot look = screen_->snapshot();
  for (const auto& line : lookChanges(*lastLook_, look)) {
    const auto space = line.find(' ');
    writeNow(std::string_view(line).substr(0, space), std::string_view(line).substr(space + 1));
  }
  lastLook_ = std::move(look);
  if (afterLook_) afterLook_(*lastLook_);
}

void TranscriptRecorder::action(std::string_view kind, std::string_view payload) {
  writeNow(kind, payload);
}

void TranscriptRecorder::speak(const platform::SpeechUtterance& utterance,
                               platform::Duration handedOverAt) {
  write(handedOverAt, "say", utterance.speechString);
  if (tee_ != nullptr) tee_->speak(utterance, handedOverAt);
}

void TranscriptRecorder::writeLine(std::string_view line) {
  writeNow("log", line);
}

void TranscriptRecorder::present(const std::shared_ptr<platform::AlertView>& alert) {
  std::string buttons;
  for (const auto& title : alert->buttonTitles()) buttons += (buttons.empty() ? "" : ", ") + title;
  writeNow("alert", alert->title() + " | " + alert->message() + " | " + buttons);
  alerts_.present(alert);
}

void TranscriptRecorder::write(platform::Duration at, std::string_view kind,
                               std::string_view payload) {
  char stamp[40];
  std::snprintf(stamp, sizeof stamp, "%.3f", platform::durationToSeconds(at - origin_));
  out_ << stamp << ' ' << kind;
  if (!payload.empty()) out_ << ' ' << payload;
  out_ << '\n' << std::flush;
}

void TranscriptRecorder::writeNow(std::string_view kind, std::string_view payload) {
  write(loop_.now(), kind, payload);
}

}  // namespace hostkit
