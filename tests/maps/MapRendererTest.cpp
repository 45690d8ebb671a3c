#include <gtest/gtest.h>

#include "platform/Files.h"
#include "tests/maps/MapTestFixture.h"

using MapObject = MapTest;

TEST_F(MapObject, StartsAndResetsWithTheSamePalettes) {
    MapRenderer fresh(project);
    for (std::uint32_t i = 0; i < 256; ++i) {
        ASSERT_EQ(fresh.argbPalette[i], 0xFFF0F0F0u);
        ASSERT_EQ(fresh.snesPalette[i], 0x7FFF);
    }
    EXPECT_TRUE(fresh.showLayer0);
    EXPECT_TRUE(fresh.showLayer1);
    EXPECT_FALSE(fresh.showExits || fresh.showObjects || fresh.layer0Priority);

    // A load's worth of state: Reset drops the buffers and sources, keeps cursor and flags.
    LoadTiles();
    renderer->tileData.assign(kTileDataBytes, 1);
    renderer->tileDataSize = 64;
    renderer->layerMap[0].assign(8, 0);
    renderer->layerWidth = {16, 16};
    renderer->collision.assign(kCollisionEntries, 1);
    renderer->collisionSize = 512;
    renderer->metatileTables[2].assign(kMetatileTableBytes, 0);
    renderer->metatileTableSizes[2] = 64;
    renderer->BuildLayerImage(renderer->layerMap[0], {}, 2, 1, 1, 0);
    renderer->cursor = 0x1234;
    renderer->depth = 2;
    renderer->layerPointerPos = {5, 6};
    renderer->tileSetType = 255;
    renderer->layerSource = {7, 8};
    renderer->paletteSource = 9;
    renderer->showExits = true;
    renderer->Reset();

    EXPECT_TRUE(renderer->layerImages.empty());
    EXPECT_TRUE(renderer->tileData.empty() && renderer->tileSheet.empty());
    EXPECT_TRUE(renderer->layerMap[0].empty() && renderer->collision.empty());
    EXPECT_TRUE(renderer->metatileTables[2].empty());
    EXPECT_EQ(renderer->metatileTableSizes[2], 0u);
    EXPECT_EQ(renderer->tileDataSize + renderer->collisionSize + renderer->paletteSource, 0u);
    EXPECT_EQ(renderer->layerWidth[0], 0u);
    EXPECT_EQ(renderer->layerSource[1], 0u);
    EXPECT_EQ(renderer->argbPalette[17], 0xFFF0F0F0u);
    EXPECT_EQ(renderer->snesPalette[255], 0x7FFF);
    EXPECT_EQ(renderer->cursor, 0x1234u);
    EXPECT_EQ(renderer->depth, 2);
    EXPECT_EQ(renderer->layerPointerPos[1], 6u);
    EXPECT_EQ(renderer->tileSetType, 255u);
    EXPECT_TRUE(renderer->showExits);
}

TEST_F(MapObject, ReadU24MovesTheCursorOnlyWhenAsked) {
    image.PutBytes(0x8000, std::vector<std::uint8_t>{0x56, 0x34, 0x12});
    Sync();
    renderer->cursor = 0x8000;
    EXPECT_EQ(renderer->ReadU24(false), 0x123456u);
    EXPECT_EQ(renderer->cursor, 0x8000u);
    EXPECT_EQ(renderer->ReadU24(true), 0x123456u);
    EXPECT_EQ(renderer->cursor, 0x8003u);
}

TEST(MapObjectImage, EachByteOfAValuePassesTheAddressRuleOnItsOwn) {
    // On a 1 MB image 0x3FFFFF stays past the end (reads 0) while 0x400000 and 0x400001 fold
    // onto offsets 0 and 1.
    MapScene small(SyntheticImage::k1MB);
    small.image.PutBytes(0, std::vector<std::uint8_t>{0xAB, 0xCD});
    small.Sync();
    small.renderer->cursor = 0x3FFFFF;
    EXPECT_EQ(small.renderer->ReadU24(false), 0xCDAB00u);
}

TEST_F(MapObject, ScriptPointersAreBankRelative) {
    struct Case {
        std::array<std::uint8_t, 3> bytes;
        std::uint32_t result;
    };
    const Case cases[] = {
        {{0x34, 0x12, 0x00}, 0x069234}, {{0x34, 0x92, 0x00}, 0x079234},
        {{0x34, 0x12, 0x01}, 0x089234}, {{0xFF, 0xFF, 0xFF}, 0x05FFFF},  // the bank wraps at 0xFF
        {{0x00, 0x00, 0x5D}, 0xC00000},  // bank 0x06 + 0xBA reaches 0xC0: bit 15 clear
    };
    for (const Case& c : cases) {
        image.PutBytes(0x069600, c.bytes);
        Sync();
        renderer->cursor = 0x069600;
        EXPECT_EQ(renderer->ReadScriptPointer(), c.result);
        EXPECT_EQ(renderer->cursor, 0x069603u);
    }
    // Behind the pointer lies 0xC00000: bit 15 clear too. The bytes come from 0x3FFFFD.
    image.PutBytes(0x3FFFFD, std::vector<std::uint8_t>{0x34, 0x12, 0x00});
    Sync();
    renderer->cursor = 0xBFFFFD;
    EXPECT_EQ(renderer->ReadScriptPointer(), 0xC01234u);
    EXPECT_EQ(renderer->cursor, 0xC00000u);
}

TEST_F(MapObject, PaletteRowsGiveColumnZeroAlphaZero) {
    const std::vector<std::uint16_t> colors = {
        SyntheticImage::SnesColor(31, 0, 0),
        SyntheticImage::SnesColor(0, 31, 0),
        static_cast<std::uint16_t>(0x8000 | SyntheticImage::SnesColor(1, 2, 3)),
        0,
        0,
        0,
        0,
        0,
        0,
        0,
        0,
        0,
        0,
        0,
        0,
        SyntheticImage::SnesColor(0, 0, 31)};
    image.PutPalette(0x9000, colors);
    Sync();
    renderer->LoadPaletteRow(0x9000, 2);
    EXPECT_EQ(renderer->argbPalette[32], 0x00F80000u);
    EXPECT_EQ(renderer->argbPalette[33], 0xFF00F800u);
    // Bit 15 is kept in the SNES form and plays no part in the colour.
    EXPECT_EQ(renderer->snesPalette[34], 0x8000 | SyntheticImage::SnesColor(1, 2, 3));
    EXPECT_EQ(renderer->argbPalette[34], 0xFF081018u);
    EXPECT_EQ(renderer->argbPalette[47], 0xFF0000F8u);
    EXPECT_EQ(renderer->argbPalette[31], 0x4000001Fu);  // row 1 untouched
    EXPECT_EQ(renderer->argbPalette[48], 0x40000030u);  // row 3 untouched

    // Rows above 15 are dropped, not written past the palette.
    const auto before = renderer->argbPalette;
    renderer->LoadPaletteRow(0x9000, 16);
    EXPECT_EQ(renderer->argbPalette, before);
}

TEST_F(MapObject, WholePaletteGivesOnlyEntryZeroAlphaZero) {
    std::vector<std::uint16_t> colors(256, SyntheticImage::SnesColor(2, 4, 8));
    image.PutPalette(0xA000, colors);
    Sync();
    renderer->LoadPalette256(0xA000);
    EXPECT_EQ(renderer->argbPalette[0], 0x00102040u);
    EXPECT_EQ(renderer->argbPalette[16], 0xFF102040u);
    EXPECT_EQ(renderer->argbPalette[255], 0xFF102040u);
    EXPECT_EQ(renderer->snesPalette[128], SyntheticImage::SnesColor(2, 4, 8));
}

TEST_F(MapObject, PlanarTilesDecodeIntoTheSheet) {
    // 17 tiles: tile 16 opens the second sheet row of tiles.
    std::vector<SyntheticImage::TilePixels> tiles(32, SyntheticImage::SolidTile(0));
    tiles[1] = PatternTile();
    tiles[16] = SyntheticImage::SolidTile(9);
    tiles[31] = HalfTile();
    renderer->ConvertPlanarTiles(SyntheticImage::PlanarTiles(tiles));
    const auto& sheet = renderer->tileSheet;
    ASSERT_EQ(sheet.size(), 2048u);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(sheet[y * 128 + 8 + x], Pattern(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(sheet[1024], 9);
    EXPECT_EQ(sheet[1024 + 7 * 128 + 7], 9);
    EXPECT_EQ(sheet[1024 + 3 * 128 + 120 + 3], 0);  // tile 31, left half
    EXPECT_EQ(sheet[1024 + 3 * 128 + 120 + 4], 3);  // tile 31, right half

    const auto tilesDump = ReadWholeFile("Tiles.bin");
    const auto sheetDump = ReadWholeFile("Tiless.bin");
    ASSERT_TRUE(tilesDump && sheetDump);
    EXPECT_EQ(*tilesDump, SyntheticImage::PlanarTiles(tiles));
    EXPECT_EQ(sheetDump->size(), 512u);
}

TEST_F(MapObject, APartGroupOfTilesIsNotConverted) {
    std::vector<std::uint8_t> tiles =
        SyntheticImage::PlanarTiles(std::vector(16, SyntheticImage::SolidTile(5)));
    tiles.resize(520, 0xFF);  // 8 bytes of a seventeenth tile
    renderer->ConvertPlanarTiles(tiles);
    ASSERT_EQ(renderer->tileSheet.size(), 1040u);
    EXPECT_EQ(renderer->tileSheet[1023], 5);
    EXPECT_EQ(renderer->tileSheet[1024], 0);
}

TEST_F(MapObject, LinearTilesFillAWholeSheetEvenFromAShortBlock) {
    std::vector<SyntheticImage::TilePixels> tiles(18, SyntheticImage::SolidTile(0));
    tiles[1] = PatternTile();
    tiles[17] = SyntheticImage::SolidTile(0xC8);
    std::vector<std::uint8_t> bytes = SyntheticImage::LinearTiles(tiles);
    bytes.resize(17 * 64 + 20);  // tile 17 cut inside its third row
    renderer->CopyLinearTiles(bytes);
    const auto& sheet = renderer->linearSheet;
    ASSERT_EQ(sheet.size(), kLinearSheetBytes);
    EXPECT_EQ(sheet[2 * 128 + 8 + 5], Pattern(5, 2));
    EXPECT_EQ(sheet[1024 + 8 + 1 * 128 + 7], 0xC8);  // tile 17 row 1
    EXPECT_EQ(sheet[1024 + 8 + 2 * 128 + 3], 0xC8);  // row 2, inside the block
    EXPECT_EQ(sheet[1024 + 8 + 2 * 128 + 4], 0);     // row 2, past it
    EXPECT_EQ(sheet[kLinearSheetBytes - 1], 0);
}
