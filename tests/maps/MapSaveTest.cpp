#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "maps/MapRenderer.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/maps/MapTestFixture.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;

namespace {

// World maps with recognisable tile maps, loaded into the scene's map object.
struct WorldMapScene : MapScene {
    explicit WorldMapScene(std::uint32_t size = SyntheticImage::k4MB,
                           Region region = Region::German)
        : MapScene(size) {
        image.SetRegion(region);
        std::vector<std::uint8_t> large(0x10000);
        std::vector<std::uint8_t> small(0x1000);
        for (std::size_t i = 0; i < large.size(); ++i) {
            large[i] = static_cast<std::uint8_t>(i * 3 + i / 256);
        }
        for (std::size_t i = 0; i < small.size(); ++i) {
            small[i] = static_cast<std::uint8_t>(i * 5 + 1);
        }
        const std::vector<SyntheticImage::TilePixels> tiles(4, SyntheticImage::SolidTile(1));
        const std::vector<std::array<std::uint8_t, 4>> metatiles(4, {0, 1, 2, 3});
        const std::vector<std::uint16_t> palette(256, 0x1234);
        if (size > SyntheticImage::k1MB) {
            image.PutWorldMap(true, large, SyntheticImage::LinearTiles(tiles),
                              SyntheticImage::WorldMetatileTable(metatiles), palette);
            image.PutWorldMap(false, small, SyntheticImage::LinearTiles(tiles),
                              SyntheticImage::WorldMetatileTable(metatiles), palette);
        }
        Sync();
        project.regionIndex = DetectRegion(image.Bytes());
    }

    void Load(std::uint32_t id) {
        renderer->Reset();
        std::uint32_t w0 = 0;
        std::uint32_t w1 = 0;
        renderer->Load(id, w0, w1, false);
    }

    std::vector<std::uint8_t> ImageBytes(RegionTable table, std::size_t count) const {
        const auto at = project.romImage.begin() + image.Table(table);
        return {at, at + static_cast<std::ptrdiff_t>(count)};
    }
};

}  // namespace

TEST(MapSaveWorld, LargeMapGoesBackIntoItsTwoBlocksForBothIds) {
    for (std::uint32_t id : {2u, 5u}) {
        WorldMapScene scene;
        scene.Load(2);
        auto& map = scene.renderer->layerMap[0];
        map[0] = 0xA1;
        map[0x7FFF] = 0xA2;
        map[0x8000] = 0xB1;
        map[0xFFFF] = 0xB2;
        map[0x10000] = 0xCC;  // beyond the stored map: never written
        std::vector<std::uint8_t> expected = scene.project.romImage;
        std::copy_n(map.begin(), 0x8000,
                    expected.begin() + scene.image.Table(RegionTable::WorldMapTileMapTableA));
        std::copy_n(map.begin() + 0x8000, 0x8000,
                    expected.begin() + scene.image.Table(RegionTable::WorldMapTileMapTableB));

        const MapSaveResult result = scene.renderer->SaveToRom(id);
        EXPECT_TRUE(result.saved) << id;
        EXPECT_TRUE(result.message.empty());
        EXPECT_EQ(scene.project.romImage, expected) << id;

        // Loading again gives back the edited map.
        scene.Load(id);
        EXPECT_EQ(scene.renderer->layerMap[0][0x7FFF], 0xA2);
        EXPECT_EQ(scene.renderer->layerMap[0][0xFFFF], 0xB2);
        EXPECT_EQ(scene.renderer->layerMap[0][0x10000], 0);
    }
}

TEST(MapSaveWorld, SmallMapGoesBackInPlaceForBothIds) {
    for (std::uint32_t id : {3u, 35u}) {
        WorldMapScene scene;
        scene.Load(35);
        auto& map = scene.renderer->layerMap[0];
        std::fill_n(map.begin() + 0x100, 0x10, 0x77);
        map[0x1000] = 0x99;  // beyond the stored map
        std::vector<std::uint8_t> expected = scene.project.romImage;
        std::copy_n(map.begin(), 0x1000,
                    expected.begin() + scene.image.Table(RegionTable::SmallWorldMapTileMapTable));

        EXPECT_TRUE(scene.renderer->SaveToRom(id).saved) << id;
        EXPECT_EQ(scene.project.romImage, expected) << id;
    }
}

TEST(MapSaveWorld, RefusalsLeaveTheImageUnchanged) {
    // A map object that holds no world map of that size.
    WorldMapScene scene;
    scene.Load(3);  // the small map's 0x2000 bytes cannot fill the large map
    const std::vector<std::uint8_t> before = scene.project.romImage;
    for (std::uint32_t id : {2u, 5u}) {
        const MapSaveResult result = scene.renderer->SaveToRom(id);
        EXPECT_FALSE(result.saved);
        EXPECT_EQ(result.message, "Please load a map first.");
    }
    scene.renderer->Reset();
    EXPECT_EQ(scene.renderer->SaveToRom(3).message, "Please load a map first.");
    EXPECT_EQ(scene.project.romImage, before);

    // The 1 MB release names tile maps beyond its image; release F has them all.
    WorldMapScene small(SyntheticImage::k1MB, Region::ReleaseM);
    small.renderer->layerMap[0].assign(0x20000, 0x55);
    const std::vector<std::uint8_t> smallBefore = small.project.romImage;
    for (std::uint32_t id : {2u, 3u}) {
        const MapSaveResult result = small.renderer->SaveToRom(id);
        EXPECT_FALSE(result.saved);
        EXPECT_EQ(result.message, "The world map data lies outside this ROM image.");
    }
    EXPECT_EQ(small.project.romImage, smallBefore);
}
