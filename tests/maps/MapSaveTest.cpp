#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "maps/LayerSave.h"
#include "maps/MapHeaderTable.h"
#include "maps/ScriptPointer.h"
#include "platform/Files.h"
#include "tests/maps/MapSaveFixture.h"

namespace {

constexpr std::uint32_t kNewId = MapPageProject::kFreeMapId;

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
    EXPECT_EQ(ResolveScriptPointer(0x069600, 0x001234), 0x069234u);
    EXPECT_EQ(ResolveScriptPointer(0x069600, 0x009234), 0x079234u);
    EXPECT_EQ(ResolveScriptPointer(0x069600, 0x011234), 0x089234u);
    EXPECT_EQ(ResolveScriptPointer(0x069600, 0xFFFFFF), 0x05FFFFu);  // the bank wraps at 0xFF
    // From 0xC00000 on, behind the pointer or where it leads, bit 15 is clear.
    EXPECT_EQ(ResolveScriptPointer(0xBFFFFD, 0x001234), 0xC01234u);
    EXPECT_EQ(ResolveScriptPointer(0x069600, 0x5D0000), 0xC00000u);
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
    s.data.image.Put8(MapPageProject::kLayer1 + 1, 4);  // 1024 high; the map holds 512
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
    EXPECT_EQ(loaded->layerHeight[1], 1024u);
    // The map object now knows its blocks as a load would: a later save of one layer finds its
    // block.
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

TEST(MapSaveWhole, AScriptOfEveryCommandTakesSixtyFourBytesAndTheBlocksFollowIt) {
    // Two layers, two tile commands, palette, two tables, collision and music: 64 bytes. Tiles
    // of exactly 0x7F units still fit one command, 9 bytes shorter, in the same room.
    for (const auto& [tileBytes, scriptBytes, firstUnits] :
         {std::tuple{0x12000u, 0x40u, 0x50}, std::tuple{0xFE00u, 0x37u, 0x7F}}) {
        SaveScene s(SyntheticImage::k6MB);
        s.Open();
        s.renderer->tileDataSize = tileBytes;
        ASSERT_TRUE(s.renderer->SaveToRom(kNewId).saved);
        const std::uint32_t script = s.project.Read24(MapHeaderEntryOffset(s.project, kNewId));
        const auto used = UsedEntries(s.project);
        ASSERT_GE(used.size(), 2u);
        EXPECT_EQ(used[0]->size, 0x40u);
        EXPECT_EQ(s.project.Read8(script + 12), firstUnits) << tileBytes;
        // Music 0x0A, the end.
        EXPECT_EQ(GetU32(s.project.romImage, script + scriptBytes - 4), 0x00000AFCu) << tileBytes;
        EXPECT_EQ(used[1]->address, script + 0x40);
    }
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
