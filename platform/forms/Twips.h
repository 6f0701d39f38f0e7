#pragma once
// Forms measure in twips: 1440 to the inch, 15 to a pixel of a 96-dpi screen.
#include <cmath>
#include <cstdint>

namespace forms {

inline constexpr int twipsPerPixel = 15;

inline double twipsFromPixels(int pixels) { return static_cast<double>(pixels) * twipsPerPixel; }

// The nearest whole pixel of a length in twips.
inline int pixelsFromTwips(double twips) { return static_cast<int>(std::lround(twips / twipsPerPixel)); }

}  // namespace forms
