#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "maps/MapHeaderTable.h"
#include "maps/SnesColor.h"
#include "project/LzCodec.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/HeaderScriptWriter.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/SyntheticImage.h"

// A German image (4 MB unless asked) with one small map set: map 0x0A and its copies use one
// header script whose layers are 1024 x 512 pixels. The script lies at kScript, which the
// header entries name by kScript or by a game address from 0xC00000 on, as asked; every block
// it names lies in the lower half of its bank, which pointers from both places reach. Layer 0 cell
// (x, y) holds metatile (x + y) % 16, layer 1 holds metatile 0 everywhere (transparent over layer
// 0), stored as a short stream that edits make grow. Metatile m is four tiles of colour m of
// palette row 1; the collision value of metatile m is m. Map 0x0A has an exit at cells (4, 2),
// 2 x 1, and its player starts at cell (6, 5) (drawn a cell higher). Map 0x20 has no map yet;
// the template of new maps is in place.
class MapPageProject {
public:
    static constexpr std::uint32_t kMapId = 0x0A;
    static constexpr std::uint32_t kNoListMapId = 0x0B;        // a script but no object list
    static constexpr std::uint32_t kHiddenLayer1MapId = 0x0C;  // mode 0x0E
    static constexpr std::uint32_t kUnknownModeMapId = 0x0D;   // mode 0x14
    static constexpr std::uint32_t kGotoMapId = 0x0E;          // goes to 0x0A's script
    static constexpr std::uint32_t kFreeMapId = 0x20;
    static constexpr std::uint32_t kScript = 0x300000;
    static constexpr std::uint32_t kPalette = 0x300100;
    static constexpr std::uint32_t kTiles = 0x301000;
    static constexpr std::uint32_t kMetatiles = 0x302000;
    static constexpr std::uint32_t kCollision = 0x303000;
    static constexpr std::uint32_t kLayer0 = 0x304000;
    static constexpr std::uint32_t kLayer1 = 0x306000;
    static constexpr std::uint8_t kMusicTrack = 9;
    static constexpr std::uint32_t kWidthCells = 64;
    static constexpr std::uint32_t kHeightCells = 32;

    explicit MapPageProject(std::uint32_t size = SyntheticImage::k4MB,
                            std::uint32_t scriptAddress = kScript)
        : image(size, SyntheticImage::Region::German), scriptAddress(scriptAddress) {
        std::array<std::uint16_t, 16> colours{};
        for (std::uint32_t i = 0; i < 16; ++i) {
            colours[i] = Colour(i);
        }
        image.PutPalette(kPalette, colours);

        std::array<SyntheticImage::TilePixels, 16> tiles{};
        for (std::uint8_t i = 0; i < 16; ++i) {
            tiles[i] = SyntheticImage::SolidTile(i);
        }
        image.PutLzBlock(kTiles, SyntheticImage::PlanarTiles(tiles));
        std::array<std::array<std::uint16_t, 4>, 64> metatiles{};
        for (std::uint32_t m = 0; m < metatiles.size(); ++m) {
            metatiles[m].fill(SyntheticImage::TileEntry(m % 16, 1));
        }
        image.PutLzBlock(kMetatiles, SyntheticImage::MetatileTable(metatiles));
        std::array<std::uint8_t, 512> collision{};
        for (std::uint32_t m = 0; m < collision.size(); ++m) {
            collision[m] = static_cast<std::uint8_t>(m);
        }
        image.PutLzBlock(kCollision, collision);

        image.PutLayerBlock(kLayer0, kWidthCells * 16, kHeightCells * 16,
                            SyntheticImage::LayerMap(
                                kWidthCells, kHeightCells, [](std::uint32_t x, std::uint32_t y) {
                                    return static_cast<std::uint16_t>((x + y) % 16);
                                }));
        const std::vector<std::uint8_t> zeros(kWidthCells * kHeightCells * 2, 0);
        image.PutLayerBlock(kLayer1, kWidthCells * 16, kHeightCells * 16, zeros);
        image.PutLzStream(kLayer1 + 2, static_cast<std::uint32_t>(zeros.size()),
                          *CompressData(zeros));

        HeaderScriptWriter(image, scriptAddress)
            .MusicTrack(kMusicTrack)
            .Palette(16, 16, kPalette)
            .Tiles(1, 0, kTiles, 0)
            .Metatiles(0, 8, 0, 1, kMetatiles)
            .Metatiles(0, 8, 0, 2, kMetatiles)
            .Metatiles(0, 8, 0, 0x80, kCollision)
            .Layer(1, kLayer0)
            .Layer(2, kLayer1)
            .End();
        for (std::uint32_t id : {kMapId, kNoListMapId, kHiddenLayer1MapId, kUnknownModeMapId}) {
            image.SetMapHeader(id, scriptAddress);
        }
        using Bank = SyntheticImage::ObjectBank;
        image.PutObjectList(kMapId, Bank::A, 0x9000,
                            ObjectListBytes().Head(0x0200).PlayerSpawn(6, 5, 0, 0).End());
        image.PutObjectList(kHiddenLayer1MapId, Bank::A, 0x9100,
                            ObjectListBytes().Head(0x0E00).End());
        image.PutObjectList(kUnknownModeMapId, Bank::B, 0x9200,
                            ObjectListBytes().Head(0x1400).End());
        const ExitRecord exit{4, 2, 2, 1};
        image.PutExitList(kMapId, 0x88AC, std::span(&exit, 1));
        // Map 0x0E's script goes to map 0x0A's by a flag goto; skipping it, command 02 sets
        // the track 5 and layer 0 is loaded alone.
        image.SetScriptPiece(0, scriptAddress);
        HeaderScriptWriter(image, kScript + 0x80).FlagGoto(0, 0).Music(5).Layer(1, kLayer0).End();
        image.SetMapHeader(kGotoMapId, kScript + 0x80);
        image.PutObjectList(kGotoMapId, Bank::A, 0x9300, ObjectListBytes().Head(0x0200).End());
        // No shops: the shop table ends at once.
        image.Put16(image.Table(RegionTable::ShopTable), 0xFFFF);

        image.SetMapHeader(kFreeMapId, kNoMapHeader);
        std::array<SyntheticImage::TilePixels, 16> blankTiles{};  // one whole sheet row
        blankTiles.fill(SyntheticImage::SolidTile(3));
        image.PutBlankMapTemplate(SyntheticImage::PlanarTiles(blankTiles),
                                  SyntheticImage::MetatileTable(
                                      std::vector<std::array<std::uint16_t, 4>>(4, {0, 1, 2, 3})),
                                  std::vector<std::uint8_t>(0x200, 1),
                                  std::vector<std::uint16_t>(96, 0x1F),
                                  std::vector<std::uint16_t>(32, 0x3E0));
    }

    // Makes the image the current project.
    void Open() {
        auto project = std::make_unique<ProjectContext>();
        ASSERT_EQ(ImportRom(*project, image.Bytes()), 1u);
        ReplaceCurrentProject(std::move(project));
    }

    static std::uint16_t Colour(std::uint32_t i) {
        return SyntheticImage::SnesColor(i * 2, 31 - i * 2, (i * 5) % 32);
    }
    // The colour that metatile m shows (palette row 1, alpha aside).
    std::uint32_t MetatileColour(std::uint32_t m) const {
        return SnesColorToArgb(Colour(m % 16), 0);
    }

    SyntheticImage image;
    std::uint32_t scriptAddress;
};
