#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "maps/LayerFile.h"
#include "maps/LayerSave.h"
#include "platform/Files.h"
#include "project/Allocator.h"
#include "tests/maps/MapSaveFixture.h"

namespace {

constexpr std::uint32_t kHighScript = MapPageProject::kScript | 0xC00000;

// Indexes at which two images differ.
std::vector<std::uint32_t> Differences(const std::vector<std::uint8_t>& a,
                                       const std::vector<std::uint8_t>& b) {
    std::vector<std::uint32_t> out;
    for (std::uint32_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            out.push_back(i);
        }
    }
    return out;
}

}  // namespace

TEST(LayerSave, LayerThatGrowsIsRefusedOnA4MBImageNamingTheLayer) {
    SaveScene s;
    s.Open();
    MapRenderer& map = *s.renderer;
    std::uint32_t rawSize = 0;
    std::uint32_t oldLength = 0;
    ASSERT_TRUE(UncompressData(s.project, map.layerSource[1], rawSize, &oldLength));
    EXPECT_TRUE(SaveEditedLayer(map, 1).saved);  // a stream of its old length fits
    SaveScene::Scramble(map, 1, 300);
    const std::uint32_t newLength = s.StreamLength(1);
    ASSERT_GT(newLength, oldLength);
    const std::vector<std::uint8_t> before = s.project.romImage;

    const MapSaveResult result = SaveEditedLayer(map, 1);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.message, "New map data of layer 1 is " +
                                  std::to_string(newLength - oldLength) +
                                  " bytes too large, can't save new map!");
    EXPECT_EQ(s.project.romImage, before);
    EXPECT_TRUE(UsedEntries(s.project).empty());
}

TEST(LayerSave, LayerThatGrowsMovesIntoTheFreeAreaOfA6MBImage) {
    // From a script below 0xC00000 a pointer reaches the upper half of a bank, from one above
    // it the lower half: the first relocation lands at 0x418000 or at 0x420000.
    const std::array<std::pair<std::uint32_t, std::uint32_t>, 2> cases{
        {{MapPageProject::kScript, 0x418000u}, {kHighScript, 0x420000u}}};
    for (const auto& [script, first] : cases) {
        SCOPED_TRACE(script);
        SaveScene s(SyntheticImage::k6MB, script);
        s.data.image.Put8(MapPageProject::kLayer1 + 1, 4);  // 1024 high; the map holds 512
        s.Open();
        MapRenderer& map = *s.renderer;
        const std::uint32_t pointerPos = map.layerPointerPos[1];
        ASSERT_EQ(pointerPos, script + 51);
        SaveScene::Scramble(map, 1, 300);
        const std::vector<std::uint8_t> before = s.project.romImage;

        ASSERT_TRUE(SaveEditedLayer(map, 1).saved);
        const auto used = UsedEntries(s.project);
        ASSERT_EQ(used.size(), 1u);
        const std::uint32_t size = 5 + s.StreamLength(1);
        EXPECT_EQ(used[0]->address, first);
        EXPECT_EQ(used[0]->size, (size + 15) / 16 * 16);
        EXPECT_EQ(used[0]->tag, pointerPos);
        // The table's copy, the pointer and the block are all that changed.
        const auto table = AllocTableBytes(s.project.allocTable);
        EXPECT_TRUE(std::equal(table.begin(), table.end(), s.project.romImage.begin() + 0x400000));
        EXPECT_EQ(s.project.Read16(first), 0x0404);  // the stored size, not the drawn one
        const std::uint32_t pointerAt = s.project.WrapRomOffset(pointerPos);
        for (const std::uint32_t at : Differences(before, s.project.romImage)) {
            const bool expected = (at >= first && at < first + size) ||
                                  (at >= 0x400000 && at < 0x403000) ||
                                  (at >= pointerAt && at < pointerAt + 3);
            EXPECT_TRUE(expected) << std::hex << at;
        }
        auto reloaded = s.Load(MapPageProject::kMapId);
        EXPECT_EQ(reloaded->layerSource[1], first + 2);
        EXPECT_EQ(reloaded->layerMap[1], map.layerMap[1]);
        EXPECT_EQ(reloaded->layerImages[1].width, 1024u);
        EXPECT_EQ(reloaded->layerImages[1].height, 512u);

        // Growing again releases the first block before it looks for room, so the second one
        // takes its place; shrinking then writes into the second one.
        SaveScene::Scramble(map, 1, 1500, 7);
        ASSERT_TRUE(SaveEditedLayer(map, 1).saved);
        const auto again = UsedEntries(s.project);
        ASSERT_EQ(again.size(), 1u);
        EXPECT_EQ(again[0]->address, first);
        EXPECT_EQ(again[0]->tag, pointerPos);
        std::fill(map.layerMap[1].begin(), map.layerMap[1].end(), 0);
        const AllocTable table2 = s.project.allocTable;
        ASSERT_TRUE(SaveEditedLayer(map, 1).saved);
        EXPECT_EQ(AllocTableBytes(s.project.allocTable), AllocTableBytes(table2));
        reloaded = s.Load(MapPageProject::kMapId);
        EXPECT_EQ(reloaded->layerSource[1], again[0]->address + 2);
        EXPECT_EQ(reloaded->layerMap[1], map.layerMap[1]);
    }
}

TEST(LayerSave, RefusalsLeaveImageAndTableAsTheyWere) {
    SaveScene s(SyntheticImage::k6MB);
    s.Open();
    MapRenderer& map = *s.renderer;
    const auto expectRefused = [&](std::uint32_t layer, const std::string& text) {
        const std::vector<std::uint8_t> image = s.project.romImage;
        const auto table = AllocTableBytes(s.project.allocTable);
        const MapSaveResult result = SaveEditedLayer(map, layer);
        EXPECT_FALSE(result.saved);
        EXPECT_EQ(result.message, text);
        EXPECT_EQ(s.project.romImage, image);
        EXPECT_EQ(AllocTableBytes(s.project.allocTable), table);
    };

    // A layer whose map cannot be stored: more than 0xFFFF bytes, or the size the decoder
    // refuses.
    const std::vector<std::uint8_t> layer0 = map.layerMap[0];
    for (const std::size_t size : {std::size_t{0x10000}, std::size_t{0x5EF4}}) {
        map.layerMap[0].assign(size, 1);
        expectRefused(0, "Decompress failed(2)");
    }
    map.layerMap[0] = layer0;
    // An old block that no longer decodes.
    s.project.Write16(MapPageProject::kLayer0 + 3, 0);
    expectRefused(0, "Decompress failed(1)");
    map.layerMap[1].clear();
    expectRefused(1, "This map has no layer 1, so there is nothing of it to save.");
    MapRenderer none(s.project);
    EXPECT_EQ(SaveEditedLayer(none, 0).message, "Please load a map first.");

    // No room: with every entry in use the layer stays where it was.
    map.layerMap[1] = s.Load(MapPageProject::kMapId)->layerMap[1];
    SaveScene::Scramble(map, 1, 300);
    const std::uint32_t pointerPos = map.layerPointerPos[1];
    map.layerPointerPos[1] = 0;
    expectRefused(1, "The new map data can't be reached from the map's header script.");
    map.layerPointerPos[1] = pointerPos;
    const AllocTable empty = s.project.allocTable;
    FillTable(s.project, 0);
    expectRefused(1, "There is not enough free space in the extended ROM to save this map.");

    // After one relocation, a second that finds no room, even with the first block released,
    // keeps the first block and its entry.
    s.project.allocTable = empty;
    ASSERT_TRUE(SaveEditedLayer(map, 1).saved);
    const std::vector<std::uint8_t> saved = map.layerMap[1];
    const AllocEntry first = *UsedEntries(s.project).at(0);
    s.project.allocTable[1] = {first.address + first.size, kAllocLimit - first.address - first.size,
                               0xF00D};
    SaveScene::Scramble(map, 1, 1500, 3);
    expectRefused(1, "There is not enough free space in the extended ROM to save this map.");
    EXPECT_EQ(s.Load(MapPageProject::kMapId)->layerMap[1], saved);
}

TEST(LayerFile, RoundTripShortFilesAndRefusals) {
    SaveScene s;
    s.Open();
    MapRenderer& map = *s.renderer;
    const std::vector<std::uint8_t> original = map.layerMap[0];
    ASSERT_TRUE(ExportLayerFile(map, 0, "layer.map").saved);
    EXPECT_EQ(ReadWholeFile("layer.map"), original);
    // A shorter file replaces the start only, and the layer is drawn again: cell (0, 0) now
    // shows metatile 5 where it showed metatile 0.
    ASSERT_TRUE(WriteWholeFile("short.map", std::vector<std::uint8_t>{5, 0}));
    const std::uint32_t shown = map.layerImages[0].pixels[0];
    ASSERT_TRUE(ImportLayerFile(map, 0, "short.map").saved);
    EXPECT_EQ(map.layerMap[0][0], 5);
    EXPECT_TRUE(std::equal(original.begin() + 2, original.end(), map.layerMap[0].begin() + 2));
    EXPECT_NE(map.layerImages[0].pixels[0], shown);
    ASSERT_TRUE(ImportLayerFile(map, 0, "layer.map").saved);
    EXPECT_EQ(map.layerMap[0], original);

    ASSERT_TRUE(WriteWholeFile("long.map", std::vector<std::uint8_t>(original.size() + 1, 1)));
    std::fclose(std::fopen("empty.map", "wb"));
    EXPECT_EQ(ImportLayerFile(map, 0, "long.map").message, "Map file is too large");
    EXPECT_EQ(ImportLayerFile(map, 0, "empty.map").message, "Map file is zero bytes");
    EXPECT_EQ(ImportLayerFile(map, 0, "missing.map").message, "Could not open file.");
    EXPECT_EQ(map.layerMap[0], original);
    EXPECT_EQ(ExportLayerFile(map, 0, "no/such/folder/a.map").message, "Could not write file.");
    map.layerMap[1].clear();
    EXPECT_EQ(ExportLayerFile(map, 1, "a.map").message, "Please load a map first.");
}
