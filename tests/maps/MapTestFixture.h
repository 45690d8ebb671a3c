#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "maps/MapRenderer.h"
#include "project/ProjectContext.h"
#include "tests/support/SyntheticImage.h"

// A project on a synthetic image and a map object pointed at it. The palette is set so that
// entry i is 0x40000000 | i: a layer pixel of palette index i is then exactly 0xFF000000 | i
// (layers are opaque) and every expected picture can be written down by hand.
struct MapScene {
    explicit MapScene(std::uint32_t size = SyntheticImage::k4MB)
        : image(size, SyntheticImage::Region::German) {
        project.romImage = image.Bytes();
        project.romSize = size;
        project.regionIndex = SyntheticImage::RegionIndex(SyntheticImage::Region::German);
        project.exitLists.assign(kMapCount, {});
        renderer = std::make_unique<MapRenderer>(project);
        for (std::uint32_t i = 0; i < 256; ++i) {
            renderer->argbPalette[i] = 0x40000000u | i;
        }
    }

    // Copies the synthetic image into the project after a test changed it.
    void Sync() { project.romImage = image.Bytes(); }

    // Little-endian 16-bit cells or tile entries.
    static std::vector<std::uint8_t> Words(std::initializer_list<std::uint16_t> values) {
        std::vector<std::uint8_t> out;
        for (const std::uint16_t v : values) {
            out.insert(out.end(),
                       {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
        }
        return out;
    }

    static std::uint32_t Opaque(std::uint32_t index) { return 0xFF000000u | index; }

    // Tile 1: every pixel a different non-zero index, so flips show: 1 + (8y + x) % 15.
    static std::uint8_t Pattern(int x, int y) {
        return static_cast<std::uint8_t>(1 + (8 * y + x) % 15);
    }
    static SyntheticImage::TilePixels PatternTile() {
        SyntheticImage::TilePixels tile{};
        for (int i = 0; i < 64; ++i) {
            tile[i] = Pattern(i % 8, i / 8);
        }
        return tile;
    }
    // Tile 2: left half index 0, right half index 3.
    static SyntheticImage::TilePixels HalfTile() {
        SyntheticImage::TilePixels tile{};
        for (int i = 0; i < 64; ++i) {
            tile[i] = i % 8 < 4 ? 0 : 3;
        }
        return tile;
    }
    // A tile sheet of `count` tiles: 0 blank, 1 the pattern, 2 the half tile, the rest solid
    // in index (n % 15) + 1.
    void LoadTiles(std::size_t count = 16) {
        std::vector<SyntheticImage::TilePixels> tiles(count);
        for (std::size_t n = 0; n < count; ++n) {
            tiles[n] = SyntheticImage::SolidTile(static_cast<std::uint8_t>(n % 15 + 1));
        }
        tiles[0] = SyntheticImage::SolidTile(0);
        tiles[1] = PatternTile();
        tiles[2] = HalfTile();
        renderer->ConvertPlanarTiles(SyntheticImage::PlanarTiles(tiles));
    }

    std::uint32_t Pixel(std::uint32_t layer, std::uint32_t x, std::uint32_t y) const {
        const LayerImage& image = renderer->layerImages.at(layer);
        return image.pixels.at(std::size_t{y} * image.width + x);
    }

    SyntheticImage image;
    ProjectContext project;
    std::unique_ptr<MapRenderer> renderer;
};

class MapTest : public ::testing::Test, public MapScene {};
