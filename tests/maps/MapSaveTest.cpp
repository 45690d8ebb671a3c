#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "maps/LayerSave.h"
#include "maps/MapHeaderTable.h"
#include "maps/MapRenderer.h"
#include "maps/ScriptPointer.h"
#include "platform/Files.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/maps/MapSaveFixture.h"
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

namespace {

constexpr std::uint32_t kNewId = 0x20;

// The map object's map as a reload gives it back: layers, the tiles and tables that the
// saved sizes cover, collision, palette rows 1 to 14 and the music.
void ExpectReloadsEqual(const MapRenderer& saved, const MapRenderer& loaded) {
    for (std::uint32_t k = 0; k < 2; ++k) {
        EXPECT_EQ(loaded.layerMap[k], saved.layerMap[k]) << "layer " << k;
        if (!saved.layerMap[k].empty()) {
            EXPECT_EQ(loaded.layerWidth[k], saved.layerWidth[k]);
            EXPECT_EQ(loaded.layerHeight[k], saved.layerHeight[k]);
        }
        const std::uint32_t filled = saved.metatileTableSizes[k];
        ASSERT_GE(loaded.metatileTableSizes[k], filled);
        EXPECT_TRUE(std::equal(saved.metatileTables[k].begin(),
                               saved.metatileTables[k].begin() + filled,
                               loaded.metatileTables[k].begin()))
            << "table " << k;
    }
    ASSERT_GE(loaded.tileDataSize, saved.tileDataSize);
    EXPECT_TRUE(std::equal(saved.tileData.begin(), saved.tileData.begin() + saved.tileDataSize,
                           loaded.tileData.begin()));
    EXPECT_EQ(loaded.collisionSize, saved.collisionSize);
    EXPECT_EQ(loaded.collision, saved.collision);
    EXPECT_TRUE(std::equal(saved.snesPalette.begin() + 16, saved.snesPalette.begin() + 240,
                           loaded.snesPalette.begin() + 16));
    EXPECT_EQ(loaded.mapMusicTrack, 10u);
    EXPECT_EQ(loaded.tileNumberOffset[0], 0u);
}

// Sets the palette rows that the save stores to recognisable colours.
void MarkPalette(MapRenderer& map) {
    for (std::size_t i = 16; i < 256; ++i) {
        map.snesPalette[i] = static_cast<std::uint16_t>(i * 97 & 0x7FFF);
    }
}

}  // namespace

TEST(ScriptPointer, ResolvesFromBehindThePointerAndEncodesBack) {
    // The bank base of a pointer at 0x069600 is 0x06; every 0x8000 is one bank further.
    EXPECT_EQ(ResolveScriptPointer(0x069600, 0x009234), 0x079234u);
    EXPECT_EQ(ResolveScriptPointer(0x069600, 0xFFFFFF), 0x05FFFFu);
    EXPECT_EQ(ResolveScriptPointer(0xBFFFFD, 0x001234), 0xC01234u);
    // A pointer whose bytes end at a bank boundary counts from the next bank.
    EXPECT_EQ(EncodeScriptPointer(0x06FFFD, 0x428000), (0x42u - 0x07u) << 15);
    // Below 0xC00000 only upper halves are reached, from there on only lower halves.
    for (const std::uint32_t pos : {0x06FFFDu, 0xBFFFFCu, 0xBFFFFDu, 0xF00033u}) {
        const bool upper = ReachableBankHalf(pos) == BankHalf::Upper;
        EXPECT_EQ(upper, pos < 0xBFFFFD);
        EXPECT_EQ(ScriptPointerReaches(pos, 0x5F8000), upper);
        EXPECT_EQ(ScriptPointerReaches(pos, 0x420010), !upper);
    }
}

TEST(MapSaveWhole, BuildsTheScriptAndBlocksAndReloadsEqual) {
    SaveScene s(SyntheticImage::k6MB);
    s.data.image.SetMapHeader(kNewId, 2);
    s.Open();
    MapRenderer& map = *s.renderer;
    MarkPalette(map);
    std::filesystem::remove("mscript.bin");

    ASSERT_TRUE(map.SaveToRom(kNewId).saved);
    const std::uint32_t entry = MapHeaderEntryOffset(s.project, kNewId);
    const std::uint32_t script = s.project.Read24(entry);
    // The script goes first into the free area, under the header entry's offset.
    EXPECT_EQ(script, 0x418000u);
    const std::vector<std::uint8_t> expected{
        0x10, 0x01, 0,    0,    0,    0x10, 0x02, 0,    0,    0,    0x80, 0x00, 0x20, 0x01,
        0,    0,    0,    0x00, 0x00, 0x40, 0x00, 0xE0, 0x10, 0,    0,    0,    0x20, 0x00,
        0x40, 0x00, 0x01, 0,    0,    0,    0x20, 0x00, 0x40, 0x00, 0x02, 0,    0,    0,
        0x20, 0x00, 0x08, 0x00, 0x81, 0,    0,    0,    0x08, 0xFC, 0x0A, 0x00, 0x00};
    std::vector<std::uint8_t> bytes(s.project.romImage.begin() + script,
                                    s.project.romImage.begin() + script + expected.size());
    const auto used = UsedEntries(s.project);
    ASSERT_EQ(used.size(), 8u);
    EXPECT_EQ(used[0]->address, script);
    EXPECT_EQ(used[0]->tag, entry);
    // Each pointer designates a block allocated under the pointer's own position.
    for (const std::uint32_t at : {2u, 7u, 14u, 23u, 31u, 39u, 47u}) {
        const std::uint32_t target = ResolveScriptPointer(script + at, GetU24(bytes, at));
        const auto block = std::find_if(used.begin(), used.end(),
                                        [&](const AllocEntry* e) { return e->tag == script + at; });
        ASSERT_NE(block, used.end()) << at;
        EXPECT_EQ((*block)->address, target) << at;
        std::fill_n(bytes.begin() + at, 3, 0);
    }
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(ReadWholeFile("mscript.bin")->size(), expected.size() - 1);

    const auto loaded = s.Load(kNewId);
    ExpectReloadsEqual(map, *loaded);
    // The map object now knows its blocks as a load of them would.
    EXPECT_EQ(map.layerSource, loaded->layerSource);
    EXPECT_EQ(map.layerPointerPos, loaded->layerPointerPos);
    EXPECT_EQ(map.tileSource, loaded->tileSource);
    EXPECT_EQ(map.metatileSource, loaded->metatileSource);
    EXPECT_EQ(map.collisionSource, loaded->collisionSource);
    EXPECT_EQ(map.paletteSource, loaded->paletteSource);
    EXPECT_EQ(map.mapMusicTrackPos, loaded->mapMusicTrackPos);
    // So a later save of one layer finds its block.
    SaveScene::Scramble(map, 0, 1500);
    ASSERT_TRUE(SaveEditedLayer(map, 0).saved);
    EXPECT_EQ(s.Load(kNewId)->layerMap[0], map.layerMap[0]);
}

TEST(MapSaveWhole, PresentLayersAndTablesKeepTheirNumbersAndLargeDataReloadsWhole) {
    SaveScene s(SyntheticImage::k6MB);
    s.Open();
    MapRenderer& map = *s.renderer;
    map.layerMap[0].clear();
    map.metatileTableSizes[0] = 0;
    std::fill(map.metatileTables[0].begin(), map.metatileTables[0].end(), 0);
    // More tiles than one command holds, and a full table of 1024 metatiles.
    map.tileDataSize = 0x12000;
    for (std::uint32_t i = 0; i < map.tileDataSize; ++i) {
        map.tileData[i] = static_cast<std::uint8_t>(i * 13 + i / 0x1000);
    }
    map.metatileTableSizes[1] = 0x2000;
    for (std::uint32_t i = 0; i < 0x2000; ++i) {
        map.metatileTables[1][i] = static_cast<std::uint8_t>(i * 7 + 1);
    }

    ASSERT_TRUE(map.SaveToRom(kNewId).saved);
    const std::uint32_t script = s.project.Read24(MapHeaderEntryOffset(s.project, kNewId));
    EXPECT_EQ(s.project.Read16(script), 0x0210);         // 10 02: layer 1 alone
    EXPECT_EQ(s.project.Read24(script + 5), 0x500080u);  // 80 00 50: 0xA000 bytes
    EXPECT_EQ(s.project.Read8(script + 8), 0x01);        // type 1, at slot 0
    EXPECT_EQ(s.project.Read8(script + 12), 0x00);
    EXPECT_EQ(s.project.Read24(script + 14), 0x400080u);  // 80 00 40: the other 0x8000
    EXPECT_EQ(s.project.Read8(script + 17), 0x00);        // type 0, at 0xA000
    EXPECT_EQ(s.project.Read8(script + 21), 0x50);
    EXPECT_EQ(s.project.Read8(script + 30 + 2), 0x80);  // 0x80 units of 64 bytes
    EXPECT_EQ(s.project.Read8(script + 30 + 4), 0x02);  // into table 1
    ExpectReloadsEqual(map, *s.Load(kNewId));
}

TEST(MapSaveWhole, RefusalsLeaveTheImageAndTableUnchanged) {
    const auto expectRefused = [](SaveScene& s, std::uint32_t id, const std::string& text) {
        const std::vector<std::uint8_t> image = s.project.romImage;
        const auto table = AllocTableBytes(s.project.allocTable);
        const MapSaveResult result = s.renderer->SaveToRom(id);
        EXPECT_FALSE(result.saved);
        EXPECT_EQ(result.message, text);
        EXPECT_EQ(s.project.romImage, image);
        EXPECT_EQ(AllocTableBytes(s.project.allocTable), table);
    };
    SaveScene small;
    small.Open();
    expectRefused(small, kNewId, "An extended ROM is required to add new Maps.");

    SaveScene s(SyntheticImage::k6MB);
    s.Open();
    // The table holds 1104 entries; 0x450 would be the first of the shared script pieces.
    EXPECT_EQ(MapHeaderEntryCount(s.project), 0x450u);
    expectRefused(s, 0x450, "Please enter a map ID from 0x0000 to 0x044F.");
    // Room for the script and two blocks only: all three are released again.
    FillTable(s.project, 3);
    expectRefused(s, kNewId,
                  "There is not enough free space in the extended ROM to save this map.");
    s.renderer->tileDataSize = 0x19E01;
    expectRefused(s, kNewId, "The map's tile data is too large to save.");
    s.renderer->Reset();
    expectRefused(s, kNewId, "Please load a map first.");
}
