#pragma once

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "maps/SnesColor.h"
#include "platform/Canvas.h"
#include "platform/DataFolder.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

// An image whose title screen tells where each pixel came from: pixel (x, r) of tile t of sheet
// h (0 and 1 the logo halves, 2 the strip, 3 the tile set) has colour index Index(h, t, x, r),
// index 0 of the tile set (the transparent one) in many places. The blocks hold pieces of both
// sizes, overlapping ones, ones whose unused bytes carry the game's flip and priority bits, and
// ones at tile columns and rows 13 to 15 that reach off the tile set and off the screen.
struct TitleScreenProject {
    static constexpr RegionTable kBlockTables[] = {RegionTable::TitleLayoutTableA,
                                                   RegionTable::TitleLayoutTableB,
                                                   RegionTable::TitleLayoutTableC};
    static constexpr int kOrigins[3][2] = {{18, 19}, {80, 151}, {12, 187}};

    static std::uint8_t Index(int h, int t, int x, int r) {
        return h == 3 ? (t + x + 2 * r) & 15 : (t * 7 + r * 8 + x + h * 100) & 0xFF;
    }
    // The index at (x, y) of a sheet 16 tiles wide.
    static std::uint8_t Pixel(int h, int x, int y) {
        return Index(h, y / 8 * 16 + x / 8, x % 8, y % 8);
    }
    static std::uint16_t SnesColour(int i, bool tileSet = false) {
        return tileSet ? SyntheticImage::SnesColor(2 * i, 31, i)
                       : SyntheticImage::SnesColor(i, (i >> 5) * 4 + 2, 31 - i);
    }
    static std::uint32_t Colour(int i, bool tileSet = false) {
        return SnesColorToArgb(SnesColour(i, tileSet));
    }
    static std::vector<std::uint8_t> Sheet(int h, int count) {
        std::vector<SyntheticImage::TilePixels> tiles(count);
        for (int p = 0; p < 64 * count; ++p) {
            tiles[p / 64][p % 64] = Index(h, p / 64, p % 8, p % 64 / 8);
        }
        return SyntheticImage::PlanarTiles(tiles, h == 3 ? 4 : 8);
    }

    explicit TitleScreenProject(std::uint32_t size = SyntheticImage::k4MB,
                                SyntheticImage::Region region = SyntheticImage::Region::German)
        : image(size, region) {
        for (int i = 0; i < 256; ++i) {
            image.Put16(image.Table(RegionTable::TitleScreenTableA) + 2 * i, SnesColour(i));
            image.Put16(image.Table(RegionTable::TitleScreenTilesTable) + 2 * (i % 16),
                        SnesColour(i % 16, true));
        }
        image.PutBytes(image.Table(RegionTable::TitleScreenGraphicsTable), Sheet(0, 256));
        image.PutBytes(image.Table(RegionTable::TitleScreenTableB), Sheet(1, 256));
        image.PutLzBlock(image.Table(RegionTable::TitleScreenCompressedTable), Sheet(2, 192));
        image.PutLzBlock(image.Table(RegionTable::TitleScreenTilesTableB), Sheet(3, 256));
        for (int b = 0; b < 3; ++b) {
            if (const std::uint32_t at = image.Table(kBlockTables[b]); at != 0) {
                image.Put8(at, static_cast<std::uint32_t>(blocks[b].size()));
                for (std::uint32_t p = 0; p < blocks[b].size(); ++p) {
                    image.PutBytes(at + 1 + 7 * p, blocks[b][p]);
                }
            }
        }
    }

    std::unique_ptr<ProjectContext> MakeProject() const {
        auto project = std::make_unique<ProjectContext>();
        ImportRom(*project, image.Bytes());
        return project;
    }

    static Canvas ExpectedTileSet() {
        Canvas c(128, 128);
        for (int p = 0; p < 128 * 128; ++p) {
            c.Set(p % 128, p / 128, Colour(Pixel(3, p % 128, p / 128), true));
        }
        return c;
    }

    // The screen that the data above makes, worked out pixel by pixel.
    Canvas ExpectedScreen() const {
        Canvas c(256, 224, 0xFF000000);
        for (int p = 0; p < 256 * 128; ++p) {
            const int x = p % 256, y = p / 256;
            c.Set(x, 15 + y, Colour(Pixel(x / 128, x % 128, y)));
            if (y < 40) {  // the strip's rows 0 to 39 on the left, 40 to 79 on the right
                c.Set(x, 143 + y, Colour(Pixel(2, x % 128, y + 40 * (x / 128))));
            }
        }
        for (int b = 0; b < 3; ++b) {
            for (const auto& p : blocks[b]) {
                const int side = p[0] != 0 ? 32 : 8;
                for (int d = 0; d < side * side && image.Table(kBlockTables[b]) != 0; ++d) {
                    const int sx = 8 * (p[5] & 15) + d % side;
                    const int sy = 8 * (p[5] >> 4) + d / side;
                    if (sx < 128 && sy < 128 && Pixel(3, sx, sy) != 0) {
                        c.Set(kOrigins[b][0] + p[1] + d % side, kOrigins[b][1] + p[3] + d / side,
                              Colour(Pixel(3, sx, sy), true));
                    }
                }
            }
        }
        return c;
    }

    SyntheticImage image;
    std::vector<std::array<std::uint8_t, 7>> blocks[3] = {
        {{0, 0, 0, 0, 0, 0x00, 0},
         {2, 4, 0xC0, 8, 0x30, 0x21, 0xF0},
         {0, 8, 0x40, 16, 0x80, 0x35, 0xC0},
         {1, 230, 0, 0, 0, 0x0D, 0},
         {2, 170, 0, 135, 0, 0x44, 0}},
        {{0, 16, 0, 8, 0, 0x7F, 0}, {0xFF, 100, 0, 0, 0, 0xF0, 0}},
        {{3, 20, 0, 20, 0, 0xE2, 0}}};
};

// Points the program's data folder at an empty scratch folder; returns its title subfolder.
inline std::filesystem::path ScratchTitleFolder() {
    ::setenv("XDG_DATA_HOME", (std::filesystem::current_path() / "xdg-data").c_str(), 1);
    std::filesystem::remove_all(DataSubfolder(kTitleDataFolder));
    std::filesystem::create_directories(DataSubfolder(kTitleDataFolder));
    return DataSubfolder(kTitleDataFolder);
}
