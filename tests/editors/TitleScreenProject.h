#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "maps/SnesColor.h"
#include "platform/Canvas.h"
#include "platform/DataFolder.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

// An image with a title screen whose every pixel says where it came from: logo pixel (x, r) of
// tile t of half h has colour index LogoIndex, strip pixels StripIndex, tile-set pixels
// TileIndex (0, the transparent one, in many places). The blocks hold pieces of both sizes,
// overlapping ones, ones whose other bytes carry the game's attribute bits, and ones at tile
// columns and rows 13 to 15 that reach off the tile set and off the screen.
struct TitleScreenProject {
    using Piece = SyntheticImage::TitlePieceBytes;

    static std::uint8_t LogoIndex(int half, int t, int x, int r) {
        return static_cast<std::uint8_t>(t * 7 + r * 8 + x + half * 100);
    }
    static std::uint8_t StripIndex(int t, int x, int r) {
        return static_cast<std::uint8_t>(t * 3 + x * 5 + r * 11 + 1);
    }
    static std::uint8_t TileIndex(int t, int x, int r) { return (t + x + 2 * r) & 15; }
    static std::uint16_t Colour(int i) {
        return SyntheticImage::SnesColor(i & 31, (i >> 5) * 4 + 2, 31 - (i & 31));
    }
    static std::uint16_t TileColour(int i) { return SyntheticImage::SnesColor(2 * i, 31, i); }

    template <typename Index>
    static std::vector<std::uint8_t> Tiles(int count, unsigned bits, Index index) {
        std::vector<SyntheticImage::TilePixels> tiles(count);
        for (int t = 0; t < count; ++t) {
            for (int p = 0; p < 64; ++p) {
                tiles[t][p] = index(t, p % 8, p / 8);
            }
        }
        return SyntheticImage::PlanarTiles(tiles, bits);
    }

    explicit TitleScreenProject(std::uint32_t size = SyntheticImage::k4MB,
                                SyntheticImage::Region region = SyntheticImage::Region::German)
        : image(size, region) {
        for (int i = 0; i < 256; ++i) {
            title.colours.push_back(Colour(i));
        }
        for (int i = 0; i < 16; ++i) {
            title.tileColours.push_back(TileColour(i));
        }
        title.logoLeft = Tiles(256, 8, [](int t, int x, int r) { return LogoIndex(0, t, x, r); });
        title.logoRight = Tiles(256, 8, [](int t, int x, int r) { return LogoIndex(1, t, x, r); });
        title.strip = Tiles(192, 8, StripIndex);
        title.tileSet = Tiles(256, 4, TileIndex);
        title.blocks[0] = {{0, 0, 0, 0, 0, 0x00, 0},
                           {2, 4, 0xC0, 8, 0x30, 0x21, 0xF0},
                           {0, 8, 0x40, 16, 0x80, 0x35, 0xC0},
                           {1, 230, 0, 0, 0, 0x0D, 0},
                           {2, 170, 0, 135, 0, 0x44, 0}};
        title.blocks[1] = {{0, 16, 0, 8, 0, 0x7F, 0}, {0xFF, 100, 0, 0, 0, 0xF0, 0}};
        title.blocks[2] = {{3, 20, 0, 20, 0, 0xE2, 0}};
        image.PutTitleScreen(title);
    }

    std::unique_ptr<ProjectContext> MakeProject() const {
        auto project = std::make_unique<ProjectContext>();
        ImportRom(*project, image.Bytes());
        return project;
    }

    static Canvas ExpectedTileSet() {
        Canvas c(128, 128);
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                c.Set(x, y,
                      SnesColorToArgb(TileColour(TileIndex(y / 8 * 16 + x / 8, x % 8, y % 8))));
            }
        }
        return c;
    }

    // The screen as the game data above should look, worked out pixel by pixel.
    Canvas ExpectedScreen() const {
        Canvas c(256, 224, 0xFF000000);
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 256; ++x) {
                const int lx = x % 128;
                c.Set(x, 15 + y,
                      SnesColorToArgb(
                          Colour(LogoIndex(x / 128, y / 8 * 16 + lx / 8, lx % 8, y % 8))));
            }
        }
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 256; ++x) {
                const int lx = x % 128;
                const int sy = y + (x >= 128 ? 40 : 0);
                c.Set(x, 143 + y,
                      SnesColorToArgb(Colour(StripIndex(sy / 8 * 16 + lx / 8, lx % 8, sy % 8))));
            }
        }
        const RegionTable tables[] = {RegionTable::TitleLayoutTableA,
                                      RegionTable::TitleLayoutTableB,
                                      RegionTable::TitleLayoutTableC};
        const int origins[][2] = {{18, 19}, {80, 151}, {12, 187}};
        for (int b = 0; b < 3; ++b) {
            if (image.Table(tables[b]) == 0) {
                continue;
            }
            for (const Piece& p : title.blocks[b]) {
                const int side = p[0] != 0 ? 32 : 8;
                for (int dy = 0; dy < side; ++dy) {
                    for (int dx = 0; dx < side; ++dx) {
                        const int sx = 8 * (p[5] & 15) + dx;
                        const int sy = 8 * (p[5] >> 4) + dy;
                        const int i = TileIndex(sy / 8 * 16 + sx / 8, sx % 8, sy % 8);
                        if (sx < 128 && sy < 128 && i != 0) {
                            c.Set(origins[b][0] + p[1] + dx, origins[b][1] + p[3] + dy,
                                  SnesColorToArgb(TileColour(i)));
                        }
                    }
                }
            }
        }
        return c;
    }

    SyntheticImage image;
    SyntheticImage::TitleScreen title;
};

// Points the program's data folder at a scratch folder for the life of the object and puts the
// title import files there.
class ScratchDataFolder {
public:
    ScratchDataFolder() {
        if (const char* old = std::getenv("XDG_DATA_HOME")) {
            old_ = old;
        }
        ::setenv("XDG_DATA_HOME", (std::filesystem::current_path() / "xdg-data").c_str(), 1);
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
    }
    ~ScratchDataFolder() {
        if (old_) {
            ::setenv("XDG_DATA_HOME", old_->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
    }
    static std::filesystem::path Folder() { return DataSubfolder(kTitleDataFolder); }
    void Put(const char* name, const std::vector<std::uint8_t>& bytes) const {
        WriteWholeFile(Folder() / name, bytes);
    }

private:
    std::optional<std::string> old_;
};
