#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "maps/SnesColor.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/SyntheticImage.h"

// A 4 MB German image with both world maps. Tile t of the world tiles is solid palette index
// t and metatile m is four tiles m, so cell value m shows colour m whole. Colour i is distinct
// for each i (see Colour). The large map's cell (x, y) holds (x + 3y) & 0xFF, the small map's
// (2x + y + 7) & 0xFF. A world-map exit covers cells (4, 2) to (5, 2); map 2 has an exit list
// with a 1 x 1 exit at cell (9, 9) and its player starts at cell (9, 12) (drawn a cell higher).
struct WorldMapProject {
    static constexpr std::uint32_t kLargeCells = 256;  // per row and column
    static constexpr std::uint32_t kSmallCells = 64;
    static constexpr std::uint32_t kSmallPaletteTurn = 192;

    explicit WorldMapProject(std::uint32_t size = SyntheticImage::k4MB,
                             SyntheticImage::Region region = SyntheticImage::Region::German,
                             std::uint32_t smallMapShift = 7)
        : image(size, region) {
        std::vector<SyntheticImage::TilePixels> tiles(256);
        std::vector<std::array<std::uint8_t, 4>> metatiles(256);
        std::vector<std::uint16_t> palette(256);
        for (std::uint32_t i = 0; i < 256; ++i) {
            tiles[i] = SyntheticImage::SolidTile(static_cast<std::uint8_t>(i));
            metatiles[i].fill(static_cast<std::uint8_t>(i));
            palette[i] = SnesColour(i);
        }
        const auto linear = SyntheticImage::LinearTiles(tiles);
        const auto table = SyntheticImage::WorldMetatileTable(metatiles);
        std::vector<std::uint8_t> large(kLargeCells * kLargeCells);
        for (std::uint32_t i = 0; i < large.size(); ++i) {
            large[i] = LargeCell(i % kLargeCells, i / kLargeCells);
        }
        std::vector<std::uint8_t> small(kSmallCells * kSmallCells);
        for (std::uint32_t i = 0; i < small.size(); ++i) {
            small[i] =
                static_cast<std::uint8_t>(2 * (i % kSmallCells) + i / kSmallCells + smallMapShift);
        }
        // The small map's colours overlap the last quarter of the large map's in the image:
        // they are the large map's turned by kSmallPaletteTurn, so both read as written.
        std::vector<std::uint16_t> smallPalette(256);
        for (std::uint32_t i = 0; i < 256; ++i) {
            smallPalette[i] = palette[(i + kSmallPaletteTurn) & 0xFF];
        }
        if (image.Table(RegionTable::WorldMapTileMapTableB) + 0x8000 <= image.Size()) {
            image.PutWorldMap(true, large, linear, table, palette);
            image.PutWorldMap(false, small, linear, table, smallPalette);
        }
        if (image.Table(RegionTable::WorldMapExitTable) != 0) {
            std::vector<WorldMapExitRecord> exits(kWorldMapExitCount);
            exits[0] = {4, 2, 2, 1, {}};
            image.PutWorldMapExits(exits);
        }
        const ExitRecord exit{9, 9, 1, 1};
        image.PutExitList(2, 0x88AC, std::span(&exit, 1));
        image.PutObjectList(2, SyntheticImage::ObjectBank::A, 0x9000,
                            ObjectListBytes().Head(0).PlayerSpawn(9, 12, 0, 0).End());
    }

    static std::uint8_t LargeCell(std::uint32_t x, std::uint32_t y) {
        return static_cast<std::uint8_t>(x + 3 * y);
    }
    static std::uint16_t SnesColour(std::uint32_t i) {
        return SyntheticImage::SnesColor(i & 31, (i >> 5) * 4 + 2, 31 - (i & 31));
    }
    // The colour that cell value m shows on the small map.
    static std::uint32_t SmallColour(std::uint32_t m) { return Colour(m + kSmallPaletteTurn); }
    // The colour that cell value m shows on the large map, alpha aside.
    static std::uint32_t Colour(std::uint32_t m) {
        return SnesColorToArgb(SnesColour(m & 0xFF), 0);
    }

    // A project made from the image as File > New makes it.
    std::unique_ptr<ProjectContext> MakeProject() const {
        auto project = std::make_unique<ProjectContext>();
        ImportRom(*project, image.Bytes());
        return project;
    }

    SyntheticImage image;
};
