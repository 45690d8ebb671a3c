#include <algorithm>
#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "maps/FreeAreaSurvey.h"
#include "maps/MapPageModel.h"
#include "platform/DataFolder.h"
#include "platform/Files.h"
#include "project/Allocator.h"
#include "project/ProjectCommands.h"
#include "tests/maps/MapSaveFixture.h"
#include "tests/support/FolderContents.h"
#include "tests/support/ScriptedPrompts.h"

namespace {

constexpr std::uint32_t kOtherMapId = 0x0F;  // a script of its own, naming the same blocks
constexpr std::uint32_t kSecondFreeMapId = 0x21;
constexpr std::uint32_t kAlternativeMapId = 0x10;  // its layers only past a flag goto

enum class Copy { Kept, Zeroed, Stale };

// A person at work on the ROM file itself: File > New, the Maps page, ROM > Save As.
class FreeAreaSession : public ::testing::Test {
protected:
    // Maps 0x0E and 0x10 go to 0x0A's script by a flag goto unless "Alternative Map" skips
    // it; skipping it, every map reads its layers by pointers of its own.
    FreeAreaSession() { page.options.alternativeMap = true; }
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

    // The layers that a load of each map shows.
    using Maps = std::map<std::uint32_t, std::array<std::vector<std::uint8_t>, 2>>;
    Maps LoadAll(const std::vector<std::uint32_t>& ids) {
        Maps shown;
        for (const std::uint32_t id : ids) {
            shown[id] = Load(id).layerMap;
            EXPECT_FALSE(shown[id][0].empty() && shown[id][1].empty()) << id;
        }
        return shown;
    }
    Maps LoadAgain(Maps maps) {
        for (auto& [id, layers] : maps) {
            layers = Load(id).layerMap;
        }
        return maps;
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

// Puts a layer block of widthCells x heightCells cells that hold `cell` but for the first
// `varied` of the top row, compressed by the codec so that it is short; returns its length.
std::uint32_t PutSmallLayer(SyntheticImage& image, std::uint32_t at, std::uint32_t widthCells,
                            std::uint32_t heightCells, std::uint16_t cell,
                            std::uint32_t varied = 0) {
    const auto raw =
        SyntheticImage::LayerMap(widthCells, heightCells, [=](std::uint32_t x, std::uint32_t y) {
            return static_cast<std::uint16_t>(y == 0 && x < varied ? x * 7 : cell);
        });
    image.PutLayerBlock(at, widthCells * 16, heightCells * 16, raw);
    return 2 +
           image.PutLzStream(at + 2, static_cast<std::uint32_t>(raw.size()), *CompressData(raw));
}

// Map `id` gets a script of its own at `script`, whose layer 1 is the block at `layerAt`; returns
// the position of the pointer that names it.
std::uint32_t PointMapAt(MapPageProject& data, std::uint32_t id, std::uint32_t layerAt,
                         std::uint32_t script = MapPageProject::kScript + 0x200) {
    HeaderScriptWriter(data.image, script)
        .Layer(1, MapPageProject::kLayer0)
        .Layer(2, layerAt)
        .End();
    data.image.SetMapHeader(id, script);
    return script + 7;
}

// A table copy at 0x400000 whose one entry is {address, size, tag}.
void PutCopyEntry(SyntheticImage& image, std::uint32_t address, std::uint32_t size,
                  std::uint32_t tag) {
    AllocTable table{};
    table[0] = {address, size, tag};
    image.PutBytes(kAllocTableCopyOffset, AllocTableBytes(table));
}

// The maps of the fixture that load layers (0x0E through a flag goto), and free ids.
const std::vector<std::uint32_t> kFixtureMaps{0x0A, 0x0E, 0x0F, 0x10};
const std::vector<std::uint32_t> kNewMaps{0x20, 0x21, 0x24, 0x25};

}  // namespace

// Maps 0x0F and 0x10 read layer 1 from one block of the free area, or 0x10 from a block that
// starts in the last 16 bytes that 0x0F's block begins; with or without a table copy that
// gives the block to 0x0F's pointer. Relocating 0x0F's layer must leave 0x10's block alone
// through later relocations and new maps.
TEST_F(FreeAreaSession, BlockThatTwoPointersNameIsNeverHandedOut) {
    constexpr std::uint32_t kShared = kAllocBase;  // where the first block would go
    for (const bool overlapping : {false, true}) {
        for (const bool taggedCopy : {false, true}) {
            SCOPED_TRACE(overlapping * 2 + taggedCopy);
            MapPageProject data = SixMegabyteMaps();
            // A block whose last granule holds a single byte of it, so that most of that
            // granule is the start of the second block.
            std::uint32_t length = 0;
            for (std::uint32_t varied = 0; length % 16 != 1; ++varied) {
                ASSERT_LT(varied, 64u);
                length = PutSmallLayer(data.image, kShared, 64, 32, 1, varied);
            }
            const std::uint32_t second = overlapping ? kShared + length : kShared;
            if (overlapping) {
                PutSmallLayer(data.image, second, 64, 32, 2);
            }
            const std::uint32_t pointerPos = PointMapAt(data, kOtherMapId, kShared);
            PointMapAt(data, kAlternativeMapId, second, MapPageProject::kScript + 0x240);
            if (taggedCopy) {
                PutCopyEntry(data.image, kShared, (length + 15) / 16 * 16, pointerPos);
            }
            for (const std::uint32_t id : kNewMaps) {
                data.image.SetMapHeader(id, kNoMapHeader);
            }
            data.image.WriteFile("start.smc");

            NewFrom("start.smc");
            EXPECT_TRUE(AllocTableIsSound(currentProject->allocTable));
            Maps expected = LoadAll(kFixtureMaps);
            expected[kOtherMapId][1] = GrowAndSave(kOtherMapId, 1);
            expected[MapPageProject::kMapId][1] = GrowAndSave(MapPageProject::kMapId, 2);
            for (const std::uint32_t id : kNewMaps) {
                expected[id] = NewAndSave(id);
            }
            EXPECT_TRUE(prompts.messages.empty()) << prompts.LastMessage();
            EXPECT_EQ(LoadAgain(expected), expected);
            DestroyCurrentProject();
            page.UnloadMap();
        }
    }
}

// `count` maps from id 0x40 on, each with a script and a layer of its own in the free area, in
// upper halves of banks, which the script's pointer reaches. Returns their ids.
std::vector<std::uint32_t> PutManyMaps(MapPageProject& data, std::uint32_t count) {
    constexpr std::uint32_t kStride = 0x30;
    constexpr std::uint32_t kPerHalf = 0x8000 / kStride;
    std::vector<std::uint32_t> ids;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t script =
            kAllocBase + 0x10000 * (i / kPerHalf) + kStride * (i % kPerHalf);
        EXPECT_LE(PutSmallLayer(data.image, script + 0x10, 16, 16, static_cast<std::uint16_t>(i)),
                  kStride - 0x10);
        HeaderScriptWriter(data.image, script).Layer(2, script + 0x10).End();
        data.image.SetMapHeader(0x40 + i, script);
        ids.push_back(0x40 + i);
    }
    return ids;
}

// More blocks in use than the table has entries: 520 maps with a script and a layer each in
// the free area. Every one of them stays as it is through relocations and new maps.
TEST_F(FreeAreaSession, MoreBlocksThanEntriesAreAllKept) {
    MapPageProject data = SixMegabyteMaps();
    std::vector<std::uint32_t> ids = PutManyMaps(data, 520);
    data.image.WriteFile("start.smc");
    NewFrom("start.smc");
    ids.insert(ids.end(), kFixtureMaps.begin(), kFixtureMaps.end());
    Maps expected = LoadAll(ids);
    expected[MapPageProject::kMapId][1] = GrowAndSave(MapPageProject::kMapId, 1);
    expected[ids.front()][1] = GrowAndSave(ids.front(), 2);
    for (const std::uint32_t id : {MapPageProject::kFreeMapId, kSecondFreeMapId}) {
        expected[id] = NewAndSave(id);
    }
    EXPECT_TRUE(prompts.messages.empty()) << prompts.LastMessage();
    EXPECT_TRUE(AllocTableIsSound(currentProject->allocTable));
    EXPECT_EQ(LoadAgain(expected), expected);
}

// More scripts of maps in the free area than the table has entries: no merge holds them, so
// Save and New refuse, saying why, and write nothing.
TEST_F(FreeAreaSession, AreaThatNoTableHoldsRefusesEveryAllocation) {
    MapPageProject data = SixMegabyteMaps();
    const std::vector<std::uint32_t> ids = PutManyMaps(data, kAllocEntryCount + 6);
    data.image.WriteFile("start.smc");
    NewFrom("start.smc");
    const std::vector<std::uint8_t> image = currentProject->romImage;
    const auto folder = FolderContents(DataFolder());
    const Maps shown = LoadAll({ids.front(), MapPageProject::kMapId});
    GrowAndSave(MapPageProject::kMapId, 1);
    page.mapIdText = std::to_string(MapPageProject::kFreeMapId);
    page.NewMap(currentProject, prompts);
    EXPECT_EQ(
        prompts.messages,
        (std::vector<std::string>{std::string(kUnrecordableAreaText) + "\nNothing was saved.",
                                  std::string(kUnrecordableAreaText) + "\nNo new map was made."}));
    EXPECT_EQ(currentProject->romImage, image);
    EXPECT_EQ(FolderContents(DataFolder()), folder);
    EXPECT_EQ(LoadAgain(shown), shown);
}

// A copy whose one entry claims the whole free area for a pointer that names its start, from a
// script that a map runs or from one that none runs, is trusted only as far as the block there
// reaches: the area stays usable.
TEST_F(FreeAreaSession, CopyEntryIsTrustedOnlyAsFarAsItsBlockReaches) {
    for (const bool reached : {true, false}) {
        MapPageProject data = SixMegabyteMaps();
        const std::uint32_t length = PutSmallLayer(data.image, kAllocBase, 64, 32, 1);
        const std::uint32_t pointerPos = PointMapAt(data, kOtherMapId, kAllocBase);
        const std::uint32_t orphan = MapPageProject::kScript + 0x280;
        HeaderScriptWriter(data.image, orphan).Layer(2, kAllocBase).End();
        PutCopyEntry(data.image, kAllocBase, kAllocLimit - kAllocBase,
                     reached ? pointerPos : orphan + 2);
        data.image.WriteFile("start.smc");

        NewFrom("start.smc");
        const AllocEntry trusted{kAllocBase, (length + 15) / 16 * 16, pointerPos};
        EXPECT_EQ(std::count(currentProject->allocTable.begin(), currentProject->allocTable.end(),
                             trusted),
                  1);
        Maps expected = LoadAll(kFixtureMaps);
        expected[MapPageProject::kMapId][1] = GrowAndSave(MapPageProject::kMapId, 1);
        expected[kOtherMapId][1] = GrowAndSave(kOtherMapId, 2);
        EXPECT_TRUE(prompts.messages.empty()) << prompts.LastMessage();
        EXPECT_EQ(LoadAgain(expected), expected);
        page.UnloadMap();
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
        {entry(1, 0), first.address},      // overlaps entry 0
        {entry(0, 1), first.size - 8},     // not a multiple of 16
        {entry(0, 1), 0},                  // used but empty
        {entry(5, 2), 0x1234},             // a free entry with a tag
        {entry(0, 2), second.tag},         // a tag that leads elsewhere
        {entry(0, 2), 0},                  // a block nothing leads to
        {entry(0, 0), 0x600000},           // outside the free area
        {entry(0, 0), kAllocBase - 0x10},  // below it
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
    constexpr std::uint32_t kS = 0x428000;  // the scripts, then a piece, then the blocks
    constexpr std::uint32_t kPiece = 0x428100;
    constexpr std::uint32_t kA = 0x438000;
    constexpr std::uint32_t kB = 0x448000;
    struct Case {
        const char* name;
        std::function<void(SyntheticImage&)> build;
        std::vector<AllocEntry> found;  // tags: map ids, below 0x100, stand for their entries
    };
    const auto r = [](std::uint32_t size) { return (size + 15) / 16 * 16; };
    const std::vector<std::uint8_t> cells(0x400, 7);
    SyntheticImage layers(SyntheticImage::k6MB);
    const std::uint32_t a = r(layers.PutLayerBlock(kA, 1024, 512, cells));
    const std::uint32_t b = r(layers.PutLayerBlock(kB, 512, 512, cells));
    const Case cases[] = {
        {"maps at one looping script",
         [](SyntheticImage& image) {
             image.SetScriptPiece(0, kS);
             HeaderScriptWriter(image, kS).Layer(1, kA).GotoUnlessCalled(0);
             image.SetMapHeader(0x0A, kS);
             image.SetMapHeader(0x0B, kS);
         },
         {{kS, 16, 0x0A}, {kS, 16, 0x0B}, {kA, a, kS + 2}}},
        {"a piece called four times",
         [](SyntheticImage& image) {
             image.SetScriptPiece(1, kPiece);
             HeaderScriptWriter(image, kPiece).Return();
             HeaderScriptWriter(image, kS).Call(1).Call(1).Call(1).Call(1).Layer(1, kA).End();
             image.SetMapHeader(0x0A, kS);
         },
         {{kS, 16, 0x0A},
          {kPiece, 16, 0},
          {kS + 4, 16, 0},
          {kS + 8, 16, 0},
          {kS + 12, 16, 0},
          {kS + 16, 16, 0},
          {kA, a, kS + 18}}},
        {"a loop its script runs into",
         [](SyntheticImage& image) {
             image.SetScriptPiece(2, kS + 9);
             HeaderScriptWriter(image, kS)
                 .Layer(1, kA)
                 .GotoUnlessCalled(2)
                 .Layer(2, kB)
                 .GotoUnlessCalled(2);
             image.SetMapHeader(0x0A, kS);
         },
         {{kS, 32, 0x0A}, {kS + 9, 16, 0}, {kA, a, kS + 2}, {kB, b, kS + 11}}},
        {"a loop that jumps to its next command",
         [](SyntheticImage& image) {
             image.SetScriptPiece(4, kS + 9);
             image.SetScriptPiece(5, kS);
             HeaderScriptWriter(image, kS)
                 .Layer(1, kA)
                 .GotoUnlessCalled(4)
                 .Layer(2, kB)
                 .Layer(1, kA)
                 .GotoUnlessCalled(5);
             image.SetMapHeader(0x0A, kS);
         },
         {{kS, 32, 0x0A}, {kA, a, kS + 2}, {kB, b, kS + 11}, {kA, a, kS + 16}}},
        {"a flag goto in a script of two maps",
         [](SyntheticImage& image) {
             image.SetScriptPiece(3, kPiece);
             HeaderScriptWriter(image, kPiece).Layer(2, kB).End();
             HeaderScriptWriter(image, kS).FlagGoto(1, 3).Layer(1, kA).End();
             image.SetMapHeader(0x0A, kS);
             image.SetMapHeader(0x0B, kS);
         },
         {{kS, 16, 0x0A}, {kPiece, 16, 0}, {kS, 16, 0x0B}, {kB, b, kPiece + 2}, {kA, a, kS + 8}}},
        {"a layer named as an LZ block too, which its head is not",
         [](SyntheticImage& image) {
             HeaderScriptWriter(image, kS).Layer(1, kA).Metatiles(0, 8, 0, 1, kA).End();
             image.SetMapHeader(0x0A, kS);
         },
         {{kS, 16, 0x0A}, {kA, a, kS + 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SyntheticImage image = layers;
        c.build(image);
        ProjectContext project;
        ASSERT_NE(ImportRom(project, image.Bytes()), kRegionNone);
        std::vector<AllocEntry> expected = c.found;
        for (AllocEntry& e : expected) {
            if (e.tag != 0 && e.tag < 0x100) {
                e.tag = MapHeaderEntryOffset(project, e.tag);
            }
        }
        EXPECT_EQ(FindUsedFreeAreaBlocks(project), expected);
    }
}
