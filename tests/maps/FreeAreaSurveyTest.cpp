#include <algorithm>
#include <map>

#include <gtest/gtest.h>

#include "maps/FreeAreaSurvey.h"
#include "maps/MapPageModel.h"
#include "platform/Files.h"
#include "project/Allocator.h"
#include "project/ProjectCommands.h"
#include "tests/maps/MapSaveFixture.h"
#include "tests/support/DataFolderContents.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

constexpr std::uint32_t kOtherMapId = 0x0F;  // a script of its own, naming the same blocks
constexpr std::uint32_t kSecondFreeMapId = 0x21;
constexpr std::uint32_t kAlternativeMapId = 0x10;  // its layers only past a flag goto

enum class Copy { Kept, Zeroed, Stale };

// A person at work on the ROM file itself: File > New, the Maps page, ROM > Save As.
class FreeAreaSession : public ::testing::Test {
protected:
    void TearDown() override { DestroyCurrentProject(); }

    void NewFrom(const std::string& file) {
        prompts.fileAnswers.push_back(file);
        prompts.yesNoAnswers.push_back(true);
        ASSERT_TRUE(NewProjectCommand(prompts, RecordUsedFreeArea));
    }
    void SaveRomAs(const std::string& file) {
        prompts.fileAnswers.push_back(file);
        SaveRomAsCommand(prompts);
    }
    MapRenderer& Load(std::uint32_t id) {
        page.mapIdText = std::to_string(id);
        page.LoadMap(currentProject, prompts);
        return *page.mapTabRenderer;
    }
    // Layer 1 edited until it no longer fits, then saved.
    std::vector<std::uint8_t> GrowAndSave(std::uint32_t id, std::uint32_t seed) {
        MapRenderer& map = Load(id);
        page.state.editLayer = 1;
        SaveScene::Scramble(map, 1, 400 + 100 * seed, seed);
        page.SaveMap(currentProject, prompts);
        return map.layerMap[1];
    }
    std::array<std::vector<std::uint8_t>, 2> NewAndSave(std::uint32_t id) {
        page.mapIdText = std::to_string(id);
        const std::size_t told = prompts.messages.size();
        page.NewMap(currentProject, prompts);
        if (prompts.messages.size() != told) {
            return {};  // refused: nothing to save
        }
        SaveScene::Scramble(*page.mapTabRenderer, 0, 50, id);
        page.SaveMap(currentProject, prompts);
        return page.mapTabRenderer->layerMap;
    }

    // File > New of `data`'s image, layer 1 of `grown` relocated, 0x20 and 0x21 made; then every
    // map (`maps`, 0x0A, 0x0E, 0x0F, 0x10) loads as saved, or, `refused`, each Save and New says
    // why and image and data folder stay byte for byte as they were.
    void Route(MapPageProject data, std::vector<std::uint32_t> maps,
               std::array<std::uint32_t, 2> grown, bool refused = false) {
        data.image.WriteFile("start.smc");
        NewFrom("start.smc");
        EXPECT_TRUE(AllocTableIsSound(currentProject->allocTable));
        const std::vector<std::uint8_t> image = currentProject->romImage;
        const auto folder = DataFolderContents();
        page.options.alternativeMap = true;  // 0x0E and 0x10 then read layers of their own
        maps.insert(maps.end(), {0x0A, 0x0E, 0x0F, 0x10});
        std::map<std::uint32_t, std::array<std::vector<std::uint8_t>, 2>> shown;
        for (const std::uint32_t id : maps) {
            shown[id] = Load(id).layerMap;
            // Refused, the maps whose scripts the table could not hold are not shown.
            EXPECT_TRUE(refused || !shown[id][0].empty() || !shown[id][1].empty()) << id;
        }
        auto saved = shown;
        saved[grown[0]][1] = GrowAndSave(grown[0], 1);
        saved[grown[1]][1] = GrowAndSave(grown[1], 2);
        for (const std::uint32_t id : {MapPageProject::kFreeMapId, kSecondFreeMapId}) {
            saved[id] = NewAndSave(id);
        }
        const std::string why = std::string(kUnrecordableAreaText) + "\n";
        std::vector<std::string> told(refused ? 2 : 0, why + "Nothing was saved.");
        told.resize(2 * told.size(), why + "No new map was made.");
        EXPECT_EQ(prompts.messages, told);
        if (refused) {
            EXPECT_EQ(currentProject->romImage, image);
            EXPECT_EQ(DataFolderContents(), folder);
            saved = shown;
        }
        for (const auto& [id, layers] : saved) {
            EXPECT_EQ(Load(id).layerMap, layers) << id;
        }
        DestroyCurrentProject();
        page.UnloadMap();
        prompts.messages.clear();
    }

    ScriptedPrompts prompts;
    MapPageModel page;
};

MapPageProject SixMegabyteMaps() {
    MapPageProject data(SyntheticImage::k6MB);
    const std::uint32_t script = MapPageProject::kScript + 0xC0;
    HeaderScriptWriter(data.image, script)
        .Palette(16, 16, MapPageProject::kPalette)
        .Tiles(1, 0, MapPageProject::kTiles, 0)
        .Metatiles(0, 8, 0, 1, MapPageProject::kMetatiles)
        .Layer(1, MapPageProject::kLayer0)
        .Layer(2, MapPageProject::kLayer1)
        .End();
    data.image.SetMapHeader(kOtherMapId, script);
    data.image.PutObjectList(kOtherMapId, SyntheticImage::ObjectBank::A, 0x9500,
                             ObjectListBytes().Head(0x0200).End());
    data.image.SetMapHeader(kSecondFreeMapId, kNoMapHeader);
    HeaderScriptWriter(data.image, MapPageProject::kScript + 0xE8)
        .FlagGoto(0, 0)
        .Layer(1, MapPageProject::kLayer0)
        .Layer(2, MapPageProject::kLayer1)
        .End();
    data.image.SetMapHeader(kAlternativeMapId, MapPageProject::kScript + 0xE8);
    data.image.PutObjectList(kAlternativeMapId, SyntheticImage::ObjectBank::A, 0x9400,
                             ObjectListBytes().Head(0x0200).End());
    return data;
}

// Puts a layer block of 16 x 16 cells that hold `cell`, compressed by the codec so that it is
// short; returns its length.
std::uint32_t PutSmallLayer(SyntheticImage& image, std::uint32_t at, std::uint32_t cell) {
    const auto raw =
        SyntheticImage::LayerMap(16, 16, [=](std::uint32_t, std::uint32_t) { return cell; });
    image.PutLayerBlock(at, 256, 256, raw);
    return 2 +
           image.PutLzStream(at + 2, static_cast<std::uint32_t>(raw.size()), *CompressData(raw));
}

}  // namespace

// Maps 0x0F and 0x10 read layer 2 from one block of the free area, or 0x10 from one that starts
// a byte into the last 16 of 0x0F's; the table copy may give 0x0F's block, or the whole area, to
// 0x0F's pointer or to that of a script no map runs. A block that two pointers name is never
// handed out, and a copy entry is trusted only as far as the walk measures its block.
TEST_F(FreeAreaSession, SharedBlocksAndCopyEntriesKeepWhatMapsUse) {
    constexpr std::uint32_t kS = MapPageProject::kScript + 0x200;  // of 0x0F, 0x10 and no map
    constexpr std::uint32_t kWhole = kAllocLimit - kAllocBase;
    // Whether 0x10's block is another, the copy's size (0: none, 1: the block's), its tag.
    const std::tuple<bool, std::uint32_t, std::uint32_t> cases[] = {
        {false, 0, 0},     {false, 1, kS + 2},      {true, 0, 0},
        {true, 1, kS + 2}, {false, kWhole, kS + 2}, {false, kWhole, kS + 0x82}};
    for (const auto& [overlapping, copySize, copyTag] : cases) {
        SCOPED_TRACE(testing::Message() << overlapping << ' ' << copySize << ' ' << copyTag);
        MapPageProject data = SixMegabyteMaps();
        const std::uint32_t length = PutSmallLayer(data.image, kAllocBase, 1);
        ASSERT_EQ(length % 16, 1u);
        const std::uint32_t second = overlapping ? kAllocBase + length : kAllocBase;
        PutSmallLayer(data.image, kAllocBase + length, 2);
        HeaderScriptWriter(data.image, kS).Layer(2, kAllocBase).End();
        HeaderScriptWriter(data.image, kS + 0x40).Layer(2, second).End();
        HeaderScriptWriter(data.image, kS + 0x80).Layer(2, kAllocBase).End();
        data.image.SetMapHeader(kOtherMapId, kS);
        data.image.SetMapHeader(kAlternativeMapId, kS + 0x40);
        AllocTable copy{};  // all zeros: no copy
        copy[0] = {copySize != 0 ? kAllocBase : 0,
                   copySize == 1 ? (length + 15) / 16 * 16 : copySize, copyTag};
        data.image.PutBytes(kAllocTableCopyOffset, AllocTableBytes(copy));
        Route(data, {}, {kOtherMapId, MapPageProject::kMapId});
    }
}

// More blocks in use than the table has entries: maps from 0x40 on with a script and a layer
// each in the free area. 520 such maps are merged into the table and kept as they are; with
// more scripts than entries no merge holds them, and every Save and New is refused.
TEST_F(FreeAreaSession, MoreBlocksThanEntriesAreMergedOrRefused) {
    // 0x30 bytes for each map, in upper halves of banks, which pointers reach.
    constexpr std::uint32_t kPerHalf = 0x8000 / 0x30;
    for (const std::uint32_t count : {520u, std::uint32_t{kAllocEntryCount} + 6}) {
        MapPageProject data = SixMegabyteMaps();
        std::vector<std::uint32_t> maps;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t at = kAllocBase + 0x10000 * (i / kPerHalf) + 0x30 * (i % kPerHalf);
            ASSERT_LE(PutSmallLayer(data.image, at + 0x10, i), 0x20u);
            HeaderScriptWriter(data.image, at).Layer(2, at + 0x10).End();
            data.image.SetMapHeader(0x40 + i, at);
            maps.push_back(0x40 + i);
        }
        Route(data, maps, {MapPageProject::kMapId, 0x40}, count != 520);
    }
}

// An image saved with relocated layers and new maps, opened again with its table copy as saved,
// without one (edited before the copy was kept up to date) or with a copy that only the first
// relocation wrote: nothing saved is handed out again.
TEST_F(FreeAreaSession, ReopenedImageKeepsTheBlocksItUses) {
    for (const Copy copy : {Copy::Kept, Copy::Zeroed, Copy::Stale}) {
        SCOPED_TRACE(static_cast<int>(copy));
        SixMegabyteMaps().image.WriteFile("start.smc");
        NewFrom("start.smc");
        const auto layer = GrowAndSave(MapPageProject::kMapId, 1);
        const std::vector<std::uint8_t> firstCopy(
            currentProject->romImage.begin() + kAllocTableCopyOffset,
            currentProject->romImage.begin() + kAllocTableCopyOffset + 0x3000);
        const auto newMap = NewAndSave(MapPageProject::kFreeMapId);
        SaveRomAs("saved.smc");
        const AllocTable savedTable = currentProject->allocTable;

        auto saved = *ReadWholeFile("saved.smc");
        if (copy != Copy::Kept) {
            for (std::size_t i = 0; i < firstCopy.size(); ++i) {
                saved[kAllocTableCopyOffset + i] = copy == Copy::Zeroed ? 0 : firstCopy[i];
            }
        }
        ASSERT_TRUE(WriteWholeFile("saved.smc", saved));
        NewFrom("saved.smc");
        EXPECT_EQ(currentProject->romImage, saved);  // opening writes nothing
        EXPECT_TRUE(AllocTableIsSound(currentProject->allocTable));
        // Copy or not, every block is found again with the bytes a load reads, which of the
        // palette block are its rows 1 to 14: a copy is trusted only that far.
        const AllocTable& table = currentProject->allocTable;
        for (const AllocEntry& e : savedTable) {
            const auto found = std::find_if(table.begin(), table.end(), [&](const AllocEntry& r) {
                return r.address == e.address;
            });
            ASSERT_NE(found, table.end()) << std::hex << e.address;
            EXPECT_EQ(found->tag, e.tag);
            EXPECT_EQ(found->size, e.size != 0x1E0 ? e.size : 0x1C0);
        }

        const auto other = GrowAndSave(kOtherMapId, 2);
        const auto secondNewMap = NewAndSave(kSecondFreeMapId);
        EXPECT_EQ(Load(MapPageProject::kMapId).layerMap[1], layer);
        EXPECT_EQ(Load(MapPageProject::kFreeMapId).layerMap, newMap);
        EXPECT_EQ(Load(kOtherMapId).layerMap[1], other);
        EXPECT_EQ(Load(kSecondFreeMapId).layerMap, secondNewMap);
        // Every change of the table reached its copy.
        EXPECT_EQ(AllocTableBytes(currentProject->allocTable),
                  std::vector<std::uint8_t>(
                      currentProject->romImage.begin() + kAllocTableCopyOffset,
                      currentProject->romImage.begin() + kAllocTableCopyOffset + 0x3000));
        DestroyCurrentProject();
        page.UnloadMap();
    }
}

// A copy that breaks any of its rules is not used; the walk alone then finds the blocks.
TEST_F(FreeAreaSession, MalformedCopyIsNotUsed) {
    SixMegabyteMaps().image.WriteFile("start.smc");
    NewFrom("start.smc");
    GrowAndSave(MapPageProject::kMapId, 1);
    NewAndSave(MapPageProject::kFreeMapId);
    ProjectContext& project = *currentProject;
    const auto sound = ReadAllocTableCopy(project);
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(*sound, project.allocTable);
    ASSERT_NE(project.allocTable[1].address, 0u);

    const auto entry = [&](std::size_t index, std::size_t field) {
        return kAllocTableCopyOffset + 12 * static_cast<std::uint32_t>(index) +
               4 * static_cast<std::uint32_t>(field);
    };
    const AllocEntry first = project.allocTable[0];
    const AllocEntry second = project.allocTable[1];
    const std::pair<std::uint32_t, std::uint32_t> breaks[] = {
        {entry(1, 0), first.address},             // overlaps entry 0
        {entry(0, 1), first.size - 8},            // not a multiple of 16
        {entry(0, 1), 0},                         // used but empty
        {entry(5, 2), 0x1234},                    // a free entry with a tag
        {entry(0, 2), second.tag},                // a tag that leads elsewhere
        {entry(0, 2), 0},                         // a block nothing leads to
        {entry(0, 0), 0x600000},                  // outside the free area
        {entry(0, 0), kAllocBase - 0x10},         // below it
    };
    for (const auto& [at, value] : breaks) {
        SCOPED_TRACE(at);
        const std::uint32_t old = GetU32(project.romImage, at);
        PutU32(project.romImage, at, value);
        EXPECT_FALSE(ReadAllocTableCopy(project).has_value());
        PutU32(project.romImage, at, old);
    }
    ASSERT_TRUE(ReadAllocTableCopy(project).has_value());
}

// A layer that only "Alternative Map" reaches (past a flag goto) is found by the walk as well.
TEST_F(FreeAreaSession, BlocksPastAFlagGotoAreKept) {
    SixMegabyteMaps().image.WriteFile("start.smc");
    NewFrom("start.smc");
    page.options.alternativeMap = true;
    GrowAndSave(kAlternativeMapId, 1);
    const AllocEntry relocated = currentProject->allocTable[0];
    ASSERT_NE(relocated.address, 0u);

    currentProject->allocTable = {};
    std::fill_n(currentProject->romImage.begin() + kAllocTableCopyOffset, 0x3000, 0);
    RecordUsedFreeArea(*currentProject);
    EXPECT_EQ(currentProject->allocTable[0], relocated);
}

// Scripts that a walk reaches many times (shared by maps, looping, calling one piece again and
// again), each block of the free area found once, as often as its tags differ: what walking
// each map on its own would find.
TEST(FreeAreaWalk, EachBlockOnceWithEveryTag) {
    constexpr std::uint32_t kS = 0x428000;  // the scripts, 0x40 apart, then pieces from 0x200 on
    constexpr std::uint32_t kA = 0x438000;
    constexpr std::uint32_t kB = 0x448000;
    SyntheticImage image(SyntheticImage::k6MB);
    const std::vector<std::uint8_t> cells(0x400, 7);
    const std::uint32_t a = (image.PutLayerBlock(kA, 1024, 512, cells) + 15) / 16 * 16;
    const std::uint32_t b = (image.PutLayerBlock(kB, 512, 512, cells) + 15) / 16 * 16;
    const std::uint32_t scriptOf[] = {0, 0, 0x40, 0x80, 0xC0, 0x100, 0x100, 0x140};
    for (std::uint32_t i = 0; i < std::size(scriptOf); ++i) {
        image.SetMapHeader(0x0A + i, kS + scriptOf[i]);
    }
    const auto at = [&](std::uint32_t offset) { return HeaderScriptWriter(image, kS + offset); };
    image.SetScriptPiece(0, kS);  // maps 0x0A and 0x0B: one looping script
    at(0).Layer(1, kA).GotoUnlessCalled(0);
    image.SetScriptPiece(1, kS + 0x200);  // 0x0C: a piece called four times
    at(0x200).Return();
    at(0x40).Call(1).Call(1).Call(1).Call(1).Layer(1, kA).End();
    image.SetScriptPiece(2, kS + 0x89);  // 0x0D: a loop that its script runs into
    at(0x80).Layer(1, kA).GotoUnlessCalled(2).Layer(2, kB).GotoUnlessCalled(2);
    image.SetScriptPiece(4, kS + 0xC9);  // 0x0E: a loop that jumps to its next command
    image.SetScriptPiece(5, kS + 0xC0);
    at(0xC0).Layer(1, kA).GotoUnlessCalled(4).Layer(2, kB).Layer(1, kA).GotoUnlessCalled(5);
    image.SetScriptPiece(3, kS + 0x240);  // 0x0F and 0x10: a flag goto
    at(0x240).Layer(2, kB).End();
    at(0x100).FlagGoto(1, 3).Layer(1, kA).End();
    // 0x11: a layer named as an LZ block too, which its head is not.
    at(0x140).Layer(1, kA).Metatiles(0, 8, 0, 1, kA).End();

    ProjectContext project;
    ASSERT_NE(ImportRom(project, image.Bytes()), kRegionNone);
    const auto map = [&](std::uint32_t id) { return MapHeaderEntryOffset(project, id); };
    const std::vector<AllocEntry> found{
        {kS, 16, map(0x0A)}, {kS, 16, map(0x0B)},         {kS + 0x40, 16, map(0x0C)},
        {kS + 0x200, 16, 0}, {kS + 0x44, 16, 0},          {kS + 0x48, 16, 0},
        {kS + 0x4C, 16, 0},  {kS + 0x50, 16, 0},          {kS + 0x80, 32, map(0x0D)},
        {kS + 0x89, 16, 0},  {kS + 0xC0, 32, map(0x0E)},  {kS + 0x100, 16, map(0x0F)},
        {kS + 0x240, 16, 0}, {kS + 0x100, 16, map(0x10)}, {kS + 0x140, 16, map(0x11)},
        {kA, a, kS + 2},     {kA, a, kS + 0x52},          {kA, a, kS + 0x82},
        {kB, b, kS + 0x8B},  {kA, a, kS + 0xC2},          {kB, b, kS + 0xCB},
        {kA, a, kS + 0xD0},  {kB, b, kS + 0x242},         {kA, a, kS + 0x108},
        {kA, a, kS + 0x142}};
    EXPECT_EQ(FindUsedFreeAreaBlocks(project), found);
}
