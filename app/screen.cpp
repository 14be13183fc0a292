#include "app/screen.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "engine/view_controller.h"
#include "platform/button.h"
#include "platform/label.h"
#include "platform/touch.h"

namespace app {
namespace {

CellState stateOf(const ViewController& screen, const platform::Color& colour) {
  if (colour == screen.color_un_filled) return CellState::unfilled;
  if (colour == screen.color_just_filled) return CellState::justFilled;
  if (colour == screen.color_filled) return CellState::filled;
  return CellState::other;
}

platform::Color backgroundOf(const platform::View& view) {
  return view.backgroundColor().value_or(platform::Color::clearColor());
}

Drawing boxOf(const platform::View& view) {
  Drawing drawing;
  drawing.frame = view.frame();
  drawing.background = view.backgroundColor();
  drawing.cornerRadius = view.layer().cornerRadius;
  drawing.borderWidth = view.layer().borderWidth;
  drawing.borderColour = view.layer().borderColor;
  return drawing;
}

void addText(Drawing& drawing, const platform::Label* label) {
  if (label == nullptr) return;
  drawing.text = label->text();
  drawing.font = label->font();
  drawing.alignment = label->textAlignment();
  drawing.textColour = label->textColor();
}

// A cell's number is the text of its label, its first subview.
const platform::Label* cellLabel(const platform::View& cell) {
  if (cell.subviews().empty()) return nullptr;
  return dynamic_cast<const platform::Label*>(cell.subviews().front().get());
}

GamePhase phaseOf(const ViewController& screen) {
  if (screen._timer.isPending())
    return screen._isContinueGame ? GamePhase::calling : GamePhase::recalling;
  if (screen._randomNumbers.empty()) return GamePhase::notStarted;
  return screen._randomNumbers.size() >= 90 ? GamePhase::completed : GamePhase::paused;
}

}  // namespace

OutputWatch::OutputWatch(const platform::Services& host) : host_(host), watched_(host) {
  if (host.speechEngine == nullptr || host.alertPresenter == nullptr)
    throw std::logic_error("the host installed no speech engine or no alert presenter");
  watched_.speechEngine = this;
  watched_.alertPresenter = this;
}

void OutputWatch::speak(const platform::SpeechUtterance& utterance,
                        platform::Duration handedOverAt) {
  lastSpoken_ = utterance.speechString;
  if (beforeSpeaking_) beforeSpeaking_();
  host_.speechEngine->speak(utterance, handedOverAt);
}

std::vector<std::string> OutputWatch::takeNotices() {
  return host_.speechEngine->takeNotices();
}

std::vector<std::string> OutputWatch::takeApplicationNotices() {
  return std::exchange(notices_, {});
}

void OutputWatch::present(const std::shared_ptr<platform::AlertView>& alert) {
  std::erase_if(shown_, [](const auto& shown) { return !shown->isVisible(); });
  shown_.push_back(alert);
  host_.alertPresenter->present(alert);
}

std::vector<std::shared_ptr<platform::AlertView>> OutputWatch::openAlerts() const {
  std::vector<std::shared_ptr<platform::AlertView>> open;
  for (const auto& alert : shown_)
    if (alert->isVisible()) open.push_back(alert);
  return open;
}

ScreenSnapshot Screen::snapshot() const {
  ViewController& screen = controller_;
  ScreenSnapshot snapshot;
  snapshot.title = screen.title();
  snapshot.numberBeingCalled = screen.numberOnTitle();
  for (const auto& text : screen._randomNumbers) snapshot.calledInOrder.push_back(std::stoi(text));
  const auto& cells = screen._gridViewsArray;
  for (const auto& view : screen.view().subviews()) {
    Drawing drawing = boxOf(*view);
    if (const auto* button = dynamic_cast<const platform::Button*>(view.get())) {
      addText(drawing, button->titleLabel());
      snapshot.views.emplace_back(
          ControlLook{button->titleText().value_or(""), backgroundOf(*button),
                      button->isUserInteractionEnabled(), button->frame(), std::move(drawing)});
    } else if (const auto* label = dynamic_cast<const platform::Label*>(view.get())) {
      addText(drawing, label);
      snapshot.views.emplace_back(
          TextLook{label->text().value_or(""), label->frame(), std::move(drawing)});
    } else if (auto cell = std::find(cells.begin(), cells.end(), view); cell != cells.end()) {
      addText(drawing, cellLabel(*view));
      const platform::Color colour = backgroundOf(*view);
      snapshot.views.emplace_back(CellLook{static_cast<int>(cell - cells.begin()) + 1,
                                           stateOf(screen, colour), colour, std::move(drawing)});
    }
  }
  if (screen.lblSpeed) snapshot.speedLabel = screen.lblSpeed->text().value_or("");
  snapshot.speed = static_cast<int>(screen._speed);
  for (const auto& alert : outputs_.openAlerts())
    snapshot.openAlerts.push_back({alert->title(), alert->message(), alert->buttonTitles()});
  snapshot.phase = phaseOf(screen);
  snapshot.lastSpoken = outputs_.lastSpoken();
  snapshot.bounds = screen.view().frame();
  snapshot.background = screen.view().backgroundColor();
  return snapshot;
}

PressOutcome Screen::press(const std::string& title) {
  shown();
  switch (platform::tapButtonTitled(controller_.view(), title)) {
    case platform::TapOutcome::reached:
      return inputDone(PressOutcome::pressed);
    case platform::TapOutcome::ignored:
      return PressOutcome::ignored;
    case platform::TapOutcome::noSuchButton:
      break;
  }
  return PressOutcome::noSuchControl;
}

PressOutcome Screen::tapAt(platform::Point point) {
  shown();
  if (!platform::deliverTap(controller_.view(), point)) return PressOutcome::ignored;
  return inputDone(PressOutcome::pressed);
}

void Screen::speak(const std::string& line) {
  if (controller_._isDebug || !controller_.synthesizer) return;
  auto utterance = platform::SpeechUtterance::initWithString(line);
  utterance.setRate(0.5f);
  controller_.synthesizer->speakUtterance(utterance);
}

bool Screen::answer(const std::string& buttonTitle) {
  shown();
  const auto open = outputs_.openAlerts();
  if (open.empty()) return false;
  const auto& alert = open.back();
  for (long index = 0; index < alert->numberOfButtons(); ++index) {
    if (alert->buttonTitleAtIndex(index) != buttonTitle) continue;
    alert->tapButtonAtIndex(index);
    inputDone(PressOutcome::pressed);
    return true;
  }
  return false;
}

PressOutcome Screen::inputDone(PressOutcome outcome) {
  if (afterInput_) afterInput_();
  return outcome;
}

// Down to the height the content needs (the view made room for all of it when it loaded).
void Screen::fitToContent() {
  platform::View& root = controller_.view();
  platform::Rect frame = root.frame();
  frame.height = 0.0;
  root.setFrame(frame);
  controller_.makeRoomForContent();
}

}  // namespace app
