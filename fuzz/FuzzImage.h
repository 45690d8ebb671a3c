#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Fuzz inputs that describe a ROM image instead of spelling out megabytes: a selector byte
// (image size and release), then patches of (u24 offset, u8 length, bytes) applied to a blank
// image of that release. Seeds are made from the synthetic image builder the tests use, so the
// fuzzer starts from images with real structures in them.
struct FuzzImage {
    std::vector<std::uint8_t> bytes;
    std::size_t patchesApplied = 0;
};

// Builds the image an input describes.
FuzzImage BuildFuzzImage(std::span<const std::uint8_t> input);

// The input that describes `image` (of a size the selector can express), for seeds.
std::vector<std::uint8_t> DescribeFuzzImage(std::span<const std::uint8_t> image);
