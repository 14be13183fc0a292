#include <algorithm>
#include <string>

#include "engine/game_rules.h"
#include "engine/view_controller.h"
#include "platform/services.h"
#include "ui/control_catalogue.h"

namespace {

// Re-colours every button of the root view with the given tag: orange for the one whose title is
// `selected`, black for the rest (and for any button without a title).
void markButtonsWithTag(platform::View& root, ButtonType type, const std::string& selected) {
  for (const auto& subview : root.subviews()) {
    auto* button = dynamic_cast<platform::Button*>(subview.get());
    if (button == nullptr || button->tag() != static_cast<long>(type)) continue;
    const bool isSelected = button->titleText() == selected;
    button->setBackgroundColor(isSelected ? platform::Color::orangeColor()
                                          : platform::Color::blackColor());
  }
}

}  // namespace

// Title, voice, board, then the controls below it: each row is placed under the one before.
void ViewController::viewDidLoad() {
  platform::ViewControllerBase::viewDidLoad();
  setTitle(std::string(game::kScreenTitle));
  synthesizer = std::make_shared<platform::SpeechSynthesizer>();
  createNumberGrid();
  createRecallButtonRow();
  createSpeedButtonRow();
  for (int row = 2; row < ui::rowCount(); ++row) createControlRow(row);
  makeRoomForContent();
  setSpeed(5);
}

void ViewController::makeRoomForContent() {
  CGFloat bottom = 0.0;
  for (const auto& subview : view().subviews())
    bottom = std::max(bottom, subview->frame().y + subview->frame().height);
  platform::Rect frame = view().frame();
  frame.height = std::max(frame.height, bottom + 4.0 * gap);
  view().setFrame(frame);
}

std::shared_ptr<platform::Button> ViewController::createButton(const std::string& title,
                                                               std::function<void()> action,
                                                               ButtonType type, CGFloat x,
                                                               CGFloat y, CGFloat width,
                                                               CGFloat height) {
  const platform::UserInterfaceIdiom idiom = platform::currentIdiom();
  auto button = platform::Button::buttonWithType(platform::ButtonKind::system);
  button->setTitle(title, platform::ControlState::normal);
  button->addTarget(std::move(action), platform::ControlEvent::touchUpInside);
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

// What a control of the catalogue does when tapped.
std::function<void()> ViewController::actionFor(const ui::ControlEntry& control) {
  using Action = ui::ControlEntry::Action;
  switch (control.action) {
    case Action::play:
      return [this] { btnPlay_click(); };
    case Action::pause:
      return [this] { btnPause_click(); };
    case Action::restart:
      return [this] { btnRestart_click(); };
    case Action::recall:
      return [this, recall = control.recall] { recallNumbers(recall); };
    case Action::speed:
      return [this, speed = control.speed] { setSpeed(speed); };
  }
  return [] {};
}

namespace {

constexpr double kSpeedLabelCells = 1.5;

// How much a row's controls narrow so that the row ends inside the screen: 1 while it fits. The
// widths are in cells and the gaps stay fixed, so a row wider than ten cells fits a narrow screen
// and would run off a wide one.
double rowFit(int row, double cell, double gap, double screenWidth) {
  double cells = 0.0;
  int views = 0;
  for (const auto& control : ui::controls()) {
    if (control.row != row) continue;
    cells += control.widthInCells;
    ++views;
    if (control.type == ButtonType::pause) {
      cells += kSpeedLabelCells;
      ++views;
    }
  }
  const double room = screenWidth - gap * views;  // the gaps before and between them
  return cells * cell > room && cells > 0.0 ? room / (cells * cell) : 1.0;
}

}  // namespace

// One row of the catalogue's controls, left to right, a gap between them; the speed label follows
// Pause. A row ends at the board's right edge at the latest: its last control gives up what would
// run past it (less than a gap). The last row leaves the cursor where the row before put it.
void ViewController::createControlRow(int row) {
  const CGFloat s = numberSize;
  const CGFloat y = yValue + 2.0 * gap;
  const CGFloat height = 0.8 * s;
  const CGFloat screenWidth = platform::rectGetWidth(view().frame());
  const CGFloat fit = rowFit(row, s, gap, screenWidth);
  CGFloat x = gap;
  for (const auto& control : ui::controls()) {
    if (control.row != row) continue;
    const CGFloat width = std::min(control.widthInCells * s * fit, screenWidth - gap - x);
    auto button = createButton(std::string(control.title), actionFor(control), control.type, x, y,
                               width, height);
    x = x + width + gap;
    if (control.type == ButtonType::play) btnPlay = button;
    if (control.type == ButtonType::remainingNumbers) btnRemaining = button;
    if (control.type != ButtonType::pause) continue;
    btnPause = button;
    setPlayEnabled(true);
    lblSpeed =
        std::make_shared<platform::Label>(platform::Rect{x, y, kSpeedLabelCells * s * fit, height});
    lblSpeed->setTextAlignment(platform::TextAlignment::center);
    lblSpeed->setBackgroundColor(platform::Color::clearColor());
    view().addSubview(lblSpeed);
    x = x + kSpeedLabelCells * s * fit + gap;
  }
  if (row + 1 < ui::rowCount()) yValue = y + height + gap;
}

// The recall button stays marked (orange) until the next tap changes the panel.
void ViewController::recallNumbers(const Recall& recall) {
  if (recall.kind == Recall::Kind::remaining) {
    updateControlPanel("", true, platform::Color::orangeColor());
    announceRemainingNumbers();
    return;
  }
  announceLastNumbers(recall);
  const ui::ControlEntry* control = ui::controlFor(recall);
  updateControlPanel(control ? std::string(control->title) : "", true,
                     platform::Color::blackColor());
}

void ViewController::createRecallButtonRow() {
  createControlRow(0);
}

void ViewController::createSpeedButtonRow() {
  createControlRow(1);
}

// Play and Pause are never live together; the one that takes no taps is grey.
void ViewController::setPlayEnabled(bool enabled) {
  btnPlay->setUserInteractionEnabled(enabled);
  btnPlay->setBackgroundColor(enabled ? platform::Color::blackColor()
                                      : platform::Color::grayColor());
  btnPause->setUserInteractionEnabled(!enabled);
  btnPause->setBackgroundColor(enabled ? platform::Color::grayColor()
                                       : platform::Color::blackColor());
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

void ViewController::speed2_click() {
  setSpeed(2);
}
void ViewController::speed3_click() {
  setSpeed(3);
}
void ViewController::speed4_click() {
  setSpeed(4);
}
void ViewController::speed5_click() {
  setSpeed(5);
}
void ViewController::speed6_click() {
  setSpeed(6);
}
void ViewController::speed7_click() {
  setSpeed(7);
}
void ViewController::speed8_click() {
  setSpeed(8);
}
void ViewController::speed9_click() {
  setSpeed(9);
}
void ViewController::speed10_click() {
  setSpeed(10);
}
