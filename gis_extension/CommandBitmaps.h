#pragma once
// The library's bitmap resources: the toolbar pictures of its two commands, 16 x 16
// pixels, 24 bits per pixel, uncompressed, magenta (255, 0, 255) where the picture is
// empty. 101 is a round grey button with a black capital D ("ID Within Distance"),
// 102 an open book ("Open Documentation").
#include <cstdint>
#include <memory>
#include <string_view>

#include "forms/Picture.h"

namespace gis_extension {

inline constexpr std::int32_t BitmapWithinDistance = 101;
inline constexpr std::int32_t BitmapManual = 102;

// The bytes of the bitmap file of a resource; empty for an identifier without one.
std::string_view ResourceBitmap(std::int32_t id);

// The resource as a picture; an identifier without a bitmap raises the run-time's
// "Resource with identifier not found" (326).
std::shared_ptr<forms::Picture> LoadResPicture(std::int32_t id);

}  // namespace gis_extension
