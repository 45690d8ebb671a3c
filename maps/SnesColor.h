#pragma once

#include <cstdint>

// A SNES colour (bits 0-4 red, 5-9 green, 10-14 blue; bit 15 unused) as 32-bit ARGB, each
// 5-bit channel shifted left by 3.
inline std::uint32_t SnesColorToArgb(std::uint16_t color, std::uint32_t alpha = 0xFF) {
    const std::uint32_t r = (color & 0x1Fu) << 3;
    const std::uint32_t g = ((color >> 5) & 0x1Fu) << 3;
    const std::uint32_t b = ((color >> 10) & 0x1Fu) << 3;
    return (alpha & 0xFFu) << 24 | r << 16 | g << 8 | b;
}
