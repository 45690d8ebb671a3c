#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "maps/HeaderScriptRunner.h"
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

namespace {

constexpr std::uint32_t kMapId = 0x10;
constexpr std::uint32_t kScript = 0x0A8000;
constexpr std::uint32_t kMarkColors = 0x0B8000;  // 16 colours that mark a palette row as run
constexpr std::uint32_t kData = 0x0B9000;        // data blocks of the tests
constexpr std::uint32_t kUnloaded = kResetArgbColor;

std::uint32_t PiecePosition(std::uint32_t piece) {
    return 0x0A9000 + 0x100 * piece;
}

std::uint16_t MarkColor(std::uint32_t k) {
    return SyntheticImage::SnesColor(k + 1, 2, 3);
}
std::uint16_t DefaultColor(std::uint32_t k) {
    return SyntheticImage::SnesColor(0, k, 0);
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
    }

    MapLoadResult Load(std::uint32_t mapId, bool skipFlagGotos = false) {
        SyncProject();
        renderer->Reset();
        width0 = 0xEEEE;
        width1 = 0xEEEE;
        return renderer->Load(mapId, width0, width1, skipFlagGotos);
    }

    HeaderScriptWriter Script(std::uint32_t start = kScript) { return {image, start}; }
    HeaderScriptWriter Piece(std::uint32_t piece) { return {image, PiecePosition(piece)}; }

    // Whether the palette row that a Mark(row) command loads was loaded.
    bool Marked(std::uint32_t row) const {
        return renderer->argbPalette[row * 16 + 1] == SnesColorToArgb(MarkColor(1));
    }

    std::uint32_t width0 = 0;
    std::uint32_t width1 = 0;
};

// Loads the marking colours into one palette row: a trail of which script parts ran.
HeaderScriptWriter& Mark(HeaderScriptWriter& script, std::uint8_t row) {
    return script.Palette(16, static_cast<std::uint8_t>(row * 16), kMarkColors);
}

class MapLoad : public ::testing::Test, public LoadScene {};

using Metatile = std::array<std::uint16_t, 4>;

}  // namespace

TEST_F(MapLoad, HeaderScriptFillsEveryBufferAndRendersBothLayers) {
    // Tiles 0 to 15, tile n solid in colour n.
    std::vector<SyntheticImage::TilePixels> tiles;
    for (std::uint8_t n = 0; n < 16; ++n) {
        tiles.push_back(SyntheticImage::SolidTile(n));
    }
    const auto planar = SyntheticImage::PlanarTiles(tiles);
    const Metatile quad{SyntheticImage::TileEntry(1, 1), SyntheticImage::TileEntry(2, 1),
                        SyntheticImage::TileEntry(3), SyntheticImage::TileEntry(4)};
    const Metatile other{SyntheticImage::TileEntry(5), SyntheticImage::TileEntry(5),
                         SyntheticImage::TileEntry(6), SyntheticImage::TileEntry(6)};
    const std::vector<Metatile> table0{{}, quad, {}, {}, {}, {}, {}, {}};
    const std::vector<Metatile> table1{{}, other, {}, {}, {}, {}, {}, {}};
    const auto metatiles0 = SyntheticImage::MetatileTable(table0);
    const auto metatiles1 = SyntheticImage::MetatileTable(table1);
    const auto collisionBytes = Filler(64, 0x21);
    const auto map0 =
        SyntheticImage::LayerMap(16, 16, [](auto x, auto y) { return x == 0 && y == 0; });
    const auto map1 =
        SyntheticImage::LayerMap(32, 16, [](auto x, auto) { return x == 31 ? 1 : 0; });

    const std::uint32_t tilesAt = kData;
    const std::uint32_t meta0At = kData + 0x1000;
    const std::uint32_t meta1At = kData + 0x1400;
    const std::uint32_t collisionAt = kData + 0x1800;
    const std::uint32_t layer0At = kData + 0x2000;
    const std::uint32_t layer1At = kData + 0x3000;
    image.PutLzBlock(tilesAt, planar);
    image.PutLzBlock(meta0At, metatiles0);
    image.PutLzBlock(meta1At, metatiles1);
    image.PutLzBlock(collisionAt, collisionBytes);
    image.PutLayerBlock(layer0At, 256, 256, map0);
    image.PutLayerBlock(layer1At, 512, 256, map1);

    auto script = Script();
    script.Tiles(1, 0, tilesAt, 0x00)
        .Metatiles(0, 1, 0, 0x00, meta0At)
        .Metatiles(0, 1, 0, 0x02, meta1At)
        .Metatiles(0, 1, 1, 0x80, collisionAt);
    Mark(script, 1).Music(7);
    const std::uint32_t layer0Pointer = script.Position() + 2;
    script.Layer(1, layer0At);
    const std::uint32_t layer1Pointer = script.Position() + 2;
    script.Layer(2, layer1At).End();

    const MapLoadResult result = Load(kMapId);
    const MapRenderer& map = *renderer;
    EXPECT_EQ(result.status, MapLoadStatus::Loaded);
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(map.depth, 0);

    EXPECT_EQ(map.layerMap[0], map0);
    EXPECT_EQ(map.layerMap[1], map1);
    EXPECT_EQ(map.layerSource[0], layer0At + 2);
    EXPECT_EQ(map.layerSource[1], layer1At + 2);
    EXPECT_EQ(map.layerPointerPos[0], layer0Pointer);
    EXPECT_EQ(map.layerPointerPos[1], layer1Pointer);
    EXPECT_EQ(map.layerWidth[0], 256u);
    EXPECT_EQ(map.layerWidth[1], 512u);
    EXPECT_EQ(map.layerHeight[1], 256u);
    EXPECT_EQ(width0, 32u);
    EXPECT_EQ(width1, 64u);

    ASSERT_EQ(map.tileData.size(), kTileDataBytes);
    EXPECT_TRUE(std::equal(planar.begin(), planar.end(), map.tileData.begin()));
    EXPECT_EQ(map.tileDataSize, 512u);
    EXPECT_EQ(map.tileSource, tilesAt);
    EXPECT_TRUE(std::equal(metatiles0.begin(), metatiles0.end(), map.metatileTables[0].begin()));
    EXPECT_TRUE(std::equal(metatiles1.begin(), metatiles1.end(), map.metatileTables[1].begin()));
    EXPECT_EQ(map.metatileTableSizes[0], 64u);
    EXPECT_EQ(map.metatileTableSizes[1], 64u);
    EXPECT_EQ(map.metatileSource, meta0At);
    ASSERT_EQ(map.collision.size(), 512u);
    EXPECT_TRUE(
        std::equal(collisionBytes.begin(), collisionBytes.end(), map.collision.begin() + 64));
    EXPECT_EQ(map.collisionSize, 64u);
    EXPECT_EQ(map.collisionSource, collisionAt);
    EXPECT_EQ(map.paletteSource, kMarkColors);
    EXPECT_EQ(map.argbPalette[1], SnesColorToArgb(DefaultColor(1)));
    EXPECT_EQ(map.argbPalette[16], SnesColorToArgb(MarkColor(0), 0));
    EXPECT_EQ(map.argbPalette[17], SnesColorToArgb(MarkColor(1)));
    EXPECT_EQ(map.mapMusicTrack, 7u);
    EXPECT_EQ(map.mapMusicTrackPos, 0u);

    // Layer 0: metatile 1 at the top-left cell, with tiles 1 and 2 in palette row 1 above
    // tiles 3 and 4 in row 0; layer 1 uses table 1, whose metatile 1 shows tiles 5 and 6.
    ASSERT_EQ(map.layerImages.size(), 2u);
    EXPECT_EQ(map.layerImages[0].width, 256u);
    EXPECT_EQ(map.layerImages[1].width, 512u);
    EXPECT_EQ(Pixel(0, 0, 0), SnesColorToArgb(MarkColor(1)));
    EXPECT_EQ(Pixel(0, 8, 7), SnesColorToArgb(MarkColor(2)));
    EXPECT_EQ(Pixel(0, 7, 8), SnesColorToArgb(DefaultColor(3)));
    EXPECT_EQ(Pixel(0, 15, 15), SnesColorToArgb(DefaultColor(4)));
    EXPECT_EQ(Pixel(1, 31 * 16, 0), SnesColorToArgb(DefaultColor(5)));
    EXPECT_EQ(Pixel(1, 31 * 16 + 15, 15), SnesColorToArgb(DefaultColor(6)));

    EXPECT_EQ(FileSize("col.bin"), std::optional<std::uintmax_t>(64));
    const auto bitmap = ReadWholeFile("map_0010.bmp");
    ASSERT_TRUE(bitmap.has_value());
    EXPECT_EQ(bitmap->size(), 54u + 4u * 256 * 256);
}

TEST_F(MapLoad, MapWithoutHeaderChangesNothingAndEmptyScriptRendersNothing) {
    image.SetMapHeader(kMapId, 2);
    SyncProject();
    renderer->cursor = 0x1234;
    std::uint32_t w0 = 5;
    std::uint32_t w1 = 6;
    EXPECT_EQ(renderer->Load(kMapId, w0, w1, false).status, MapLoadStatus::NoMap);
    EXPECT_EQ(renderer->cursor, 0x1234u);
    EXPECT_TRUE(renderer->tileData.empty());
    // The width results never keep what the caller had in them.
    EXPECT_EQ(w0, 0u);
    EXPECT_EQ(w1, 0u);

    image.SetMapHeader(kMapId, kScript);
    Script().End();
    std::filesystem::remove("map_0010.bmp");
    EXPECT_EQ(Load(kMapId).status, MapLoadStatus::Loaded);
    EXPECT_EQ(renderer->tileData.size(), kTileDataBytes);
    EXPECT_EQ(renderer->metatileTables[3].size(), kMetatileTableBytes);
    EXPECT_EQ(renderer->collision.size(), 512u);
    EXPECT_TRUE(renderer->layerImages.empty());
    EXPECT_EQ(width0, 0u);
    EXPECT_FALSE(std::filesystem::exists("map_0010.bmp"));
}

TEST_F(MapLoad, CallsReturnToEachCallerAndDeferredPiecesRunLastFirst) {
    auto main = Script();
    main.Defer(4).Defer(5).Call(1);
    Mark(main, 3).End();
    auto middle = Piece(1);
    middle.Call(0x8002);  // only the call masks off bit 15 of the piece number
    Mark(middle, 2).End();
    auto inner = Piece(2);
    Mark(inner, 1).End();
    auto first = Piece(4);
    Mark(first, 4).Music(4).End();
    auto second = Piece(5);
    Mark(second, 5).Music(5).End();

    Load(kMapId);
    for (std::uint8_t row = 1; row <= 5; ++row) {
        EXPECT_TRUE(Marked(row)) << int{row};
    }
    // Piece 4, deferred first, ran last.
    EXPECT_EQ(renderer->mapMusicTrack, 4u);
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
    auto third = Piece(3);
    Mark(third, 3).End();
    auto fourth = Piece(4);
    Mark(fourth, 8).End();

    Load(kMapId);
    for (std::uint8_t row : {1, 2, 3}) {
        EXPECT_TRUE(Marked(row)) << int{row};
    }
    for (std::uint8_t row : {5, 6, 7, 8}) {
        EXPECT_FALSE(Marked(row)) << int{row};
    }
}

TEST_F(MapLoad, FlagGotoIsSkippedOnlyWhenAsked) {
    auto main = Script();
    main.FlagGoto(0x8123, 1);
    Mark(main, 1).End();
    auto piece = Piece(1);
    Mark(piece, 2).End();

    Load(kMapId, true);
    EXPECT_TRUE(Marked(1));
    EXPECT_FALSE(Marked(2));
    Load(kMapId, false);
    EXPECT_FALSE(Marked(1));
    EXPECT_TRUE(Marked(2));
}

TEST_F(MapLoad, CommandsWithoutEffectConsumeTheirOperands) {
    const std::uint8_t unknown[] = {0x33, 0x10, 0x03};  // unknown opcode; layer 3: two bytes
    auto script = Script();
    script.Ignored01()
        .Unused04(0x0B8000)
        .Layer(0, 0x0B8000)
        .Bytes(unknown)
        .Return()  // with nothing to return to it goes on
        .Flow(0xFB)
        .Flow(0x42)
        .Music(9);
    const std::uint32_t trackOperand = script.Position() + 2;
    script.MusicTrack(0x0123);
    Mark(script, 1).End();

    Load(kMapId);
    EXPECT_TRUE(Marked(1));
    EXPECT_EQ(renderer->mapMusicTrack, 0x123u);
    EXPECT_EQ(renderer->mapMusicTrackPos, trackOperand);
    EXPECT_TRUE(renderer->layerMap[0].empty());
}

TEST_F(MapLoad, CallStackHoldsNineReturnsAndRefusesTheTenth) {
    // Nine nested calls return all the way out.
    auto main = Script();
    main.Call(1);
    Mark(main, 1).End();
    for (std::uint16_t piece = 1; piece <= 9; ++piece) {
        auto writer = Piece(piece);
        if (piece < 9) {
            writer.Call(piece + 1);
        }
        writer.End();
    }
    Load(kMapId);
    EXPECT_TRUE(Marked(1));

    // A tenth call ends the walk.
    Piece(9).Call(10).End();
    Piece(10).End();
    std::string trace;
    trace = CaptureTrace([&] { Load(kMapId); });
    EXPECT_FALSE(Marked(1));
    EXPECT_NE(trace.find("stack full"), std::string::npos);
}

TEST_F(MapLoad, DeferredStackRefusesTheTenthPiece) {
    auto main = Script();
    for (int i = 0; i < 10; ++i) {
        main.Defer(1);
    }
    Mark(main, 2).End();
    auto piece = Piece(1);
    Mark(piece, 1).End();

    SyncProject();
    renderer->cursor = kScript;
    HeaderScriptRunner runner(*renderer, false);
    EXPECT_FALSE(runner.Run());
    EXPECT_EQ(runner.DeferredStack().Size(), HeaderScriptStack::kCapacity);
    EXPECT_FALSE(Marked(1));
    EXPECT_FALSE(Marked(2));
}

TEST_F(MapLoad, LoopingScriptsAreStopped) {
    // A goto to itself, and a call whose piece jumps back to the call.
    Script().FlagGoto(0, 1).End();
    Piece(1).FlagGoto(0, 1).End();
    const std::string trace = CaptureTrace([&] { Load(kMapId); });
    EXPECT_NE(trace.find("stopped after 4096 commands"), std::string::npos);

    // The call returns each time, so the stack never fills.
    Piece(1).Call(2).GotoUnlessCalled(1).End();
    Piece(2).Return();
    SyncProject();
    renderer->cursor = kScript;
    EXPECT_FALSE(HeaderScriptRunner(*renderer, false).Run());
}

TEST_F(MapLoad, MetatileCommandChoosesTableOrCollisionByItsLastOperand) {
    const auto block = Filler(256, 1);
    image.PutLzBlock(kData, block);
    Script()
        .Metatiles(0x81, 1, 2, 0x03, kData)  // table 0: block bytes 64.. at 128 (a loses bit 7)
        .Metatiles(0, 2, 0, 0x02, kData)     // table 1: two rows at 0
        .Metatiles(2, 1, 0, 0x04, kData)     // names no table: nothing
        .Metatiles(0, 1, 7, 0x82, kData)     // collision, bit 7 wins: 64 bytes at 448
        .Metatiles(0, 2, 7, 0x80, kData)     // the second row would pass the table's end
        .End();

    Load(kMapId);
    const MapRenderer& map = *renderer;
    EXPECT_TRUE(
        std::equal(block.begin() + 64, block.begin() + 128, map.metatileTables[0].begin() + 128));
    EXPECT_EQ(map.metatileTables[0][0], 0);
    EXPECT_EQ(map.metatileTableSizes[0], 64u);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 128, map.metatileTables[1].begin()));
    EXPECT_EQ(map.metatileTableSizes[1], 128u);
    EXPECT_EQ(map.metatileTables[2][0], 0);
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 64, map.collision.begin() + 448));
    // Two blocks of 256 bytes counted, at most the table.
    EXPECT_EQ(map.collisionSize, 512u);
    EXPECT_EQ(map.collision.size(), 512u);
    EXPECT_EQ(map.collisionSource, kData);
    EXPECT_EQ(map.metatileSource, kData);
}

TEST_F(MapLoad, PaletteCommandLoadsDefaultRowThenItsRows) {
    image.PutPalette(kData, Colors(48, MarkColor));
    auto script = Script();
    script.Palette(0, 0x30, kMarkColors).End();
    Load(kMapId);
    EXPECT_EQ(renderer->argbPalette[1], SnesColorToArgb(DefaultColor(1)));
    EXPECT_EQ(renderer->argbPalette[3 * 16 + 1], kUnloaded);
    EXPECT_EQ(renderer->paletteSource, kMarkColors);

    // 48 colours from index 0xE0: rows 14 and 15 load, the row above 15 is dropped.
    Script().Palette(48, 0xE0, kData).Palette(32, 0x10, kData).End();
    Load(kMapId);
    EXPECT_EQ(renderer->argbPalette[14 * 16 + 1], SnesColorToArgb(MarkColor(1)));
    EXPECT_EQ(renderer->argbPalette[15 * 16 + 1], SnesColorToArgb(MarkColor(17)));
    EXPECT_EQ(renderer->argbPalette[2 * 16 + 2], SnesColorToArgb(MarkColor(18)));
    EXPECT_EQ(renderer->paletteSource, kData);
}

TEST_F(MapLoad, TileCommandPlacesGraphicsBySlot) {
    const auto tiles = Filler(1024, 3);
    image.PutLzBlock(kData, tiles);
    Script()
        .Tiles(1, 0, kData, 0x60)  // slot 0
        .Tiles(2, 1, kData, 0x38)  // slot 0x38: offset 0x7000; layer 0 offset 0x300
        .Tiles(1, 2, kData, 0x40)  // slot 0x20; layer 1 offset (0x40 & 0x30) << 4 = 0
        .End();
    Load(kMapId);
    const MapRenderer& map = *renderer;
    EXPECT_TRUE(std::equal(tiles.begin(), tiles.begin() + 512, map.tileData.begin()));
    EXPECT_TRUE(std::equal(tiles.begin(), tiles.end(), map.tileData.begin() + 0x7000));
    EXPECT_TRUE(std::equal(tiles.begin(), tiles.begin() + 512, map.tileData.begin() + 0x4000));
    EXPECT_EQ(map.tileDataSize, 0x7400u);
    EXPECT_EQ(map.tileNumberOffset[0], 0x300u);
    EXPECT_EQ(map.tileNumberOffset[1], 0u);
    EXPECT_EQ(map.tileSetType, 2u);
    EXPECT_EQ(map.tileSource, kData);
}

TEST_F(MapLoad, TileBlocksThatDoNotDecodeAreCopiedRawButLinearTilesAreDropped) {
    const std::uint32_t rawAt = kData + 0x8000;  // raw size 0: does not decode
    const auto raw = Filler(0x400, 9);
    image.PutBytes(rawAt, raw);
    image.Put16(rawAt + 1, 0);
    const auto linear = Filler(128, 5);
    image.PutLzBlock(kData, linear);
    Script().Tiles(2, 0, rawAt, 0x08).Tiles(0, 255, kData, 0).Tiles(0, 255, rawAt, 0).End();
    Load(kMapId);
    std::vector<std::uint8_t> expected = raw;
    expected[1] = expected[2] = 0;
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), renderer->tileData.begin()));
    EXPECT_EQ(renderer->tileDataSize, 0u);
    EXPECT_TRUE(renderer->linearTiles.empty());
    EXPECT_EQ(renderer->tileSetType, 255u);

    Script().Tiles(0, 255, kData, 0).End();
    Load(kMapId);
    EXPECT_EQ(renderer->linearTiles, linear);
    EXPECT_EQ(renderer->tileSource, 0u);

    // A raw copy at the image's end takes only what the image holds.
    const std::uint32_t nearEnd = image.Size() - 0x100;
    image.Put16(nearEnd + 1, 0);
    Script().Tiles(0x7F, 0, nearEnd, 0).End();
    EXPECT_EQ(Load(kMapId).status, MapLoadStatus::Loaded);
}

TEST_F(MapLoad, LayerThatDoesNotDecodeLeavesNoMap) {
    const auto map = SyntheticImage::LayerMap(16, 16, [](auto, auto) { return 1; });
    image.PutLayerBlock(kData, 256, 256, map);
    auto script = Script();
    const std::uint32_t firstPointer = script.Position() + 2;
    script.Layer(1, kData).Layer(1, kData + 0x800).End();
    Load(kMapId);
    EXPECT_TRUE(renderer->layerMap[0].empty());
    EXPECT_EQ(renderer->layerSource[0], kData + 0x802);
    EXPECT_EQ(renderer->layerPointerPos[0], firstPointer);
    EXPECT_TRUE(renderer->layerImages.empty());
}

TEST_F(MapLoad, MapsWithExtraDataTakeFixedBlocks) {
    const auto metatiles = Filler(0x200, 11);
    const auto tiles = SyntheticImage::PlanarTiles(
        std::vector<SyntheticImage::TilePixels>(16, SyntheticImage::SolidTile(2)));
    image.PutLzBlock(0x2FC000, metatiles);
    image.PutLzBlock(0x235DD5, tiles);
    image.PutPalette(0x33E489, Colors(15 * 16, MarkColor));
    for (std::uint32_t id : {0x41u, 0x42u}) {
        image.SetMapHeader(id, kScript);
    }
    Script().End();

    Load(0x41);
    EXPECT_EQ(renderer->metatileTableSizes[0], 0u);
    EXPECT_EQ(renderer->tileDataSize, 512u);
    EXPECT_TRUE(std::equal(tiles.begin(), tiles.end(), renderer->tileData.begin()));
    EXPECT_EQ(renderer->argbPalette[1], SnesColorToArgb(DefaultColor(1)));
    EXPECT_EQ(renderer->argbPalette[16 + 1], SnesColorToArgb(MarkColor(1)));
    EXPECT_EQ(renderer->argbPalette[15 * 16 + 3], SnesColorToArgb(MarkColor(14 * 16 + 3)));

    Load(0x42);
    EXPECT_EQ(renderer->metatileTableSizes[0], 0x200u);
    EXPECT_TRUE(
        std::equal(metatiles.begin(), metatiles.end(), renderer->metatileTables[0].begin()));
    EXPECT_EQ(renderer->tileDataSize, 512u);
}

TEST_F(MapLoad, MapZeroReadsTheExtraTables) {
    std::vector<SyntheticImage::TilePixels> sheet(16, SyntheticImage::SolidTile(0));
    sheet[1] = SyntheticImage::SolidTile(5);
    const auto tiles = SyntheticImage::PlanarTiles(sheet);
    const std::vector<Metatile> table{{}, {0x0401, 0x0401, 0x0001, 0x0001}};
    const auto map = SyntheticImage::LayerMap(32, 16, [](auto x, auto) { return x == 1; });
    auto palette = Colors(256, MarkColor);
    image.PutMapZero(tiles, SyntheticImage::MetatileTable(table), map, palette);
    std::filesystem::remove("map_0000.bmp");

    EXPECT_EQ(Load(0).status, MapLoadStatus::Loaded);
    const MapRenderer& renderer0 = *renderer;
    EXPECT_EQ(renderer0.tileDataSize, 512u);
    EXPECT_EQ(renderer0.metatileTableSizes[0], 16u);
    EXPECT_EQ(renderer0.layerMap[0], map);
    EXPECT_EQ(renderer0.layerWidth[0], 0x200u);
    EXPECT_EQ(width0, 0x40u);
    EXPECT_EQ(width1, 0u);
    ASSERT_EQ(renderer0.layerImages.size(), 1u);
    EXPECT_EQ(renderer0.layerImages[0].height, 256u);
    // Row 0 comes from the default palette, row 1 from the 256 colours.
    EXPECT_EQ(renderer0.argbPalette[5], SnesColorToArgb(DefaultColor(5)));
    EXPECT_EQ(Pixel(0, 16, 0), SnesColorToArgb(MarkColor(16 + 5)));
    EXPECT_EQ(Pixel(0, 16, 8), SnesColorToArgb(DefaultColor(5)));
    EXPECT_FALSE(std::filesystem::exists("map_0000.bmp"));
    EXPECT_EQ(renderer0.depth, 0);

    // Releases other than this one have no map-0 tables.
    LoadScene uk(SyntheticImage::k4MB, Region::UK);
    const MapLoadResult result = uk.Load(0);
    EXPECT_EQ(result.status, MapLoadStatus::NoData);
    EXPECT_FALSE(result.message.empty());
    EXPECT_TRUE(uk.renderer->tileData.empty());
}

TEST_F(MapLoad, SmallWorldMapIsTheSameForBothIds) {
    std::vector<SyntheticImage::TilePixels> tiles(256);
    for (std::size_t n = 0; n < 256; ++n) {
        tiles[n] = SyntheticImage::SolidTile(static_cast<std::uint8_t>(n));
    }
    std::vector<std::array<std::uint8_t, 4>> metatiles(256);
    for (std::size_t m = 0; m < 256; ++m) {
        const auto t = static_cast<std::uint8_t>(m);
        metatiles[m] = {t, static_cast<std::uint8_t>(t + 1), 7, 9};
    }
    std::vector<std::uint8_t> tileMap(0x1000);
    for (std::size_t i = 0; i < tileMap.size(); ++i) {
        tileMap[i] = static_cast<std::uint8_t>(i);
    }
    const auto palette = Colors(256, MarkColor);
    image.PutWorldMap(false, tileMap, SyntheticImage::LinearTiles(tiles),
                      SyntheticImage::WorldMetatileTable(metatiles), palette);

    std::vector<std::uint32_t> first;
    for (std::uint32_t id : {3u, 35u}) {
        EXPECT_EQ(Load(id).status, MapLoadStatus::Loaded);
        EXPECT_EQ(width0, 0x80u);
        EXPECT_EQ(width1, 0u);
        EXPECT_EQ(renderer->tileSetType, 255u);
        EXPECT_EQ(renderer->layerMap[0].size(), 0x2000u);
        EXPECT_TRUE(std::equal(tileMap.begin(), tileMap.end(), renderer->layerMap[0].begin()));
        ASSERT_EQ(renderer->layerImages.size(), 1u);
        EXPECT_EQ(renderer->layerImages[0].width, 1024u);
        // Cell 3 of the first row: metatile 3, tiles 3 and 4 above 7 and 9.
        EXPECT_EQ(Pixel(0, 48, 0), SnesColorToArgb(MarkColor(3)));
        EXPECT_EQ(Pixel(0, 56, 0), SnesColorToArgb(MarkColor(4)));
        EXPECT_EQ(Pixel(0, 63, 15), SnesColorToArgb(MarkColor(9)));
        if (first.empty()) {
            first = renderer->layerImages[0].pixels;
        } else {
            EXPECT_EQ(renderer->layerImages[0].pixels, first);
        }
    }
    EXPECT_TRUE(std::filesystem::exists("map_0023.bmp"));
}

TEST_F(MapLoad, LargeWorldMapJoinsItsTwoTileMapBlocks) {
    std::vector<std::uint8_t> tileMap(0x10000);
    tileMap[0] = 1;
    tileMap[0x8000] = 2;
    const std::vector<std::array<std::uint8_t, 4>> metatiles{
        {0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 2, 2}};
    const std::vector<SyntheticImage::TilePixels> tiles{
        SyntheticImage::SolidTile(0), SyntheticImage::SolidTile(10), SyntheticImage::SolidTile(20)};
    image.PutWorldMap(true, tileMap, SyntheticImage::LinearTiles(tiles),
                      SyntheticImage::WorldMetatileTable(metatiles), Colors(256, MarkColor));
    EXPECT_EQ(Load(5).status, MapLoadStatus::Loaded);
    EXPECT_EQ(width0, 0x200u);
    ASSERT_EQ(renderer->layerMap[0].size(), 0x20000u);
    EXPECT_EQ(renderer->layerMap[0][0x8000], 2);
    EXPECT_EQ(renderer->layerImages[0].width, 4096u);
    // Byte 0x8000 is cell 0 of row 0x8000 / 256 = 128.
    EXPECT_EQ(Pixel(0, 0, 0), SnesColorToArgb(MarkColor(10)));
    EXPECT_EQ(Pixel(0, 0, 128 * 16), SnesColorToArgb(MarkColor(20)));
    EXPECT_EQ(Pixel(0, 16, 0), SnesColorToArgb(MarkColor(0), 0) | 0xFF000000u);
}

TEST_F(MapLoad, WorldMapThatDoesNotDecodeSaysSo) {
    image.PutWorldMap(false, std::vector<std::uint8_t>(0x1000, 0), Filler(64, 1), Filler(4, 0),
                      Colors(256, MarkColor));
    image.Put16(image.Table(RegionTable::SmallWorldMapMetatileTable) + 1, 0);
    const MapLoadResult result = Load(3);
    EXPECT_EQ(result.status, MapLoadStatus::DecompressionError);
    EXPECT_EQ(result.message,
              "Unrecoverable decompression error.\nSave your work and restart the editor!");
    EXPECT_TRUE(renderer->metatileTables[0].empty());
    EXPECT_EQ(renderer->metatileTableSizes[0], 0u);
    EXPECT_EQ(renderer->linearTiles.size(), 64u);
    EXPECT_EQ(renderer->argbPalette[1], SnesColorToArgb(MarkColor(1)));
    EXPECT_TRUE(renderer->layerImages.empty());
    EXPECT_EQ(width0, 0u);
}

TEST(MapLoadRegions, WorldMapsMissingFromAReleaseLoadNothing) {
    // Release F has no metatile table for either world map; release M's 1 MB image holds
    // neither tile map.
    for (const auto& [size, region] : {std::pair{SyntheticImage::k4MB, Region::ReleaseF},
                                       std::pair{SyntheticImage::k1MB, Region::ReleaseM}}) {
        LoadScene scene(size, region);
        for (std::uint32_t id : {2u, 3u}) {
            const MapLoadResult result = scene.Load(id);
            EXPECT_EQ(result.status, MapLoadStatus::NoData) << id;
            EXPECT_FALSE(result.message.empty());
            EXPECT_TRUE(scene.renderer->layerMap[0].empty());
        }
    }
}

TEST_F(MapLoad, BlankTemplateLoadsFixedBlocksAndRendersBothLayers) {
    const auto tiles = SyntheticImage::PlanarTiles(
        std::vector<SyntheticImage::TilePixels>(16, SyntheticImage::SolidTile(4)));
    const auto metatiles = SyntheticImage::MetatileTable(std::vector<Metatile>{{0x0800, 0, 0, 0}});
    const auto collision = Filler(0x300, 1);
    image.PutBlankMapTemplate(tiles, metatiles, collision, Colors(6 * 16, MarkColor),
                              Colors(32, DefaultColor));
    SyncProject();
    renderer->Reset();
    std::filesystem::remove("map_0010.bmp");
    renderer->CreateBlank();

    const MapRenderer& map = *renderer;
    for (std::uint32_t layer = 0; layer < 2; ++layer) {
        EXPECT_EQ(map.layerMap[layer].size(), 0x2800u);
        EXPECT_EQ(map.metatileTableSizes[layer], 8u);
        ASSERT_GT(map.layerImages.size(), layer);
        EXPECT_EQ(map.layerImages[layer].width, 1024u);
        EXPECT_EQ(map.layerImages[layer].height, 1024u);
    }
    EXPECT_TRUE(std::equal(metatiles.begin(), metatiles.end(), map.metatileTables[1].begin()));
    EXPECT_EQ(map.tileDataSize, 512u);
    EXPECT_EQ(map.collision.size(), 512u);
    EXPECT_EQ(map.collisionSize, 512u);
    EXPECT_TRUE(std::equal(collision.begin(), collision.begin() + 512, map.collision.begin()));
    EXPECT_EQ(map.paletteSource, 0x1A4077u);
    EXPECT_EQ(map.argbPalette[2 * 16 + 1], SnesColorToArgb(MarkColor(1)));
    EXPECT_EQ(map.argbPalette[7 * 16 + 1], SnesColorToArgb(MarkColor(5 * 16 + 1)));
    EXPECT_EQ(map.argbPalette[16 + 1], SnesColorToArgb(DefaultColor(17)));
    EXPECT_EQ(map.argbPalette[8 * 16 + 1], kUnloaded);
    // The top-left tile of every cell is tile 0 of palette row 2: solid colour 4.
    EXPECT_EQ(Pixel(0, 0, 0), SnesColorToArgb(MarkColor(4)));
    EXPECT_FALSE(std::filesystem::exists("map_0010.bmp"));
}
