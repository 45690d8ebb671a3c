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
