#pragma once

#include <optional>
#include <string>

#include "platform/font.h"
#include "platform/view.h"

namespace platform {

// Ordinals are the toolkit's alignment values (1 is centred).
enum class TextAlignment { left = 0, center = 1, right = 2 };

// A view that shows one line of text. A label may have no text at all, which is not the same as
// empty text.
class Label : public View {
 public:
  explicit Label(Rect frame = {});

  const std::optional<std::string>& text() const { return text_; }
  void setText(std::optional<std::string> text) { text_ = std::move(text); }

  TextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(TextAlignment alignment) { alignment_ = alignment; }

  const Font& font() const { return font_; }
  void setFont(Font font) { font_ = font; }

  // Empty means the toolkit's default (black).
  const std::optional<Color>& textColor() const { return textColor_; }
  void setTextColor(std::optional<Color> color) { textColor_ = color; }

 private:
  std::optional<std::string> text_;
  TextAlignment alignment_ = TextAlignment::left;
  Font font_;
  std::optional<Color> textColor_;
};

}  // namespace platform
