#include <algorithm>

#include <gtest/gtest.h>

#include "maps/FreeAreaSurvey.h"
#include "maps/MapPageModel.h"
#include "platform/Files.h"
#include "project/Allocator.h"
#include "project/ProjectCommands.h"
#include "tests/maps/MapSaveFixture.h"
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
        page.NewMap(currentProject, prompts);
        SaveScene::Scramble(*page.mapTabRenderer, 0, 50, id);
        page.SaveMap(currentProject, prompts);
        return page.mapTabRenderer->layerMap;
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

}  // namespace

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
        // A sound copy is the table; the walk finds every block again with the bytes a load
        // reads, which of the palette block are its rows 1 to 14.
        const AllocTable& table = currentProject->allocTable;
        for (const AllocEntry& e : savedTable) {
            const auto found = std::find_if(table.begin(), table.end(), [&](const AllocEntry& r) {
                return r.address == e.address;
            });
            ASSERT_NE(found, table.end()) << std::hex << e.address;
            EXPECT_EQ(found->tag, e.tag);
            EXPECT_EQ(found->size, copy == Copy::Kept || e.size != 0x1E0 ? e.size : 0x1C0);
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
