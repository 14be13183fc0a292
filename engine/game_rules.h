#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The game's fixed numbers and the title's fixed text, each written here only.
namespace game {

// Numbers from 1 to this are drawn, each once per game; the board has a cell for each.
inline constexpr int kNumbersInGame = 90;
// The room is warned before the last ten and the last five numbers are drawn.
inline constexpr std::size_t kLastTenMark = kNumbersInGame - 10;
inline constexpr std::size_t kLastFiveMark = kNumbersInGame - 5;

// The answers of the screen's questions.
inline constexpr std::string_view kAnswerYes = "Yes";
inline constexpr std::string_view kAnswerNo = "No";

inline constexpr std::string_view kScreenTitle = "Vorlix @ Korvanda Castle";

// The title while a number is being called: "Vorlix @ Korvanda Castle [45]".
inline std::string titleCalling(const std::string& number) {
  return std::string(kScreenTitle) + " [" + number + "]";
}

}  // namespace game
