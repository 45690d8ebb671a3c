#include <algorithm>

#include <gtest/gtest.h>

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

TEST_F(MapObject, TheTileSheetHoldsEveryRowOfTheFirstTileOfEachGroup) {
    // Each group of 16 tiles is one sheet row of tiles; its first tile's rows lie a sheet
    // width apart, where a decode running into the next tile would overwrite them.
    LoadTiles(48);
    const std::uint8_t solid[] = {0, 2, 3};  // tiles 0, 16 and 32
    ASSERT_EQ(renderer->tileSheet.size(), 3 * 1024u);
    for (std::uint32_t group = 0; group < 3; ++group) {
        for (std::uint32_t y = 0; y < 8; ++y) {
            for (std::uint32_t x = 0; x < 8; ++x) {
                ASSERT_EQ(renderer->tileSheet[group * 1024 + y * kTileSheetWidth + x], solid[group])
                    << group << " " << x << "," << y;
            }
        }
    }
}
