#include <algorithm>

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "project/ByteAccess.h"
#include "tests/maps/MapTestFixture.h"

using Entry = std::array<std::uint16_t, 4>;
using MapLayers = MapTest;

namespace {

std::vector<std::uint8_t> Table(const std::vector<Entry>& metatiles) {
    auto table = SyntheticImage::MetatileTable(metatiles);
    table.resize(kMetatileTableBytes, 0);
    return table;
}

}  // namespace

TEST_F(MapLayers, TileEntriesDrawWithTheirPaletteRowAndFlips) {
    LoadTiles();
    // The pattern tile four times: plain in row 2, mirrored in row 3, upside down in row 4,
    // both in row 7.
    renderer->BuildLayerImage(
        Words({SyntheticImage::TileEntry(1, 2), SyntheticImage::TileEntry(1, 3, true),
               SyntheticImage::TileEntry(1, 4, false, true),
               SyntheticImage::TileEntry(1, 7, true, true)}),
        {}, 4, 1, 0, 0);
    ASSERT_EQ(renderer->layerImages[0].width, 32u);
    ASSERT_EQ(renderer->layerImages[0].height, 8u);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(Pixel(0, x, y), Opaque(32 + Pattern(x, y)));
            ASSERT_EQ(Pixel(0, 8 + x, y), Opaque(48 + Pattern(7 - x, y)));
            ASSERT_EQ(Pixel(0, 16 + x, y), Opaque(64 + Pattern(x, 7 - y)));
            ASSERT_EQ(Pixel(0, 24 + x, y), Opaque(112 + Pattern(7 - x, 7 - y)));
        }
    }
    // An offset of 0x300 on tile 0x200 carries into the palette row: tile 0x100, row 1.
    LoadTiles(0x110);  // tile 0x100 is solid index 0x100 % 15 + 1 = 2
    renderer->BuildLayerImage(Words({0x0200}), {}, 1, 1, 0, 0x300);
    EXPECT_EQ(Pixel(0, 0, 0), Opaque(16 + 2));
}

TEST_F(MapLayers, MetatileCellsExpandIntoFourTiles) {
    LoadTiles();
    const auto table =
        Table({{0, 0, 0, 0},
               {SyntheticImage::TileEntry(3), SyntheticImage::TileEntry(4, 1),
                SyntheticImage::TileEntry(1, 0, false, true), SyntheticImage::TileEntry(5, 2)}});
    // Bits above the metatile number (0xFC00) do not choose another metatile.
    renderer->BuildLayerImage(Words({0xFC01, 0x0000}), table, 4, 2, 0, 0);
    EXPECT_EQ(Pixel(0, 0, 0), Opaque(4));              // tile 3: solid index 4
    EXPECT_EQ(Pixel(0, 15, 7), Opaque(16 + 5));        // tile 4 in row 1
    EXPECT_EQ(Pixel(0, 2, 8), Opaque(Pattern(2, 7)));  // the pattern upside down
    EXPECT_EQ(Pixel(0, 9, 15), Opaque(32 + 6));        // tile 5 in row 2
    EXPECT_EQ(Pixel(0, 16, 0), Opaque(0));             // metatile 0: colour 0, opaque

    const auto dump = ReadWholeFile("rMap.bin");  // the expanded grid of tile entries
    EXPECT_EQ(GetU16(*dump, 8), SyntheticImage::TileEntry(1, 0, false, true));
}

TEST_F(MapLayers, OnlyColourZeroOfTheUpperLayerIsTransparent) {
    LoadTiles();
    renderer->argbPalette[0] = 0x00000000;  // colours 0 and 3 are both black
    renderer->argbPalette[3] = 0xFF000000;
    const auto half = Words({SyntheticImage::TileEntry(2)});     // index 0 | index 3
    const auto beyond = Words({SyntheticImage::TileEntry(99)});  // past the 16-tile sheet
    for (const bool priority : {false, true}) {
        renderer->layer0Priority = priority;
        const std::uint32_t upper = priority ? 0 : 1;
        renderer->BuildLayerImage(half, {}, 1, 1, upper, 0);
        renderer->BuildLayerImage(half, {}, 1, 1, 1 - upper, 0);
        EXPECT_EQ(Pixel(upper, 0, 0), kTransparentPixel);
        EXPECT_EQ(Pixel(upper, 7, 0), 0xFF000000u);
        EXPECT_EQ(Pixel(1 - upper, 0, 0), 0xFF000000u);
        // A tile missing from the sheet draws nothing: transparent above, black below.
        renderer->BuildLayerImage(beyond, {}, 1, 1, upper, 0);
        renderer->BuildLayerImage(beyond, {}, 1, 1, 1 - upper, 0);
        EXPECT_EQ(Pixel(upper, 3, 3), kTransparentPixel);
        EXPECT_EQ(Pixel(1 - upper, 3, 3), kMissingPixel);
    }
}

TEST_F(MapLayers, LayersAndEditsStayWithinTheMap) {
    LoadTiles();
    const auto table = Table({{0, 0, 0, 0}, {3, 3, 3, 3}, {4, 4, 4, 4}});
    // Three cells at two per row make two rows, the second one short; the height asked is
    // what a header byte of 0xFF gives.
    const auto map = Words({1, 1, 1});
    renderer->BuildLayerImage(map, table, 4, 0xFF * 32, 0, 0);
    EXPECT_EQ(renderer->layerImages[0].height, 32u);
    EXPECT_EQ(Pixel(0, 15, 31), Opaque(4));
    EXPECT_EQ(Pixel(0, 16, 16), Opaque(0));  // the missing fourth cell reads as metatile 0
    renderer->BuildLayerImage(map, {}, 2, 1000, 1, 0);  // one row per two tile entries
    EXPECT_EQ(renderer->layerImages[1].height, 16u);
    renderer->BuildLayerImage(map, {}, 0x100000, 4, 1, 0);  // wider than any header says
    EXPECT_TRUE(renderer->layerImages[1].pixels.empty());
    const std::vector<std::uint8_t> widest(2 * 0xFF * 32, 0);  // as wide as a header can say
    renderer->BuildLayerImage(widest, {}, 0xFF * 32, 1, 1, 0);
    EXPECT_EQ(renderer->layerImages[1].width, 0xFF * 256u);

    // Loading's render step cuts the layer's image the same way, keeps the stored height
    // and picks the tables.
    renderer->tileDataSize = 512;
    renderer->tileData = SyntheticImage::PlanarTiles(std::vector{
        SyntheticImage::SolidTile(0), SyntheticImage::SolidTile(1), SyntheticImage::SolidTile(2)});
    renderer->tileData.resize(kTileDataBytes, 0);
    renderer->metatileTables[0] = Table({{0, 0, 0, 0}, {1, 1, 1, 1}});
    renderer->metatileTables[1] = Table({{0, 0, 0, 0}, {2, 2, 2, 2}});
    renderer->layerMap[0] = SyntheticImage::LayerMap(16, 16, [](auto, auto) { return 1; });
    renderer->layerMap[1] = SyntheticImage::LayerMap(16, 8, [](auto, auto) { return 1; });
    renderer->layerWidth = {256, 256};
    renderer->layerHeight = {256, 512};
    std::uint32_t widths[2] = {};
    renderer->RenderLayers(&widths[0], &widths[1]);
    EXPECT_EQ(widths[0] + widths[1], 64u);
    EXPECT_EQ(renderer->layerImages[1].height, 128u);
    EXPECT_EQ(renderer->layerHeight[1], 512u);
    EXPECT_EQ(Pixel(1, 100, 100), Opaque(2));
    renderer->layer1UsesTable0 = true;
    renderer->RenderLayers();
    EXPECT_EQ(Pixel(1, 100, 100), Opaque(1));

    // A cell edit renders the layer again; outside the map, on a layer without a map, with a
    // width below 8 or on no such layer it changes nothing.
    LoadTiles();
    renderer->metatileTables[0] = table;
    renderer->layerMap[0] = SyntheticImage::LayerMap(4, 4, [](auto, auto) { return 1; });
    renderer->layerMap[1].clear();
    renderer->BuildLayerImage(renderer->layerMap[0], table, 8, 8, 0, 0);
    renderer->SetTileEntry(2, 1, 2, 64, 0);
    EXPECT_EQ(GetU16(renderer->layerMap[0], 2 * (4 + 2)), 2);
    EXPECT_EQ(Pixel(0, 40, 20), Opaque(5));
    EXPECT_EQ(Pixel(0, 8, 8), Opaque(4));
    const auto before = renderer->layerMap[0];
    renderer->SetTileEntry(0, 4, 2, 64, 0);
    renderer->SetTileEntry(0, 0, 2, 64, 1);
    renderer->SetTileEntry(0, 0, 2, 7, 0);
    renderer->SetTileEntry(0, 0, 2, 64, 2);
    EXPECT_EQ(renderer->layerMap[0], before);
    // Whole-layer data longer than the map is cut to it.
    renderer->ApplyLayerData(SyntheticImage::LayerMap(4, 5, [](auto, auto) { return 2; }), 64, 0);
    EXPECT_EQ(renderer->layerMap[0].size(), 32u);
    EXPECT_EQ(Pixel(0, 0, 0), Opaque(5));
    EXPECT_EQ(renderer->layerImages[0].height, 64u);
}

TEST_F(MapLayers, AnEditBeforeAnyTilesWereLoadedDrawsMissingPixels) {
    // A header script that loads no tiles leaves the sheet empty; a cell edit (or a layer file)
    // then renders the layer from it.
    renderer->layerMap[0] = SyntheticImage::LayerMap(2, 2, [](auto, auto) { return 1; });
    renderer->BuildLayerImage(renderer->layerMap[0], {}, 2, 2, 0, 0);
    renderer->SetTileEntry(1, 1, SyntheticImage::TileEntry(5, 0, true, true), 16, 0);
    EXPECT_EQ(GetU16(renderer->layerMap[0], 4), SyntheticImage::TileEntry(5, 0, true, true));
    EXPECT_EQ(renderer->layerImages[0].width, 16u);
    EXPECT_EQ(Pixel(0, 0, 0), kMissingPixel);
    EXPECT_EQ(Pixel(0, 15, 15), kMissingPixel);
}

TEST_F(MapLayers, WorldMapEditsAndTilePanels) {
    // Byte edits stay within the small world map's cells, 64 to a row.
    std::vector<SyntheticImage::TilePixels> tiles(2, SyntheticImage::SolidTile(0));
    tiles[1] = PatternTile();
    renderer->CopyLinearTiles(SyntheticImage::LinearTiles(tiles));
    std::vector<std::array<std::uint8_t, 4>> metatiles(8, {0, 1, 0, 0});
    metatiles[0] = {0, 0, 0, 0};
    renderer->metatileTables[0] = SyntheticImage::WorldMetatileTable(metatiles);
    EXPECT_FALSE(renderer->RedrawWorldMapCell(35, 0, 0));  // no image yet
    renderer->layerMap[0].assign(0x2000, 0);
    renderer->RebuildWorldMapImage(3);
    // Only an image of the map's own shape is redrawn in part.
    EXPECT_FALSE(renderer->RedrawWorldMapCell(2, 0, 0));
    EXPECT_FALSE(renderer->RedrawWorldMapCell(7, 0, 0));
    EXPECT_TRUE(renderer->RedrawWorldMapCell(35, 0, 0));
    renderer->SetMapByte(5, 2, 1);
    renderer->SetMapByte(0, 64, 1);  // past the map's cells
    EXPECT_EQ(std::ranges::count(renderer->layerMap[0], 1), 1);
    EXPECT_EQ(renderer->layerMap[0][2 * 64 + 5], 1);

    // Data for ten rows only: a click on the eleventh draws nothing, so guard rows laid after
    // the image keep their pixels.
    renderer->layerMap[0].assign(64 * 10, 0);
    renderer->RebuildWorldMapImage(35);
    LayerImage& image = renderer->layerImages[0];
    ASSERT_EQ(image.height, 10u * 16);
    const std::size_t drawn = image.pixels.size();
    image.pixels.resize(drawn + 16 * image.width, 0xFF123456u);
    EXPECT_TRUE(renderer->RedrawWorldMapCell(35, 0, 10));
    EXPECT_TRUE(std::all_of(image.pixels.begin() + static_cast<std::ptrdiff_t>(drawn),
                            image.pixels.end(), [](std::uint32_t p) { return p == 0xFF123456u; }));

    // A world-map panel shows table 0's 4-byte metatiles; a map panel never passes 64 rows.
    Canvas panel;
    renderer->tileSetType = kTileSetLinear;
    renderer->metatileTableSizes[0] = 32;  // one row of eight
    renderer->DrawTileSheet(panel, 0, false, 0);
    ASSERT_EQ(panel.Height(), 16);
    EXPECT_EQ(panel.At(16 + 15, 2), Opaque(Pattern(7, 2)));
    LoadTiles();
    renderer->tileSetType = 0;
    renderer->metatileTables[1] = Table({});
    renderer->metatileTableSizes[1] = 0xFFFFFFF0;
    renderer->DrawTileSheet(panel, 0, false, 1);
    EXPECT_EQ(panel.Height(), 512);
}
