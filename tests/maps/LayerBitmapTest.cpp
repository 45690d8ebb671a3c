#include <gtest/gtest.h>

#include "platform/Files.h"
#include "project/ByteAccess.h"
#include "maps/LayerBitmap.h"

TEST(ExportLayerBitmap, EmptyPixelsShowTheUpperLayerOfTheSameSize) {
    std::vector<LayerImage> layers(2);
    layers[0] = {{0, 0xFF000001}, 2, 1};
    layers[1] = {{0xFF000002, 0xFF000003}, 2, 1};
    EXPECT_EQ(ExportLayerBitmap(layers, true, 7), 8);
    auto file = ReadWholeFile("map_0007.bmp");
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(GetU32(*file, 54), 0xFF000002u);
    EXPECT_EQ(GetU32(*file, 58), 0xFF000001u);

    layers[1].width = 1;  // a different size: layer 0 alone
    EXPECT_EQ(ExportLayerBitmap(layers, true, 7), 8);
    file = ReadWholeFile("map_0007.bmp");
    EXPECT_EQ(GetU32(*file, 54), 0u);
}
