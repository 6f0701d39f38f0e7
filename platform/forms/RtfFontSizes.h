#pragma once
// Font sizes as rich text writes them: in half points (\fsN).
namespace forms {

// 12 points: the size of text that names none.
inline constexpr int defaultHalfPoints = 24;
// 1638 points: larger sizes are read as this one.
inline constexpr int maxHalfPoints = 3276;

}  // namespace forms
