#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "project/RegionAddressTable.h"

class ProjectContext;

// Where a world map lies: 2 and 5 share the large map, 3 and 35 the small one. Their tile maps
// are stored uncompressed at plain image offsets, split into one or two blocks.
struct WorldMapLayout {
    std::array<RegionTable, 2> tileMapBlocks;
    std::size_t blockCount;
    std::uint32_t blockBytes;
    std::uint32_t mapBytes;    // the tile-map buffer of the map object, larger than the blocks
    std::uint32_t widthTiles;  // and height, in 8-pixel units
    RegionTable metatiles;
    RegionTable tiles;
    RegionTable palette;

    std::uint32_t TileMapBytes() const {
        return static_cast<std::uint32_t>(blockCount) * blockBytes;
    }
};

// The layout of a world-map id; nothing for every other id.
const WorldMapLayout* WorldMapLayoutOf(std::uint32_t mapId);

// Why the world map's raw tile map cannot be read or written in this project: the release has
// no table for it, or it lies beyond the image. Nothing when it can.
std::optional<std::string> WorldMapTileMapProblem(const ProjectContext& project,
                                                  const WorldMapLayout& layout);

inline constexpr const char* kNoWorldMapDataText = "This release has no data for this world map.";
