#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// One data block of a map that is being saved with a new header script.
struct MapDataBlock {
    std::vector<std::uint8_t> data;  // the bytes to store: an LZ stream, or raw colours
    std::uint32_t rawSize = 0;       // size before compression
    std::uint32_t storedSize = 0;    // bytes of data
    std::uint8_t widthUnits = 0;     // layer blocks: width / 256
    std::uint8_t heightUnits = 0;    // layer blocks: height / 256
    // The layer (0, 1) of a layer block, the table (0, 1) of a metatile block, the placement
    // byte of a tile block.
    std::uint8_t slot = 0;
    // What the block's command copies: 512-byte units of tiles, 64-byte units of metatiles.
    std::uint8_t units = 0;

    // Where the block went and where the script pointer to it stands (set when written).
    std::uint32_t address = 0;
    std::uint32_t pointerPos = 0;
};

// Compresses raw map data into a block. Nothing when its raw size cannot be stored: empty,
// above 0xFFFF, or 0x5EF4, which the decoder refuses.
std::optional<MapDataBlock> CompressMapData(std::span<const std::uint8_t> raw);

// The 256-pixel units of a layer's width or height, a part unit counted whole.
std::uint8_t LayerUnits(std::uint32_t pixels);
