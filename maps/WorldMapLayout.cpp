#include "maps/WorldMapLayout.h"

#include <span>

#include "project/ProjectContext.h"

namespace {

constexpr WorldMapLayout kLargeWorldMap{
    {RegionTable::WorldMapTileMapTableA, RegionTable::WorldMapTileMapTableB},
    2,
    0x8000,
    0x20000,
    0x200,
    RegionTable::WorldMapMetatileTable,
    RegionTable::WorldMapTilesTable,
    RegionTable::WorldMapPaletteTable};
constexpr WorldMapLayout kSmallWorldMap{
    {RegionTable::SmallWorldMapTileMapTable, RegionTable::SmallWorldMapTileMapTable},
    1,
    0x1000,
    0x2000,
    0x80,
    RegionTable::SmallWorldMapMetatileTable,
    RegionTable::SmallWorldMapTilesTable,
    RegionTable::SmallWorldMapPaletteTable};

}  // namespace

const WorldMapLayout* WorldMapLayoutOf(std::uint32_t mapId) {
    switch (mapId) {
        case 2:
        case 5:
            return &kLargeWorldMap;
        case 3:
        case 35:
            return &kSmallWorldMap;
        default:
            return nullptr;
    }
}

std::optional<std::string> WorldMapTileMapProblem(const ProjectContext& project,
                                                  const WorldMapLayout& layout) {
    const auto blocks = std::span(layout.tileMapBlocks).first(layout.blockCount);
    for (const RegionTable block : blocks) {
        if (project.Table(block) == 0) {
            return kNoWorldMapDataText;
        }
    }
    // The 1 MB release names areas beyond its image.
    for (const RegionTable block : blocks) {
        if (!InRange(project.romImage.size(), project.Table(block), layout.blockBytes)) {
            return "The world map data lies outside this ROM image.";
        }
    }
    return std::nullopt;
}
