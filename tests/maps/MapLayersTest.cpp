#include <gtest/gtest.h>

#include "platform/Files.h"
#include "project/ByteAccess.h"
#include "tests/maps/MapTestFixture.h"

using Entry = std::array<std::uint16_t, 4>;
using MapLayers = MapTest;

namespace {

std::vector<std::uint8_t> Entries(std::initializer_list<std::uint16_t> values) {
    std::vector<std::uint8_t> out;
    for (const std::uint16_t v : values) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    return out;
}

}  // namespace

TEST_F(MapLayers, TileEntriesDrawWithTheirPaletteRowAndFlips) {
    LoadTiles();
    // Four tiles of the pattern in a row: plain in row 2, mirrored in row 3, upside down in
    // row 4, both in row 7.
    const auto map =
        Entries({SyntheticImage::TileEntry(1, 2), SyntheticImage::TileEntry(1, 3, true),
                 SyntheticImage::TileEntry(1, 4, false, true),
                 SyntheticImage::TileEntry(1, 7, true, true)});
    renderer->BuildLayerImage(map, {}, 4, 1, 0, 0);
    ASSERT_EQ(renderer->layerImages[0].width, 32u);
    ASSERT_EQ(renderer->layerImages[0].height, 8u);
    for (std::uint32_t y = 0; y < 8; ++y) {
        for (std::uint32_t x = 0; x < 8; ++x) {
            const int px = static_cast<int>(x);
            const int py = static_cast<int>(y);
            ASSERT_EQ(Pixel(0, x, y), Opaque(32 + Pattern(px, py)));
            ASSERT_EQ(Pixel(0, 8 + x, y), Opaque(48 + Pattern(7 - px, py)));
            ASSERT_EQ(Pixel(0, 16 + x, y), Opaque(64 + Pattern(px, 7 - py)));
            ASSERT_EQ(Pixel(0, 24 + x, y), Opaque(112 + Pattern(7 - px, 7 - py)));
        }
    }
}

TEST_F(MapLayers, MetatileCellsExpandIntoFourTiles) {
    LoadTiles();
    const std::vector<Entry> metatiles = {
        {0, 0, 0, 0},
        {SyntheticImage::TileEntry(3), SyntheticImage::TileEntry(4, 1),
         SyntheticImage::TileEntry(1, 0, false, true), SyntheticImage::TileEntry(5, 2)}};
    auto table = SyntheticImage::MetatileTable(metatiles);
    table.resize(kMetatileTableBytes, 0);
    // Bits above the metatile number (here 0xFC00) do not choose another metatile.
    const auto map = Entries({0xFC01, 0x0000});
    renderer->BuildLayerImage(map, table, 4, 2, 0, 0);
    ASSERT_EQ(renderer->layerImages[0].width, 32u);
    ASSERT_EQ(renderer->layerImages[0].height, 16u);
    EXPECT_EQ(Pixel(0, 0, 0), Opaque(4));              // tile 3 is solid index 4
    EXPECT_EQ(Pixel(0, 15, 7), Opaque(16 + 5));        // tile 4, row 1
    EXPECT_EQ(Pixel(0, 2, 8), Opaque(Pattern(2, 7)));  // the pattern upside down
    EXPECT_EQ(Pixel(0, 9, 15), Opaque(32 + 6));        // tile 5, row 2
    EXPECT_EQ(Pixel(0, 16, 0), Opaque(0));             // metatile 0: blank tile, opaque layer

    // The expanded grid is dumped: four entries per row of tiles.
    const auto dump = ReadWholeFile("rMap.bin");
    ASSERT_TRUE(dump.has_value());
    ASSERT_EQ(dump->size(), 16u);
    EXPECT_EQ(GetU16(*dump, 0), SyntheticImage::TileEntry(3));
    EXPECT_EQ(GetU16(*dump, 2), SyntheticImage::TileEntry(4, 1));
    EXPECT_EQ(GetU16(*dump, 8), SyntheticImage::TileEntry(1, 0, false, true));
}

TEST_F(MapLayers, TheTileNumberOffsetCarriesIntoThePaletteRow) {
    LoadTiles(0x110);  // tile 0x100 is solid index (0x100 % 15) + 1 = 2
    // 0x200 + 0x300 = 0x500: tile 0x100 in palette row 1.
    renderer->BuildLayerImage(Entries({0x0200}), {}, 1, 1, 0, 0x300);
    EXPECT_EQ(Pixel(0, 0, 0), Opaque(16 + 2));
}

TEST_F(MapLayers, OnlyColourZeroOfTheUpperLayerIsTransparent) {
    LoadTiles();
    // Palette row 0 colour 0 and colour 3 are both black; only index 0 may be transparent.
    renderer->argbPalette[0] = 0x00000000;
    renderer->argbPalette[3] = 0xFF000000;
    const auto map = Entries({SyntheticImage::TileEntry(2)});
    for (const bool priority : {false, true}) {
        renderer->layer0Priority = priority;
        renderer->BuildLayerImage(map, {}, 1, 1, 0, 0);
        renderer->BuildLayerImage(map, {}, 1, 1, 1, 0);
        const std::uint32_t upper = priority ? 0 : 1;
        const std::uint32_t lower = 1 - upper;
        EXPECT_EQ(Pixel(upper, 0, 0), kTransparentPixel);
        EXPECT_EQ(Pixel(upper, 7, 0), 0xFF000000u);
        EXPECT_EQ(Pixel(lower, 0, 0), 0xFF000000u);  // colour 0, drawn opaque
        EXPECT_EQ(Pixel(lower, 7, 0), 0xFF000000u);
    }
}

TEST_F(MapLayers, TilesBeyondTheSheetDrawNothing) {
    LoadTiles(16);
    const auto map = Entries({SyntheticImage::TileEntry(0x3FF)});
    renderer->BuildLayerImage(map, {}, 1, 1, 0, 0);
    renderer->BuildLayerImage(map, {}, 1, 1, 1, 0);
    EXPECT_EQ(Pixel(0, 3, 3), kMissingPixel);
    EXPECT_EQ(Pixel(1, 3, 3), kTransparentPixel);
}

TEST_F(MapLayers, ALayerIsNeverTallerThanItsMap) {
    LoadTiles();
    std::vector<std::uint8_t> table =
        SyntheticImage::MetatileTable(std::vector<Entry>{{0, 0, 0, 0}, {3, 3, 3, 3}});
    table.resize(kMetatileTableBytes, 0);
    // Three cells at two per row: two rows, the second one short. A header byte asks for
    // 0xFF x 256 pixels of height.
    const auto map = Entries({1, 1, 1});
    renderer->BuildLayerImage(map, table, 4, 0xFF * 32, 0, 0);
    EXPECT_EQ(renderer->layerImages[0].width, 32u);
    EXPECT_EQ(renderer->layerImages[0].height, 32u);
    EXPECT_EQ(Pixel(0, 16, 16), Opaque(0));  // the missing fourth cell reads as metatile 0
    EXPECT_EQ(Pixel(0, 15, 31), Opaque(4));

    // Without a table: one row of tile entries per width.
    renderer->BuildLayerImage(map, {}, 2, 1000, 1, 0);
    EXPECT_EQ(renderer->layerImages[1].height, 16u);
    // Wider than any header can describe: refused, nothing allocated.
    renderer->BuildLayerImage(map, {}, 0x100000, 4, 1, 0);
    EXPECT_EQ(renderer->layerImages[1].width, 0u);
    EXPECT_TRUE(renderer->layerImages[1].pixels.empty());
    // Building layer 1 alone first makes an empty element 0.
    MapRenderer other(project);
    other.BuildLayerImage(map, {}, 1, 1, 1, 0);
    ASSERT_EQ(other.layerImages.size(), 2u);
    EXPECT_FALSE(other.layerImages[0].HasPixels());
}

TEST_F(MapLayers, RenderLayersUsesTheTablesAndCutsTheHeight) {
    std::vector<SyntheticImage::TilePixels> tiles(16, SyntheticImage::SolidTile(0));
    tiles[1] = SyntheticImage::SolidTile(1);
    tiles[2] = SyntheticImage::SolidTile(2);
    renderer->tileData = SyntheticImage::PlanarTiles(tiles);
    renderer->tileData.resize(kTileDataBytes, 0);
    renderer->tileDataSize = 512;
    for (auto& table : renderer->metatileTables) {
        table.assign(kMetatileTableBytes, 0);
    }
    const auto solid = [](std::uint16_t tile) {
        return SyntheticImage::MetatileTable(std::vector<Entry>{{tile, tile, tile, tile}});
    };
    std::ranges::copy(solid(1), renderer->metatileTables[0].begin() + 8);
    std::ranges::copy(solid(2), renderer->metatileTables[1].begin() + 8);
    renderer->layerMap[0] = SyntheticImage::LayerMap(16, 16, [](auto, auto) { return 1; });
    renderer->layerMap[1] = SyntheticImage::LayerMap(16, 8, [](auto, auto) { return 1; });
    renderer->layerWidth = {256, 256};
    renderer->layerHeight = {256, 512};  // layer 1's header claims more rows than it has

    std::uint32_t width0 = 0;
    std::uint32_t width1 = 0;
    renderer->RenderLayers(&width0, &width1);
    EXPECT_EQ(width0, 32u);
    EXPECT_EQ(width1, 32u);
    EXPECT_EQ(renderer->layerImages[0].height, 256u);
    EXPECT_EQ(renderer->layerImages[1].height, 128u);
    EXPECT_EQ(renderer->layerHeight[1], 128u);
    EXPECT_EQ(Pixel(0, 100, 100), Opaque(1));
    EXPECT_EQ(Pixel(1, 100, 100), Opaque(2));

    renderer->layer1UsesTable0 = true;
    renderer->RenderLayers();
    EXPECT_EQ(Pixel(1, 100, 100), Opaque(1));

    // No tile data: nothing is rendered.
    MapRenderer empty(project);
    empty.layerMap[0] = renderer->layerMap[0];
    empty.RenderLayers(&width0);
    EXPECT_TRUE(empty.layerImages.empty());
}

TEST_F(MapLayers, CellEditsRenderTheLayerAgain) {
    LoadTiles();
    std::vector<std::uint8_t> table =
        SyntheticImage::MetatileTable(std::vector<Entry>{{0, 0, 0, 0}, {3, 3, 3, 3}, {4, 4, 4, 4}});
    renderer->metatileTables[0] = table;
    renderer->metatileTables[0].resize(kMetatileTableBytes, 0);
    renderer->layerMap[0] = SyntheticImage::LayerMap(4, 4, [](auto, auto) { return 1; });
    renderer->BuildLayerImage(renderer->layerMap[0], renderer->metatileTables[0], 8, 8, 0, 0);
    ASSERT_EQ(Pixel(0, 40, 20), Opaque(4));

    renderer->SetTileEntry(2, 1, 2, 64, 0);
    EXPECT_EQ(GetU16(renderer->layerMap[0], 2 * (4 + 2)), 2);
    EXPECT_EQ(Pixel(0, 40, 20), Opaque(5));
    EXPECT_EQ(Pixel(0, 8, 8), Opaque(4));

    // Outside the map, on a layer without a map, or with a width below 8: nothing changes.
    const auto before = renderer->layerMap[0];
    renderer->SetTileEntry(0, 4, 2, 64, 0);
    renderer->SetTileEntry(0, 0, 2, 64, 1);
    renderer->SetTileEntry(0, 0, 2, 7, 0);
    renderer->SetTileEntry(0, 0, 2, 64, 2);
    EXPECT_EQ(renderer->layerMap[0], before);

    // Whole-layer data is clipped to the layer's map.
    std::vector<std::uint8_t> data = SyntheticImage::LayerMap(4, 5, [](auto, auto) { return 2; });
    renderer->ApplyLayerData(data, 64, 0);
    EXPECT_EQ(renderer->layerMap[0].size(), 32u);
    EXPECT_EQ(Pixel(0, 0, 0), Opaque(5));
    EXPECT_EQ(renderer->layerImages[0].height, 64u);
    renderer->ApplyLayerData(before, 4, 0);  // refused width
    EXPECT_EQ(Pixel(0, 0, 0), Opaque(5));
}

TEST_F(MapLayers, WorldMapsDrawFourLinearTilesPerCell) {
    std::vector<SyntheticImage::TilePixels> tiles(256, SyntheticImage::SolidTile(0));
    tiles[1] = PatternTile();
    tiles[0x12] = SyntheticImage::SolidTile(0xC8);
    renderer->CopyLinearTiles(SyntheticImage::LinearTiles(tiles));
    const std::vector<std::array<std::uint8_t, 4>> metatiles = {{0, 0, 0, 0}, {1, 0x12, 0x12, 0}};
    const auto table = SyntheticImage::WorldMetatileTable(metatiles);
    // 2 x 2 cells: only the bottom-right cell is metatile 1.
    renderer->BuildWorldMapImage(std::vector<std::uint8_t>{0, 0, 0, 1}, table, 4, 4);
    ASSERT_EQ(renderer->layerImages[0].width, 32u);
    ASSERT_EQ(renderer->layerImages[0].height, 32u);
    EXPECT_EQ(Pixel(0, 16 + 3, 16 + 5), Opaque(Pattern(3, 5)));
    EXPECT_EQ(Pixel(0, 24, 16), Opaque(0xC8));
    EXPECT_EQ(Pixel(0, 16, 24), Opaque(0xC8));
    // Palette entry 0 draws opaque too: world maps have no transparency.
    EXPECT_EQ(Pixel(0, 31, 31), Opaque(0));
    EXPECT_EQ(Pixel(0, 0, 0), Opaque(0));

    // The byte map can be edited cell by cell.
    renderer->layerMap[0].assign(0x2000, 0);
    renderer->metatileTables[0] = table;
    renderer->RebuildWorldMapImage(3);
    ASSERT_EQ(renderer->layerImages[0].width, 1024u);
    renderer->SetMapByte(5, 2, 1);
    EXPECT_EQ(renderer->GetMapByte(5, 2), 1);
    EXPECT_EQ(renderer->layerMap[0][2 * 64 + 5], 1);
    renderer->RebuildWorldMapImage(35);
    EXPECT_EQ(Pixel(0, 5 * 16 + 8, 2 * 16), Opaque(0xC8));
    // Past the map's cells (half the buffer) nothing is read or written.
    renderer->SetMapByte(0, 64, 1);
    EXPECT_EQ(renderer->GetMapByte(0, 64), 0);
    EXPECT_EQ(std::count(renderer->layerMap[0].begin(), renderer->layerMap[0].end(), 1), 1);
    // Other ids rebuild nothing.
    renderer->RebuildWorldMapImage(4);
    EXPECT_EQ(renderer->layerImages[0].width, 1024u);
}

TEST_F(MapLayers, TilePanelsShowMetatilesInOrder) {
    LoadTiles();
    renderer->metatileTables[1] = SyntheticImage::MetatileTable(std::vector<Entry>{
        {3, 3, 3, 3}, {4, 4, 4, 4}, {SyntheticImage::TileEntry(1, 1, true), 5, 5, 5}});
    renderer->metatileTables[1].resize(kMetatileTableBytes, 0);
    // 20 bytes filled: metatiles 0 to 2 count, metatile 3 reads as tile entry 0.
    renderer->metatileTableSizes[1] = 20;
    Canvas panel;
    renderer->DrawTileSheet(panel, 1, false, 1);
    ASSERT_EQ(panel.Width(), 128);
    ASSERT_EQ(panel.Height(), 8);                                // 20 >> 4 = 1 row of 8 pixels
    EXPECT_EQ(panel.At(0, 0), Opaque(5));                        // metatile 1 = tile 4
    EXPECT_EQ(panel.At(16 + 2, 3), Opaque(16 + Pattern(5, 3)));  // mirrored, palette row 1
    EXPECT_EQ(panel.At(24, 0), Opaque(6));                       // tile 5 at the top right
    EXPECT_EQ(panel.At(32, 0), Opaque(0));  // metatile 3 is past the filled size

    // Never more than 64 rows, whatever the size claims.
    renderer->metatileTableSizes[1] = 0xFFFFFFF0;
    renderer->DrawTileSheet(panel, 0, false, 1);
    EXPECT_EQ(panel.Height(), 512);

    // Without a tile sheet only the clearing happens.
    MapRenderer bare(project);
    Canvas cleared(128, 512, 0);
    bare.DrawTileSheet(cleared, 0, true, 0);
    EXPECT_EQ(cleared.At(127, 511), 0xFFF0F0F0u);
}

TEST_F(MapLayers, WorldMapTilePanelUsesLinearTiles) {
    std::vector<SyntheticImage::TilePixels> tiles(256, SyntheticImage::SolidTile(0));
    tiles[7] = SyntheticImage::SolidTile(0x77);
    renderer->CopyLinearTiles(SyntheticImage::LinearTiles(tiles));
    renderer->tileSetType = kTileSetLinear;
    renderer->metatileTables[0] = SyntheticImage::WorldMetatileTable(
        std::vector<std::array<std::uint8_t, 4>>(16, {0, 7, 0, 0}));
    renderer->metatileTableSizes[0] = 64;  // 4 rows of 8 pixels: two rows of metatiles
    Canvas panel;
    renderer->DrawTileSheet(panel, 0, false, 0);
    ASSERT_EQ(panel.Width(), 128);
    ASSERT_EQ(panel.Height(), 32);
    EXPECT_EQ(panel.At(8, 0), Opaque(0x77));
    EXPECT_EQ(panel.At(127, 16), Opaque(0x77));
    EXPECT_EQ(panel.At(0, 0), Opaque(0));
}
