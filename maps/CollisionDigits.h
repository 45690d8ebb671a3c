#pragma once

#include "platform/Canvas.h"

inline constexpr int kDigitWidth = 8;
inline constexpr int kDigitHeight = 16;
inline constexpr std::uint32_t kDigitStroke = 0x00000000;
inline constexpr std::uint32_t kDigitBackground = 0xFFFFFF00;

// The hexadecimal digits 0 to F side by side, 8 x 16 pixels each (128 x 16 in all): dark
// strokes on opaque yellow, blended over collision cells to show their values.
const Canvas& CollisionDigitStrip();
