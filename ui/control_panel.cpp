#include <string>

#include "engine/view_controller.h"
#include "platform/services.h"

namespace {

constexpr const char* kScreenTitle = "Vorlix @ Korvanda Castle";

// Re-colours every button of the root view with the given tag: orange for the one whose title is
// `selected`, black for the rest (and for any button without a title).
void markButtonsWithTag(platform::View& root, ButtonType type, const std::string& selected) {
  for (const auto& subview : root.subviews()) {
    auto* button = dynamic_cast<platform::Button*>(subview.get());
    if (button == nullptr || button->tag() != static_cast<long>(type)) continue;
    const bool isSelected = button->titleText() == selected;
    button->setBackgroundColor(isSelected ? platform::Color::orangeColor() : platform::Color::blackColor());
  }
}

}  // namespace

// Title, voice, board, then the controls below it: each row is placed under the one before.
void ViewController::viewDidLoad() {
  platform::ViewControllerBase::viewDidLoad();
  setTitle(kScreenTitle);
  synthesizer = std::make_shared<platform::SpeechSynthesizer>();
  createNumberGrid();
  createRecallButtonRow();
  createSpeedButtonRow();
  const CGFloat s = numberSize;
  btnRemaining = createButton("Remaining Numbers", &ViewController::remaining_numbers_click,
                              ButtonType::remainingNumbers, gap, yValue + 2.0 * gap, 5.5 * s, 0.8 * s);
  setSpeed(5);
}

std::shared_ptr<platform::Button> ViewController::createButton(const std::string& title,
                                                               void (ViewController::*action)(),
                                                               ButtonType type, CGFloat x, CGFloat y,
                                                               CGFloat width, CGFloat height) {
  const platform::UserInterfaceIdiom idiom = platform::currentIdiom();
  auto button = platform::Button::buttonWithType(platform::ButtonKind::system);
  button->setTitle(title, platform::ControlState::normal);
  button->addTarget([this, action] { (this->*action)(); }, platform::ControlEvent::touchUpInside);
  button->setFrame({x, y, width, height});
  button->setTag(static_cast<long>(type));
  if (auto* titleLabel = button->titleLabel())
    titleLabel->setFont(platform::Font::boldSystemFontOfSize(
        idiom == platform::UserInterfaceIdiom::phone ? 10.0 : 20.0));
  button->setBackgroundColor(platform::Color::blackColor());
  button->setTitleColor(platform::Color::whiteColor(), platform::ControlState::normal);
  button->setShowsTouchWhenHighlighted(true);
  button->layer().cornerRadius = 0.2 * platform::rectGetHeight(button->frame());
  view().addSubview(button);
  return button;
}

void ViewController::createRecallButtonRow() {
  const CGFloat s = numberSize;
  const CGFloat y = yValue + 2.0 * gap;
  const CGFloat height = 0.8 * s;
  CGFloat x = gap;
  auto place = [&](const std::string& title, void (ViewController::*action)(), ButtonType type,
                   CGFloat width) {
    auto button = createButton(title, action, type, x, y, width, height);
    x = x + width + gap;
    return button;
  };
  btnPlay = place("Play", &ViewController::btnPlay_click, ButtonType::play, 1.8 * s);
  place("L2", &ViewController::L2_click, ButtonType::lastNumbers, s);
  place("L3", &ViewController::L3_click, ButtonType::lastNumbers, s);
  place("L5", &ViewController::L5_click, ButtonType::lastNumbers, s);
  place("L10", &ViewController::L10_click, ButtonType::lastNumbers, 1.2 * s);
  place("ALL", &ViewController::all_click, ButtonType::lastNumbers, 1.5 * s);
  place("Re-start", &ViewController::btnRestart_click, ButtonType::restart, 2.7 * s);
  yValue = y + height + gap;
}

void ViewController::createSpeedButtonRow() {
  static constexpr void (ViewController::*kSpeedActions[])() = {
      &ViewController::speed2_click, &ViewController::speed3_click, &ViewController::speed4_click,
      &ViewController::speed5_click, &ViewController::speed6_click, &ViewController::speed7_click,
      &ViewController::speed8_click, &ViewController::speed9_click, &ViewController::speed10_click};
  const CGFloat s = numberSize;
  const CGFloat y = yValue + 2.0 * gap;
  const CGFloat height = 0.8 * s;
  CGFloat x = gap;

  btnPause = createButton("Pause", &ViewController::btnPause_click, ButtonType::pause, x, y,
                          1.8 * s, height);
  x = x + 1.8 * s + gap;
  setPlayEnabled(true);

  lblSpeed = std::make_shared<platform::Label>(platform::Rect{x, y, 1.5 * s, height});
  lblSpeed->setTextAlignment(platform::TextAlignment::center);
  lblSpeed->setBackgroundColor(platform::Color::clearColor());
  view().addSubview(lblSpeed);
  x = x + 1.5 * s + gap;

  int speed = 2;
  for (auto action : kSpeedActions) {
    createButton(std::to_string(speed), action, ButtonType::speedNumbers, x, y, 0.74 * s, height);
    x = x + 0.74 * s + gap;
    ++speed;
  }
  yValue = y + height + gap;
}

// Play and Pause are never live together; the one that takes no taps is grey.
void ViewController::setPlayEnabled(bool enabled) {
  btnPlay->setUserInteractionEnabled(enabled);
  btnPlay->setBackgroundColor(enabled ? platform::Color::blackColor() : platform::Color::grayColor());
  btnPause->setUserInteractionEnabled(!enabled);
  btnPause->setBackgroundColor(enabled ? platform::Color::grayColor() : platform::Color::blackColor());
}

void ViewController::updateControlPanel(const std::string& selectedTitle, bool playEnabled,
                                        platform::Color remainingColor) {
  btnRemaining->setBackgroundColor(remainingColor);
  setPlayEnabled(playEnabled);
  markButtonsWithTag(view(), ButtonType::lastNumbers, selectedTitle);
}

// A higher speed number calls more slowly; the new pace applies from the next timer armed.
void ViewController::setSpeed(Int speed) {
  _speed = speed;
  lblSpeed->setText("Speed: " + std::to_string(_speed));
  markButtonsWithTag(view(), ButtonType::speedNumbers, std::to_string(_speed));
}

void ViewController::speed2_click() { setSpeed(2); }
void ViewController::speed3_click() { setSpeed(3); }
void ViewController::speed4_click() { setSpeed(4); }
void ViewController::speed5_click() { setSpeed(5); }
void ViewController::speed6_click() { setSpeed(6); }
void ViewController::speed7_click() { setSpeed(7); }
void ViewController::speed8_click() { setSpeed(8); }
void ViewController::speed9_click() { setSpeed(9); }
void ViewController::speed10_click() { setSpeed(10); }
