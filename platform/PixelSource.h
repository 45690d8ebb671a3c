#pragma once

#include <cstdint>

// Read-only top-down ARGB pixels owned elsewhere (a canvas or a rendered layer), the source
// side of every blit. A null or empty source gives nothing to copy.
struct PixelSource {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;

    bool Empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
    const std::uint32_t* Row(int y) const {
        return pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }
};
