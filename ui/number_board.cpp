#include <algorithm>
#include <string>

#include "engine/view_controller.h"
#include "platform/font.h"
#include "platform/label.h"

namespace {

constexpr int kRows = 9;
constexpr int kColumns = 10;
constexpr double kBoardTop = 95.0;

// A cell's number is the text of its label, its first subview.
const std::optional<std::string>& cellText(const platform::View& cell) {
  static const std::optional<std::string> none;
  if (cell.subviews().empty()) return none;
  const auto* label = dynamic_cast<const platform::Label*>(cell.subviews().front().get());
  return label ? label->text() : none;
}

}  // namespace

// Ten square cells a row across the full width, a gap between them and at both edges; nine rows
// below the title area. Laid out once: the board never moves afterwards.
void ViewController::createNumberGrid() {
  const CGFloat width = platform::rectGetWidth(view().frame());
  numberSize = (width - 11.0 * gap) / 10.0;
  CGFloat y = kBoardTop;
  int number = 1;
  for (int row = 0; row < kRows; ++row) {
    CGFloat x = gap;
    for (int column = 0; column < kColumns; ++column) {
      auto cell = std::make_shared<platform::View>(platform::Rect{x, y, numberSize, numberSize});
      cell->setBackgroundColor(color_un_filled);
      cell->layer().cornerRadius = 0.2 * numberSize;
      cell->layer().borderWidth = 1.0;
      cell->layer().borderColor = platform::Color::blackColor();
      view().addSubview(cell);
      _gridViewsArray.push_back(cell);

      auto label = std::make_shared<platform::Label>(platform::Rect{0.0, 0.0, numberSize, numberSize});
      label->setText(std::to_string(number));
      label->setTextAlignment(platform::TextAlignment::center);
      label->setFont(platform::Font::systemFontOfSize(0.4 * numberSize));
      label->setBackgroundColor(platform::Color::clearColor());
      cell->addSubview(label);

      ++number;
      x = x + gap + numberSize;
    }
    y = y + gap + numberSize;
  }
  yValue = y;
}

void ViewController::highlightAnnouncedNumber() {
  for (auto& cell : _gridViewsArray) {
    if (cellText(*cell) == _announcedNumber) {
      cell->setBackgroundColor(color_just_filled);
      _viewPreviousHighlighted = cell;
      return;
    }
  }
}

void ViewController::refreshFilledNumbers() {
  for (auto& cell : _gridViewsArray) {
    const auto& text = cellText(*cell);
    if (text && std::find(_randomNumbers.begin(), _randomNumbers.end(), *text) != _randomNumbers.end())
      cell->setBackgroundColor(color_filled);
  }
  if (_viewPreviousHighlighted) _viewPreviousHighlighted->setBackgroundColor(color_just_filled);
}
