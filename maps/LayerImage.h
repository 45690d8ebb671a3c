#pragma once

#include <cstdint>
#include <vector>

#include "platform/PixelSource.h"

// One rendered map layer: width x height ARGB pixels, rows from top to bottom.
// Empty pixels with a size kept mark a layer dropped for re-rendering.
struct LayerImage {
    std::vector<std::uint32_t> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    bool HasPixels() const {
        return width != 0 && height != 0 && pixels.size() >= std::size_t{width} * height;
    }
    // The pixels as a blit source; empty while the layer is dropped.
    PixelSource Source() const {
        if (!HasPixels()) {
            return {};
        }
        return {pixels.data(), static_cast<int>(width), static_cast<int>(height)};
    }
};
