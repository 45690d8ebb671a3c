#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "maps/MapRenderer.h"
#include "maps/SnesColor.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/maps/MapTestFixture.h"
#include "tests/support/HeaderScriptWriter.h"
#include "tests/support/SyntheticImage.h"
#include "tests/support/TraceCapture.h"

using Region = SyntheticImage::Region;
using Tiles = std::vector<SyntheticImage::TilePixels>;
using Metatile = std::array<std::uint16_t, 4>;

namespace {

constexpr std::uint32_t kMapId = 0x10;
constexpr std::uint32_t kScript = 0x0A8000;
constexpr std::uint32_t kMarkColors = 0x0B8000;  // 16 colours that mark a palette row as run
constexpr std::uint32_t kData = 0x0B9000;        // data blocks of the tests

std::uint32_t PiecePosition(std::uint32_t piece) {
    return 0x0A9000 + 0x100 * piece;
}

std::uint16_t MarkColor(std::uint32_t k) {
    return SyntheticImage::SnesColor(k + 1, 2, 3);
}
std::uint16_t DefaultColor(std::uint32_t k) {
    return SyntheticImage::SnesColor(0, k, 0);
}
std::uint32_t MarkArgb(std::uint32_t k) {
    return SnesColorToArgb(MarkColor(k));
}
std::uint32_t DefaultArgb(std::uint32_t k) {
    return SnesColorToArgb(DefaultColor(k));
}

std::vector<std::uint16_t> Colors(std::uint32_t count, std::uint16_t (*color)(std::uint32_t)) {
    std::vector<std::uint16_t> out;
    for (std::uint32_t k = 0; k < count; ++k) {
        out.push_back(color(k));
    }
    return out;
}

std::vector<std::uint8_t> Filler(std::size_t size, std::uint8_t seed) {
    std::vector<std::uint8_t> out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    return out;
}

// Tiles 0 to count - 1, tile n solid in colour n * step.
Tiles SolidTiles(std::size_t count, std::uint8_t step = 1) {
    Tiles tiles;
    for (std::size_t n = 0; n < count; ++n) {
        tiles.push_back(SyntheticImage::SolidTile(static_cast<std::uint8_t>(n * step)));
    }
    return tiles;
}

// A synthetic image with a map object loading from it. Each Load copies the image into the
// project first, so tests write the image and then load.
struct LoadScene : MapScene {
    explicit LoadScene(std::uint32_t size = SyntheticImage::k4MB, Region region = Region::German)
        : MapScene(size) {
        image.SetRegion(region);
        image.SetMapHeader(kMapId, kScript);
        image.PutPalette(image.Wrap(image.Table(RegionTable::DefaultMapPaletteTable)),
                         Colors(16, DefaultColor));
        image.PutPalette(kMarkColors, Colors(16, MarkColor));
        for (std::uint32_t piece = 0; piece < 16; ++piece) {
            image.SetScriptPiece(piece, PiecePosition(piece));
        }
    }

    void SyncProject() {
        Sync();
        project.regionIndex = DetectRegion(image.Bytes());
        renderer->Reset();
    }

    MapLoadResult Load(std::uint32_t mapId, bool skipFlagGotos = false) {
        SyncProject();
        width0 = 0xEEEE;
        width1 = 0xEEEE;
        return renderer->Load(mapId, width0, width1, skipFlagGotos);
    }

    HeaderScriptWriter Script(std::uint32_t start = kScript) { return {image, start}; }
    HeaderScriptWriter Piece(std::uint32_t piece) { return {image, PiecePosition(piece)}; }

    // Whether the palette row that a Mark(row) command loads was loaded.
    bool Marked(std::uint32_t row) const {
        return renderer->argbPalette[row * 16 + 1] == MarkArgb(1);
    }

    std::uint32_t width0 = 0;
    std::uint32_t width1 = 0;
};

// Loads the marking colours into one palette row: a trail of which script parts ran.
HeaderScriptWriter& Mark(HeaderScriptWriter& script, std::uint8_t row) {
    return script.Palette(16, static_cast<std::uint8_t>(row * 16), kMarkColors);
}
HeaderScriptWriter& Mark(HeaderScriptWriter&& script, std::uint8_t row) {
    return Mark(script, row);
}

class MapLoad : public ::testing::Test, public LoadScene {};

}  // namespace

TEST_F(MapLoad, MapWithoutHeaderChangesNothingAndEmptyScriptRendersNothing) {
    image.SetMapHeader(kMapId, 2);
    SyncProject();
    renderer->cursor = 0x1234;
    std::uint32_t w0 = 5, w1 = 6;
    EXPECT_EQ(renderer->Load(kMapId, w0, w1, false).status, MapLoadStatus::NoMap);
    EXPECT_EQ(renderer->cursor, 0x1234u);
    EXPECT_TRUE(renderer->tileData.empty());
    EXPECT_EQ(w0 + w1, 0u);  // never what the caller had in them

    image.SetMapHeader(kMapId, kScript);
    Script().End();
    std::filesystem::remove("map_0010.bmp");
    EXPECT_EQ(Load(kMapId).status, MapLoadStatus::Loaded);
    EXPECT_EQ(renderer->tileData.size(), kTileDataBytes);
    EXPECT_TRUE(renderer->layerImages.empty());
    EXPECT_FALSE(std::filesystem::exists("map_0010.bmp"));
}

TEST_F(MapLoad, CallsReturnDeferredPiecesRunLastFirstAndFlagGotosJump) {
    // Commands without effect first: they only consume their operands, each ending in a byte
    // that would end the script if it were read as a command.
    const std::uint8_t noEffect[] = {
        0x01, 1,    2,    3, 4, 5, 0,  // six bytes
        0x04, 1,    2,    3, 4, 0,     // a pointer and two bytes
        0x10, 0,    1,    2, 0,        // layer 0: three bytes
        0x33, 0x10, 0x03,              // an unknown command; layer 3: two bytes
    };
    auto main = Script();
    main.Bytes(noEffect);
    main.Return().Flow(0xFB).Flow(0x42);  // a return with nothing to return to goes on
    const std::uint32_t trackOperand = main.Position() + 2;
    main.MusicTrack(0x0123);
    // Then main defers 4 and 5, calls 1 (which calls 2) and takes a flag goto to piece 6.
    main.Defer(4).Defer(5).Call(1);
    Mark(main, 3).FlagGoto(0x8123, 6);
    Mark(main, 6).End();
    Mark(Piece(1).Call(0x8002), 2).End();  // only the call masks off bit 15 of the piece
    Mark(Piece(2), 1).End();
    Mark(Piece(4), 4).Music(4).End();
    Mark(Piece(5), 5).Music(5).End();
    Mark(Piece(6), 7).End();

    for (const bool skip : {false, true}) {
        Load(kMapId, skip);
        for (std::uint8_t row = 1; row <= 5; ++row) {
            EXPECT_TRUE(Marked(row)) << int{row};
        }
        EXPECT_EQ(Marked(6), skip);
        EXPECT_EQ(Marked(7), !skip);
        EXPECT_EQ(renderer->mapMusicTrack, 4u);  // piece 4, deferred first, ran last
        EXPECT_EQ(renderer->mapMusicTrackPos, trackOperand);
        EXPECT_TRUE(renderer->layerMap[0].empty());
    }
}

TEST_F(MapLoad, ConditionalFlowDependsOnTheCallStack) {
    // FE outside a call jumps; FF inside a call goes on; FE inside a call returns; FF outside
    // a call jumps.
    auto main = Script();
    main.ReturnOrGoto(1);
    Mark(main, 5).End();
    auto first = Piece(1);
    first.Call(2);
    Mark(first, 1).GotoUnlessCalled(3);
    Mark(first, 6).End();
    auto second = Piece(2);
    second.GotoUnlessCalled(4);
    Mark(second, 2).ReturnOrGoto(4);
    Mark(second, 7).End();
    Mark(Piece(3), 3).End();
    Mark(Piece(4), 8).End();

    Load(kMapId);
    for (std::uint8_t row = 1; row <= 8; ++row) {
        EXPECT_EQ(Marked(row), row <= 3) << int{row};
    }
}

TEST_F(MapLoad, StacksHoldNineEntriesAndLoopsAreStopped) {
    const auto traced = [&](const char* text) {
        return CaptureTrace([&] { Load(kMapId); }).find(text) != std::string::npos;
    };
    // Nine nested calls return all the way out; a tenth, or a tenth deferred piece, ends the
    // walk.
    auto main = Script();
    main.Call(1);
    Mark(main, 1).End();
    for (std::uint16_t piece = 1; piece < 9; ++piece) {
        Piece(piece).Call(piece + 1).End();
    }
    Piece(9).End();
    Load(kMapId);
    EXPECT_TRUE(Marked(1));
    Piece(9).Call(10).End();
    Piece(10).End();
    EXPECT_TRUE(traced("stack full"));
    EXPECT_FALSE(Marked(1));
    auto deferring = Script();
    for (int i = 0; i < 10; ++i) {
        deferring.Defer(1);
    }
    Mark(deferring, 2).End();
    Mark(Piece(1), 1).End();
    EXPECT_TRUE(traced("stack full"));
    EXPECT_FALSE(Marked(1) || Marked(2));

    // A goto to itself; a call whose piece jumps back to the call, which returns each time.
    Script().FlagGoto(0, 1).End();
    Piece(1).FlagGoto(0, 1).End();
    EXPECT_TRUE(traced("stopped after 4096 commands"));
    Piece(1).Call(2).GotoUnlessCalled(1).End();
    Piece(2).Return();
    EXPECT_TRUE(traced("stopped after 4096 commands"));
}

TEST_F(MapLoad, DataCommandsPlaceTheirBlocksAndKeepTheFirstSource) {
    const auto block = Filler(256, 1);
    const auto tiles = Filler(1024, 3);
    const std::uint32_t tilesAt = kData + 0x1000, colorsAt = kData + 0x2000;
    image.PutLzBlock(kData, block);
    image.PutLzBlock(tilesAt, tiles);
    image.PutPalette(colorsAt, Colors(48, MarkColor));
    Script()
        .Metatiles(0x81, 1, 2, 0x03, kData)  // table 0: block bytes 64.. at 128 (a loses bit 7)
        .Metatiles(0, 2, 0, 0x02, kData)     // table 1: two rows at 0
        .Metatiles(2, 1, 0, 0x04, kData)     // names no table: nothing
        .Metatiles(0, 1, 7, 0x82, kData)     // collision (bit 7 wins) at 448, the first source
        .Metatiles(0, 2, 7, 0x80, tilesAt)   // over it; its second row would pass the end
        // Each palette command loads the default row 0, then its own rows; 48 colours from
        // index 0xE0 load rows 14 and 15 and drop the row above 15.
        .Palette(0, 0x30, kMarkColors)
        .Palette(48, 0xE0, colorsAt)
        .Palette(32, 0x10, colorsAt)
        .Tiles(1, 0, tilesAt, 0x60)  // slot 0
        .Tiles(2, 1, tilesAt, 0x3F)  // slot 0x38 (bits 0-2 unused); layer 0 offset 0x300
        .Tiles(1, 0, tilesAt, 0x70)  // slot 0x30
        .Tiles(1, 2, tilesAt, 0x40)  // slot 0x20; layer 1 offset (0x40 & 0x30) << 4 = 0
        .Tiles(1, 2, tilesAt, 0x10)  // slot 0x10; layer 1 offset 0x100
        .End();
    Load(kMapId);
    const MapRenderer& map = *renderer;
    EXPECT_TRUE(std::equal(block.begin() + 64, block.begin() + 128, &map.metatileTables[0][128]));
    EXPECT_EQ(map.metatileTables[0][0], 0);
    EXPECT_EQ(map.metatileTableSizes[0], 64u);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 128, map.metatileTables[1].begin()));
    EXPECT_EQ(map.metatileTableSizes[1], 128u);
    EXPECT_EQ(map.metatileTables[2][0], 0);
    EXPECT_TRUE(std::equal(tiles.begin(), tiles.begin() + 64, map.collision.begin() + 448));
    EXPECT_EQ(map.collisionSize, 512u);  // 256 and 1024 bytes counted, at most the table
    EXPECT_EQ(map.collision.size(), 512u);
    EXPECT_EQ(map.collisionSource, kData);

    EXPECT_EQ(map.argbPalette[1], DefaultArgb(1));
    EXPECT_EQ(map.argbPalette[3 * 16 + 1], kResetArgbColor);
    EXPECT_EQ(map.argbPalette[14 * 16 + 1], MarkArgb(1));
    EXPECT_EQ(map.argbPalette[15 * 16 + 1], MarkArgb(17));
    EXPECT_EQ(map.argbPalette[2 * 16 + 2], MarkArgb(18));
    EXPECT_EQ(map.paletteSource, kMarkColors);

    EXPECT_TRUE(std::equal(tiles.begin(), tiles.begin() + 512, map.tileData.begin()));
    EXPECT_TRUE(std::equal(tiles.begin(), tiles.end(), map.tileData.begin() + 0x7000));
    EXPECT_TRUE(std::equal(tiles.begin(), tiles.begin() + 512, map.tileData.begin() + 0x4000));
    EXPECT_TRUE(std::equal(tiles.begin(), tiles.begin() + 512, map.tileData.begin() + 0x6000));
    EXPECT_EQ(map.tileDataSize, 0x7400u);
    EXPECT_EQ(map.tileNumberOffset[0], 0x300u);
    EXPECT_EQ(map.tileNumberOffset[1], 0x100u);
    EXPECT_EQ(map.tileSetType, 2u);
    EXPECT_EQ(map.tileSource, tilesAt);
}

TEST_F(MapLoad, BlocksThatDoNotDecode) {
    // Tiles are then copied raw (up to the image's end), linear tiles and layers dropped.
    const std::uint32_t rawAt = kData + 0x8000;  // raw size 0: does not decode
    auto raw = Filler(0x400, 9);
    raw[1] = raw[2] = 0;
    image.PutBytes(rawAt, raw);
    image.PutLzBlock(kData, Filler(128, 5));
    image.PutLayerBlock(kData + 0x1000, 256, 256, Filler(512, 1));
    const std::uint32_t nearEnd = image.Size() - 0x100;
    image.Put16(nearEnd + 1, 0);
    auto script = Script();
    script.Tiles(0x7F, 0, nearEnd, 0).Tiles(2, 0, rawAt, 0x08);
    script.Tiles(0, 255, kData, 0).Tiles(0, 255, rawAt, 0);
    script.Layer(1, kData + 0x1000).Layer(1, kData + 0x800).End();
    EXPECT_EQ(Load(kMapId).status, MapLoadStatus::Loaded);
    EXPECT_TRUE(std::equal(raw.begin(), raw.end(), renderer->tileData.begin()));
    EXPECT_EQ(renderer->tileDataSize, 0u);
    EXPECT_TRUE(renderer->linearTiles.empty());
    EXPECT_EQ(renderer->tileSetType, 255u);
    EXPECT_TRUE(renderer->layerMap[0].empty());
    EXPECT_EQ(renderer->layerSource[0], kData + 0x802);
    EXPECT_TRUE(renderer->layerImages.empty());

    Script().Tiles(0, 255, kData, 0).End();
    Load(kMapId);
    EXPECT_EQ(renderer->linearTiles, Filler(128, 5));
    EXPECT_EQ(renderer->tileSource, 0u);
}

TEST_F(MapLoad, MapsWithExtraDataTakeFixedBlocks) {
    const auto metatiles = Filler(0x200, 11);
    const auto tiles = SyntheticImage::PlanarTiles(Tiles(16, SyntheticImage::SolidTile(2)));
    image.PutLzBlock(0x2FC000, metatiles);
    image.PutLzBlock(0x235DD5, tiles);
    image.PutPalette(0x33E489, Colors(15 * 16, MarkColor));
    for (std::uint32_t id = 0x40; id <= 0x45; ++id) {
        image.SetMapHeader(id, kScript);
    }
    Script().End();

    Load(0x41);
    EXPECT_EQ(renderer->metatileTableSizes[0], 0u);
    EXPECT_TRUE(std::equal(tiles.begin(), tiles.end(), renderer->tileData.begin()));
    EXPECT_EQ(renderer->argbPalette[3], DefaultArgb(3));  // row 0 from the default palette
    EXPECT_EQ(renderer->argbPalette[16 + 1], MarkArgb(1));
    EXPECT_EQ(renderer->argbPalette[15 * 16 + 3], MarkArgb(14 * 16 + 3));
    for (const std::uint32_t id : {0x40u, 0x42u, 0x44u, 0x45u}) {
        Load(id);
        const bool extra = id == 0x42 || id == 0x44;
        EXPECT_EQ(renderer->metatileTableSizes[0], extra ? 0x200u : 0u) << id;
        EXPECT_EQ(renderer->metatileTables[0][0x1FF], extra ? metatiles[0x1FF] : 0) << id;
    }
}

TEST_F(MapLoad, MapZeroReadsTheExtraTablesOfItsRelease) {
    const std::vector<Metatile> table{{}, {0x0401, 0x0401, 0x0001, 0x0001}};
    const auto map = SyntheticImage::LayerMap(32, 16, [](auto x, auto) { return x == 1; });
    image.PutMapZero(SyntheticImage::PlanarTiles(SolidTiles(16, 5)),
                     SyntheticImage::MetatileTable(table), map, Colors(256, MarkColor));
    std::filesystem::remove("map_0000.bmp");
    EXPECT_EQ(Load(0).status, MapLoadStatus::Loaded);
    EXPECT_EQ(renderer->layerMap[0], map);
    EXPECT_EQ(width0, 0x40u);
    EXPECT_EQ(renderer->layerImages[0].height, 256u);
    // Row 0 comes from the default palette, row 1 from the 256 colours.
    EXPECT_EQ(Pixel(0, 16, 0), MarkArgb(16 + 5));
    EXPECT_EQ(Pixel(0, 16, 8), DefaultArgb(5));
    EXPECT_FALSE(std::filesystem::exists("map_0000.bmp"));
    // A tile placed on it, as the page does with the layer's width, shows in its cell.
    renderer->SetTileEntry(2, 0, 1, renderer->layerWidth[0], 0);
    EXPECT_EQ(Pixel(0, 32, 0), MarkArgb(16 + 5));

    // Releases other than this one have no map-0 tables.
    LoadScene uk(SyntheticImage::k4MB, Region::UK);
    const MapLoadResult result = uk.Load(0);
    EXPECT_EQ(result.status, MapLoadStatus::NoData);
    EXPECT_FALSE(result.message.empty());
    EXPECT_TRUE(uk.renderer->tileData.empty());
}

TEST_F(MapLoad, WorldMapsLoadFromTheirTables) {
    // Metatile t shows tiles t and t + 1 above tiles 7 and 9; tile n is solid in colour n.
    std::vector<std::array<std::uint8_t, 4>> metatiles(256);
    std::vector<std::uint8_t> small(0x1000), large(0x10000);
    for (std::size_t i = 0; i < small.size(); ++i) {
        const auto t = static_cast<std::uint8_t>(i);
        metatiles[t] = {t, static_cast<std::uint8_t>(t + 1), 7, 9};
        small[i] = t;
    }
    large[0] = 1;
    large[0x8000] = 2;
    const auto tiles = SyntheticImage::LinearTiles(SolidTiles(256));
    const auto table = SyntheticImage::WorldMetatileTable(metatiles);
    image.PutWorldMap(false, small, tiles, table, Colors(256, MarkColor));
    image.PutWorldMap(true, large, tiles, table, Colors(256, MarkColor));

    EXPECT_EQ(Load(35).status, MapLoadStatus::Loaded);
    EXPECT_EQ(width0, 0x80u);
    EXPECT_TRUE(std::equal(small.begin(), small.end(), renderer->layerMap[0].begin()));
    EXPECT_EQ(Pixel(0, 48, 0), MarkArgb(3));
    EXPECT_EQ(Pixel(0, 56, 0), MarkArgb(4));
    EXPECT_EQ(Pixel(0, 63, 15), MarkArgb(9));
    EXPECT_TRUE(std::filesystem::exists("map_0023.bmp"));

    // The large map joins its two tile-map blocks: byte 0x8000 is cell 0 of row 128.
    EXPECT_EQ(Load(5).status, MapLoadStatus::Loaded);
    EXPECT_EQ(width0, 0x200u);
    EXPECT_EQ(Pixel(0, 0, 0), MarkArgb(1));
    EXPECT_EQ(Pixel(0, 0, 128 * 16), MarkArgb(2));
    EXPECT_EQ(Pixel(0, 16, 0), SnesColorToArgb(MarkColor(0), 0) | 0xFF000000u);
}

TEST_F(MapLoad, WorldMapsThatDoNotDecodeOrAreMissingLoadNothing) {
    // The metatiles, then the tiles, do not decode (a raw size of 0).
    for (const RegionTable broken :
         {RegionTable::SmallWorldMapMetatileTable, RegionTable::SmallWorldMapTilesTable}) {
        image.PutWorldMap(false, std::vector<std::uint8_t>(0x1000, 0), Filler(64, 1), Filler(4, 0),
                          Colors(256, MarkColor));
        image.Put16(image.Table(broken) + 1, 0);
        const bool tilesDecode = broken == RegionTable::SmallWorldMapMetatileTable;
        const MapLoadResult result = Load(3);
        EXPECT_EQ(result.status, MapLoadStatus::DecompressionError);
        EXPECT_EQ(result.message,
                  "Unrecoverable decompression error.\nSave your work and restart the editor!");
        EXPECT_EQ(renderer->metatileTableSizes[0], tilesDecode ? 0u : 4u);
        EXPECT_EQ(renderer->linearTiles.size(), tilesDecode ? 64u : 0u);
        EXPECT_EQ(renderer->argbPalette[1], MarkArgb(1));
        EXPECT_TRUE(renderer->layerImages.empty());
        EXPECT_EQ(width0, 0u);
    }

    // Release F has no metatile table for either world map; release M's 1 MB image holds
    // neither tile map.
    for (const auto& [size, region] : {std::pair{SyntheticImage::k4MB, Region::ReleaseF},
                                       std::pair{SyntheticImage::k1MB, Region::ReleaseM}}) {
        LoadScene scene(size, region);
        for (std::uint32_t id : {2u, 3u}) {
            const MapLoadResult missing = scene.Load(id);
            EXPECT_EQ(missing.status, MapLoadStatus::NoData) << id;
            EXPECT_FALSE(missing.message.empty());
            EXPECT_TRUE(scene.renderer->layerMap[0].empty());
        }
    }
}
