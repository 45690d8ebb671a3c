#pragma once

#include <cstdint>
#include <vector>

// One rendered map layer: width x height ARGB pixels, rows from top to bottom.
// Empty pixels with a size kept mark a layer dropped for re-rendering.
struct LayerImage {
    std::vector<std::uint32_t> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};
