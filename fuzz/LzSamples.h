#pragma once

#include <cstdint>
#include <vector>

// Inputs shaped like the game's compressed data, for the codec's tests and benchmarks. The same
// size and seed always give the same bytes.

// A layer tile map: 16-bit cells, 64 to a row, with tiled ground, placed objects built from
// runs of consecutive tiles, scattered decoration and the odd flipped cell.
std::vector<std::uint8_t> SampleTileMap(std::size_t size, std::uint32_t seed);

// Prose: words of a small vocabulary drawn with skewed frequencies, punctuation, line breaks.
std::vector<std::uint8_t> SampleText(std::size_t size, std::uint32_t seed);
