#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The LZ stream encoder written the plain way: every source position of the window and every
// length is tried. Slow, obviously right, and the yardstick for the product's encoder. Returns
// the stream (first byte to end marker) for any non-empty input, however long it gets.
std::vector<std::uint8_t> CompressDataExhaustive(std::span<const std::uint8_t> input);
