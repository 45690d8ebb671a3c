#include <algorithm>

#include <gtest/gtest.h>

#include "platform/Files.h"
#include "tests/maps/MapTestFixture.h"

using MapObject = MapTest;

TEST_F(MapObject, StartsAndResetsWithTheSamePalettes) {
    const auto resetColours = [](const MapRenderer& r) {
        return std::ranges::all_of(r.argbPalette, [](auto c) { return c == kResetArgbColor; }) &&
               std::ranges::all_of(r.snesPalette, [](auto c) { return c == 0x7FFF; });
    };
    EXPECT_TRUE(resetColours(MapRenderer(project)));

    // Reset drops what a load built and keeps the cursor, the walk and the display options.
    LoadTiles();
    renderer->layerMap[0].assign(8, 0);
    renderer->collision.assign(kCollisionEntries, 1);
    renderer->collisionSize = 512;
    renderer->BuildLayerImage(renderer->layerMap[0], {}, 2, 1, 1, 0);
    renderer->cursor = 0x1234;
    renderer->tileSetType = 255;
    renderer->layerSource = {7, 8};
    renderer->layerHeight = {9, 10};
    renderer->showExits = true;
    renderer->Reset();
    EXPECT_TRUE(resetColours(*renderer));
    EXPECT_TRUE(renderer->layerImages.empty() && renderer->tileSheet.empty() &&
                renderer->layerMap[0].empty() && renderer->collision.empty());
    EXPECT_EQ(renderer->collisionSize + renderer->layerSource[1] + renderer->layerHeight[0], 0u);
    EXPECT_EQ(renderer->cursor, 0x1234u);
    EXPECT_EQ(renderer->tileSetType, 255u);
    EXPECT_TRUE(renderer->showExits);
}

TEST_F(MapObject, CursorReadersAndBankRelativePointers) {
    // The pointer rule itself is the script pointer test's; here the cursor and the bytes.
    image.PutBytes(0x8000, std::vector<std::uint8_t>{0x56, 0x34, 0x12});
    image.PutBytes(0x3FFFFD, std::vector<std::uint8_t>{0x34, 0x12, 0x00});
    Sync();
    renderer->cursor = 0x8000;
    EXPECT_EQ(renderer->ReadU24(false), 0x123456u);
    EXPECT_EQ(renderer->cursor, 0x8000u);
    EXPECT_EQ(renderer->ReadU24(true), 0x123456u);
    EXPECT_EQ(renderer->cursor, 0x8003u);
    renderer->cursor = 0xBFFFFD;  // the bytes come from 0x3FFFFD
    EXPECT_EQ(renderer->ReadScriptPointer(), 0xC01234u);
    EXPECT_EQ(renderer->cursor, 0xC00000u);

    // Each byte passes the address rule on its own: on a 1 MB image 0x3FFFFF stays past the
    // end (reads 0) while 0x400000 and 0x400001 fold onto offsets 0 and 1.
    MapScene small(SyntheticImage::k1MB);
    small.image.PutBytes(0, std::vector<std::uint8_t>{0xAB, 0xCD});
    small.Sync();
    small.renderer->cursor = 0x3FFFFF;
    EXPECT_EQ(small.renderer->ReadU24(false), 0xCDAB00u);
}

TEST_F(MapObject, PalettesGiveColourZeroAlphaZero) {
    std::vector<std::uint16_t> colors(256, SyntheticImage::SnesColor(2, 4, 8));
    colors[1] = 0x8000 | SyntheticImage::SnesColor(31, 1, 0);  // bit 15 is no colour
    image.PutPalette(0x9000, colors);
    Sync();
    renderer->LoadPaletteRow(0x9000, 2);
    EXPECT_EQ(renderer->argbPalette[32], 0x00102040u);
    EXPECT_EQ(renderer->argbPalette[33], 0xFFF80800u);
    EXPECT_EQ(renderer->snesPalette[33], colors[1]);
    EXPECT_EQ(renderer->argbPalette[47], 0xFF102040u);
    EXPECT_EQ(renderer->argbPalette[48], 0x40000030u);  // the next row is untouched
    const auto before = renderer->argbPalette;
    renderer->LoadPaletteRow(0x9000, 16);  // rows above 15 are dropped
    EXPECT_EQ(renderer->argbPalette, before);
    renderer->LoadPalette256(0x9000);
    EXPECT_EQ(renderer->argbPalette[0], 0x00102040u);
    EXPECT_EQ(renderer->argbPalette[16], 0xFF102040u);
    EXPECT_EQ(renderer->snesPalette[255], colors[255]);
}

TEST_F(MapObject, TilesDecodeIntoTheirSheets) {
    // Planar: tile 16 opens the second sheet row of tiles; 8 bytes of a 33rd tile are not
    // converted.
    std::vector<SyntheticImage::TilePixels> tiles(33, SyntheticImage::SolidTile(9));
    tiles[1] = PatternTile();
    tiles[31] = HalfTile();
    auto bytes = SyntheticImage::PlanarTiles(tiles);
    bytes.resize(32 * 32 + 8);
    renderer->ConvertPlanarTiles(bytes);
    const auto& sheet = renderer->tileSheet;
    ASSERT_EQ(sheet.size(), 2 * bytes.size());
    for (int i = 0; i < 64; ++i) {
        ASSERT_EQ(sheet[(i / 8) * 128 + 8 + i % 8], Pattern(i % 8, i / 8)) << i;
    }
    EXPECT_EQ(sheet[1024 + 3 * 128 + 120 + 3], 0);  // tile 31, left half
    EXPECT_EQ(sheet[1024 + 3 * 128 + 120 + 4], 3);
    EXPECT_EQ(sheet[2048], 0);
    EXPECT_EQ(ReadWholeFile("Tiles.bin"), bytes);
    EXPECT_EQ(ReadWholeFile("Tiless.bin")->size(), bytes.size() / 2);

    // Linear: a whole sheet even from a short block; tile 17 ends inside its third row.
    tiles.resize(18);
    tiles[17] = SyntheticImage::SolidTile(0xC8);
    bytes = SyntheticImage::LinearTiles(tiles);
    bytes.resize(17 * 64 + 20);
    renderer->CopyLinearTiles(bytes);
    const auto& linear = renderer->linearSheet;
    ASSERT_EQ(linear.size(), kLinearSheetBytes);
    EXPECT_EQ(linear[2 * 128 + 8 + 5], Pattern(5, 2));
    EXPECT_EQ(linear[1024 + 8 + 2 * 128 + 3], 0xC8);
    EXPECT_EQ(linear[1024 + 8 + 2 * 128 + 4], 0);
}
