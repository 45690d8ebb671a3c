#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/FormatText.h"
#include "project/ConditionalDestination.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "scripts/GameTextEncoder.h"
#include "scripts/ScriptDisassembler.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"
#include "tests/support/TraceCapture.h"
#include "tests/tools/PatchFiles.h"
#include "tools/PatchFiles.h"
#include "tools/Randomizer.h"
#include "tools/RandomizerTables.h"

using Region = SyntheticImage::Region;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

namespace {

std::unique_ptr<ProjectContext> Imported(const SyntheticImage& image) {
    auto project = std::make_unique<ProjectContext>();
    EXPECT_NE(ImportRom(*project, image.Bytes()), kRegionNone);
    return project;
}

ChestRecord Chest(std::uint8_t kind, std::uint16_t item, std::uint16_t id) {
    return {0, 1, 2, kind, static_cast<std::uint16_t>(kind == 0x80 ? 0xABCD : 0), item, id};
}

std::string TreeText(const ScriptTreeNode& node) {
    std::string text = node.text + "\n";
    for (const ScriptTreeNode& child : node.children) {
        text += TreeText(child);
    }
    return text;
}

// The randomizer's data folder in the test's scratch folder, emptied, with its "asm" subfolder.
fs::path ScratchFolder() {
    setenv("XDG_DATA_HOME", fs::current_path().c_str(), 1);
    const fs::path folder = DataSubfolder(kRandomizerDataFolder);
    fs::remove_all(folder);
    fs::create_directories(folder / "asm");
    return folder;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Fixed changes of the whole shape, a comment after each write: 74 writes of 193 bytes in step
// 1, 45 of 113 bytes and the 243-byte message in step 3, the two routines in step 9. Writes whose
// step or offset is `drop` are left out.
std::string FixedText(std::uint32_t drop = ~0u) {
    std::ostringstream text;
    const auto line = [&](std::uint32_t step, std::uint32_t offset, int size) {
        if (step != drop && offset != drop) {
            text << std::hex << step << ' ' << offset;
            for (int i = 0; i < size; ++i) {
                text << " 6B";
            }
            text << "  # step " << step << '\n';
        }
    };
    for (std::uint32_t i = 0; i < 74 + 45; ++i) {
        line(i < 74 ? 1 : 3, 0x2B000 + 0x20 * i, i < 45 || (i >= 74 && i < 74 + 23) ? 3 : 2);
    }
    line(3, 0x178100, 243);
    line(9, 0xE1FAB0, 21);
    line(9, 0x88CD63, 85);
    return text.str();
}

// Every patch file in the randomizer's scratch data folder but those in `without`: the fixed
// changes `fixed`, the credits', ItemAdd.bin, and 3 bytes of its own in each ASM file.
fs::path PatchFolder(const std::vector<std::string>& without,
                     const std::string& fixed = FixedText()) {
    const fs::path folder = ScratchFolder();
    WriteFile(folder / kRandomizerFixedFile, fixed);
    WriteFile(folder / "credits_new.bin", "\x66\x66");
    WriteFile(folder / "asm/credits_patch.bin", "\x33\x33");
    WriteFile(folder / "asm/ItemAdd.bin", "\x44\x44\x44\x44");
    for (std::size_t i = 0; i < kAsmPatchFiles.size(); ++i) {
        WriteFile(folder / "asm" / kAsmPatchFiles[i].name, std::string(3, char(0x10 + i)));
    }
    for (const std::string& name : without) {
        fs::remove_all(folder / name);
    }
    return folder;
}

// A run of the randomizer's patches from `folder`, which it must leave as it was: the image after.
Bytes Randomize(ProjectContext& project, const fs::path& folder, bool asmPatches,
                ScriptedPrompts& prompts) {
    const auto data = DataFolderContents();
    RandomizerGenerator rng(1);
    ApplyRandomizerPatches(project, rng, prompts, asmPatches, folder);
    EXPECT_EQ(DataFolderContents(), data);
    return project.romImage;
}

}  // namespace

// The tests below take their places and records from these tables; here they are checked
// against the game's values, written out apart from the product's copy.
TEST(Randomizer, TablesHoldTheGamesValues) {
    EXPECT_EQ(RandomizerFillerItems, (std::array<std::uint16_t, 6>{11, 13, 18, 21, 15, 14}));
    const std::pair<const char*, std::uint32_t> places[] = {
        {"Ra Tree", 0x10AE70},   {"Grecliff", 0x10B450},      {"Zue", 0x10B55C},
        {"Eklemata", 0x10F430},  {"Mermaid Tower", 0x139825}, {"Castle", 0x11ACA8},
        {"Great Lake", 0xFA69A}, {"Lab", 0x13ED0E},           {"Airsrock", 0x1789BA},
        {"Neo Tokyo", 0x13A65C}, {"Louran", 0x138CD9},        {"Northpole", 0x9F024}};
    for (std::size_t i = 0; i < RumourPlaces.size(); ++i) {
        EXPECT_EQ(RumourPlaces[i].name, places[i].first) << i;
        EXPECT_EQ(RumourPlaces[i].markerOffset, places[i].second) << i;
    }
    const decltype(BossExitDestinations) bosses = {{
        {0x40, 0x01, 0x00, 0x66, 0x80, 0x00, 0xB0, 0x00},
        {0x4D, 0x01, 0x00, 0x60, 0xF0, 0x00, 0xC0, 0x01},
        {0x6F, 0x01, 0x00, 0x66, 0x78, 0x00, 0xB0, 0x00},
        {0x8B, 0x01, 0x00, 0x26, 0x78, 0x00, 0xB0, 0x00},
        {0x77, 0x02, 0x04, 0x00, 0xF0, 0x00, 0x30, 0x01},
        {0x31, 0x02, 0x00, 0x06, 0xF8, 0x00, 0xD0, 0x01},
        {0x4C, 0x02, 0x00, 0x00, 0x90, 0x00, 0xB0, 0x00},
        {0x20, 0x02, 0x00, 0x0E, 0x70, 0x00, 0x30, 0x00},
    }};
    EXPECT_EQ(BossExitDestinations, bosses);
}

TEST(Randomizer, ChestItemsMeetTheQuotasAndLeaveTheRestAlone) {
    SyntheticImage image;
    image.Put8(image.Table(RegionTable::ChestDataBank), 0xFF);  // every other map: no chests
    std::vector<ChestRecord> first{Chest(0, 49, 0x20), Chest(0, 130, 0x80), Chest(0, 0x8082, 0x21),
                                   Chest(8, 5, 0x22)};
    std::vector<ChestRecord> second{Chest(0x80, 140, 0x30), Chest(8, 131, 0x31)};
    for (std::uint16_t i = 0; i < 10; ++i) {
        second.push_back(Chest(0, static_cast<std::uint16_t>(128 + i), 0x40 + i));
        second.push_back(Chest(0, static_cast<std::uint16_t>(160 + i), 0x60 + i));
    }
    image.PutChestList(3, 0x1000, first);
    image.PutChestList(700, 0x2000, second);
    auto project = Imported(image);
    const Bytes before = project->romImage;

    RandomizerGenerator rng(7);
    std::string message;
    const auto collected = RandomizeChestItems(*project, rng, message);
    EXPECT_EQ(message, "");
    EXPECT_EQ(collected.size(), first.size() + second.size() - 1);

    const auto after = WalkChests(*project).chests;
    ASSERT_EQ(after.size(), first.size() + second.size());
    // The excluded weapon, the gems and the plain item keep every byte (kind 0x08 included).
    for (std::size_t i = 1; i < 4; ++i) {
        const std::uint32_t at = after[i].record.offset;
        EXPECT_TRUE(std::equal(before.begin() + at, before.begin() + at + 7,
                               project->romImage.begin() + at));
    }
    std::map<std::uint16_t, int> items;
    for (std::size_t i = 4; i < after.size(); ++i) {
        const ChestRecord& c = after[i].record;
        ++items[c.itemWord];
        EXPECT_LT(c.itemWord, 128);
        EXPECT_EQ(c.chestId, second[i - 4].chestId);
        EXPECT_EQ(c.kind, second[i - 4].kind == 0x80 ? 0x80 : 0x00);
    }
    // One carrot stood already: six weapons in walk order become carrots, the 9-byte one first.
    EXPECT_EQ(after[4].record.itemWord, 49);
    EXPECT_EQ(after[4].record.extraWord, 0xABCD);
    EXPECT_EQ(after[5].record.itemWord, 49);
    EXPECT_EQ(items[49], 6);
    EXPECT_EQ(items[27], 8);
    int fillers = 0;
    for (const std::uint16_t f : RandomizerFillerItems) {
        fillers += items[f];
    }
    EXPECT_EQ(fillers, 12 - 6 + 10 - 8);

    // An unknown kind anywhere stops the walk before any change.
    image.PutChestList(1000, 0x3000, std::vector{Chest(0x40, 1, 0x50)});
    project = Imported(image);
    EXPECT_TRUE(WalkChests(*project).unknownFlag);
    RandomizeChestItems(*project, rng, message);
    EXPECT_EQ(message, kUnknownChestFlag);
    EXPECT_EQ(project->romImage, image.Bytes());
}

TEST(Randomizer, ChestTexts) {
    const struct {
        ChestRecord chest;
        const char* text;
    } cases[] = {{Chest(0, 0x8123, 1), "1A5|123"},
                 {Chest(0, 0x0131, 1), "1A5|Carrot"},
                 {Chest(0x80, 0x01BD, 1), "1A5|Pro Armr"},
                 {Chest(0, 0x00C4, 1), "1A5|Item 196"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ChestComboText({c.chest, 0x1A5}), c.text);
    }
}

TEST(Randomizer, RumourMarksFivePlacesAndNamesThem) {
    for (const unsigned seed : {1u, 2u, 3u, 99u}) {
        auto project = Imported(SyntheticImage());
        RandomizerGenerator rng(seed);
        ASSERT_EQ(WriteRumour(*project, rng), "");
        std::vector<std::string> valuable;
        int others = 0;
        for (const RumourPlace& place : RumourPlaces) {
            const std::uint8_t marker = project->Read8(place.markerOffset);
            if (marker == 0x4C) {
                valuable.emplace_back(place.name);
            }
            others += marker == 0x17;
        }
        ASSERT_EQ(valuable.size(), 5u);
        EXPECT_EQ(others, 7);

        ScriptReader reader(*project);
        ScriptTreeNode root;
        DisassembleScript(reader, root, kRumourScriptAddress, {.root = true, .writeLog = false});
        const std::string text = TreeText(root);
        std::size_t at = text.find("There is a rumor");
        ASSERT_NE(at, std::string::npos) << text;
        for (const std::string& name : valuable) {
            at = text.find(name, at);
            EXPECT_NE(at, std::string::npos) << name << "\n" << text;
        }
    }
}

TEST(Randomizer, FixedOffsetOperationsRefuseSmallImages) {
    auto project = Imported(SyntheticImage(SyntheticImage::k1MB, Region::German));
    const Bytes before = project->romImage;
    RandomizerGenerator rng(1);
    ScriptedPrompts prompts;
    EXPECT_NE(WriteRumour(*project, rng), "");
    EXPECT_FALSE(ApplyBingoPatch(*project));
    ApplyRandomizerPatches(*project, rng, prompts, true, ScratchFolder());
    project->exitLists[2].push_back({1, 1, 1, 1, 0x10});
    EXPECT_FALSE(ShuffleEntrances(*project, rng, prompts));
    EXPECT_EQ(project->romImage, before);
    EXPECT_EQ(prompts.messages, (std::vector<std::string>(2, kRandomizerNeeds4MB)));
}

TEST(Randomizer, BossesEachDestinationOnceWithTheirOwnEffect) {
    SyntheticImage image;
    for (std::uint32_t k = 0; k < 8; ++k) {
        if (k != 5) {
            image.PutBytes(0x300000 + 0x40 * k, BossExitDestinations[k]);
        }
    }
    auto project = Imported(image);
    RandomizerGenerator rng(11);
    for (int run = 0; run < 2; ++run) {
        const std::string report = ShuffleBosses(*project, rng);
        EXPECT_NE(report.find("Boss exit 5 "), std::string::npos);
        std::set<std::uint16_t> maps;
        for (std::uint32_t k = 0; k < 8; ++k) {
            const std::uint32_t at = 0x300000 + 0x40 * k;
            if (k == 5) {
                EXPECT_EQ(project->Read24(at), 0u);
                continue;
            }
            EXPECT_EQ(project->Read16(at + 2), GetU16(BossExitDestinations[k], 2));
            const auto match = std::find_if(
                BossExitDestinations.begin(), BossExitDestinations.end(), [&](const auto& d) {
                    return GetU16(d, 0) == project->Read16(at) &&
                           GetU32(d, 4) == GetU32(project->romImage, at + 4);
                });
            EXPECT_NE(match, BossExitDestinations.end());
            maps.insert(project->Read16(at));
        }
        EXPECT_EQ(maps.size(), 7u);
        EXPECT_EQ(project->Read8(0), 0);
        // The second run finds the records where the first one left them.
        for (std::uint32_t k = 0; k < 8; ++k) {
            if (k != 5) {
                project->WriteBytes(0x300000 + 0x40 * k, BossExitDestinations[k]);
            }
        }
    }
}

TEST(Randomizer, EntrancesAndTheirWaysBackStayTogether) {
    SyntheticImage image;
    image.PutConditionalDestinations(
        0xF100, std::vector<ConditionalDestination>{{0, 0x0011, 0x30, 0, 0, 0, 0},
                                                    {0, 0x0000, 0x31, 0, 0, 0, 0}});
    auto project = Imported(image);
    auto& lists = project->exitLists;
    lists.assign(kMapCount, {});
    // Places 0x30/0x31 (one conditional entrance), 0x172, 0x41F (with 0x41E), 0x40 and an
    // excluded one.
    const std::vector<std::uint16_t> places{0xF100, 0x172, 0x41F, 0x40, 0x50};
    for (std::size_t i = 0; i < places.size(); ++i) {
        const auto n = static_cast<std::uint8_t>(10 * (i + 1));
        lists[2].push_back({n, n, static_cast<std::uint8_t>(n + 1),
                            static_cast<std::uint8_t>(n + 2), places[i], 0, 0, 0, 0});
    }
    const std::map<std::uint32_t, ExitRecord> back{
        {0x30, {1, 1, 1, 1, 2, 0, 0x1A, 0x100, 0x200}},  {0x31, {1, 1, 1, 1, 2, 0, 0x2B, 1, 2}},
        {0x172, {1, 1, 1, 1, 2, 0, 0x3C, 0x300, 0x400}}, {0x41F, {1, 1, 1, 1, 2, 0, 0x4D, 5, 6}},
        {0x41E, {1, 1, 1, 1, 2, 0, 0x5E, 7, 8}},         {0x40, {1, 1, 1, 1, 2, 0, 0x6F, 9, 10}}};
    for (const auto& [map, exit] : back) {
        lists[map].push_back({0, 0, 1, 1, 0x99, 0, 0, 0, 0});
        lists[map].push_back(exit);
    }
    const auto original = lists;
    ScriptedPrompts prompts;
    RandomizerGenerator rng(5);
    ASSERT_TRUE(ShuffleEntrances(*project, rng, prompts));
    EXPECT_TRUE(prompts.messages.empty());

    // Each rectangle carries the way back of the place it led to before.
    const auto& world = lists[2];
    for (std::size_t k = 0; k < places.size(); ++k) {
        const ExitRecord& e = world[k];
        const auto from = std::find_if(original[2].begin(), original[2].end(),
                                       [&](const ExitRecord& o) { return o.posX == e.posX; });
        ASSERT_NE(from, original[2].end());
        EXPECT_EQ(std::tuple(e.posY, e.sizeX, e.sizeY),
                  std::tuple(from->posY, from->sizeX, from->sizeY));
        EXPECT_EQ(e.dstMapId, places[k]);
        const std::uint32_t oldPlace = from->dstMapId == 0xF100 ? 0x30 : from->dstMapId;
        if (places[k] == 0x50) {
            EXPECT_EQ(e, original[2][k]);
            continue;
        }
        const ExitRecord& want = back.at(oldPlace);
        std::vector<std::uint32_t> targets{places[k]};
        if (places[k] == 0xF100) {
            targets = {0x30, 0x31};
        } else if (places[k] == 0x41F) {
            targets.push_back(0x41E);
        }
        for (const std::uint32_t t : targets) {
            const ExitRecord& x = lists[t][1];
            EXPECT_EQ(std::tuple(x.dstX, x.dstY), std::tuple(want.dstX, want.dstY)) << t;
            EXPECT_EQ(x.direction, (want.direction & 0xF0) | (back.at(t).direction & 0x0F));
            EXPECT_EQ(lists[t][0], original[t][0]);
        }
        if (places[k] == 0x172) {
            EXPECT_EQ(project->Read16(0x10F44A), want.dstX);
            EXPECT_EQ(project->Read16(0x10F44C), want.dstY);
        }
    }

    // A list the writer refuses leaves lists and image as they were.
    lists[0x40].push_back({0xFF, 1, 1, 1, 2, 0, 0, 0, 0});
    const auto refused = lists;
    const Bytes image2 = project->romImage;
    EXPECT_FALSE(ShuffleEntrances(*project, rng, prompts));
    EXPECT_EQ(lists, refused);
    EXPECT_EQ(project->romImage, image2);
    EXPECT_EQ(prompts.LastMessage(), kExitEndMarkerPosition);
}

TEST(Randomizer, PatchesAppendWholeFileSets) {
    SyntheticImage image;
    image.PutBytes(0x200000, Bytes{0x1C, 0x88, 0x23, 0xCE});
    const fs::path folder = ScratchFolder();
    const fs::path asmFolder = folder / "asm";
    WriteFile(asmFolder / "player_level.bin", std::string(0x10, '\x11'));
    WriteFile(asmFolder / "enemy_level.bin", std::string(0x20, '\x22'));
    WriteFile(asmFolder / "credits_patch.bin", "\x33\x33");
    Bytes withoutSet;
    for (const bool asmPatches : {false, true}) {
        auto project = Imported(image);
        ScriptedPrompts prompts;
        RandomizerGenerator rng(3);
        const std::string trace = CaptureTrace(
            [&] { ApplyRandomizerPatches(*project, rng, prompts, asmPatches, folder); });
        // No fixed-writes file: said once, no step-9 hook; no ItemAdd.bin: said once. Five files
        // of the "ASM Patches" set are missing: each is said and traced, and none of the set
        // is written.
        ASSERT_EQ(prompts.messages.size(), asmPatches ? 8u : 3u);
        EXPECT_NE(prompts.messages[0].find(kRandomizerFixedFile), std::string::npos);
        EXPECT_EQ(prompts.messages[2], kPatchFileFailed);
        EXPECT_EQ(project->Read8(0x05D94B), 0);
        EXPECT_EQ(project->Read16(0x200002), 0xCDC7);
        EXPECT_EQ(project->Read16(0x08CDC7), 0xD3D7);
        EXPECT_EQ(trace.find((asmFolder / "dg1_level.bin").string()) != std::string::npos,
                  asmPatches);
        if (asmPatches) {
            EXPECT_EQ(project->romImage, withoutSet);
        }
        withoutSet = project->romImage;
        // The rumour's markers are listed in order; the credits lack their second file.
        std::string markers;
        for (const RumourPlace& place : RumourPlaces) {
            markers += project->Read8(place.markerOffset) == 0x4C ? "4C\n" : "17\n";
        }
        EXPECT_EQ(prompts.messages[1], markers);
        EXPECT_EQ(project->Read16(0x10AE6E), 0x5402);
        EXPECT_EQ(project->Read16(0x7CF52), 0xF300);
        EXPECT_EQ(project->Read8(0x07EC6E), 0);
    }

    // Every file there and the whole fixed changes: the step-9 hooks call their routines, the
    // set follows ItemAdd.bin and 0xD7 0xD3, the credits end where the step-9 routine begins.
    WriteFile(asmFolder / "ItemAdd.bin", std::string(4, '\x44'));
    for (const char* name : {"enemy_attack.bin", "enemy_defense.bin", "enemy_luck.bin",
                             "enemy_health.bin", "dg1_level.bin"}) {
        WriteFile(asmFolder / name, "\x55\x55\x55");
    }
    WriteFile(folder / "credits_new.bin", std::string(0x7B0, '\x66'));
    WriteFile(folder / kRandomizerFixedFile, FixedText());
    auto project = Imported(image);
    ScriptedPrompts prompts;
    RandomizerGenerator rng(3);
    ApplyRandomizerPatches(*project, rng, prompts, true, folder);
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(project->Read24(0x02B000), 0x6B6B6Bu);
    EXPECT_EQ(project->Read24(0x02B940), 0x6B6B6Bu);  // the first write of step 3
    EXPECT_EQ(GetU32(project->romImage, 0x05D94B), 0xE1FAB022u);
    EXPECT_EQ(GetU32(project->romImage, 0x079493), 0x88CD6322u);
    EXPECT_EQ(project->Read24(0x05DD71), 0x88CDCDu);
    EXPECT_EQ(project->Read24(0x05DCD3), 0x88CE09u);
    EXPECT_EQ(project->Read16(0x21FAAF), 0x6B66);
    EXPECT_EQ(project->Read24(0x07ECBF + 1), 0x88CE0Cu);

    // Credits one byte longer would reach the routine: step 13 is left out, said once.
    WriteFile(folder / "credits_new.bin", std::string(0x7B1, '\x66'));
    project = Imported(image);
    ApplyRandomizerPatches(*project, rng, prompts, true, folder);
    EXPECT_EQ(prompts.LastMessage(), kCreditsTooLarge);
    EXPECT_EQ(project->Read16(0x21FAAF), 0x6B00);
    EXPECT_EQ(GetU32(project->romImage, 0x07EC6E), 0u);

    // A malformed line leaves all fixed changes out.
    WriteFile(folder / kRandomizerFixedFile, "1 9C685 EA\n9 E1FAB0 600\n");
    project = Imported(image);
    prompts.messages.clear();
    ApplyRandomizerPatches(*project, rng, prompts, false, folder);
    EXPECT_NE(prompts.messages[0].find("bad line 2"), std::string::npos);
    EXPECT_EQ(project->Read8(0x9C685), 0);
    EXPECT_EQ(project->Read8(0x05D94B), 0);

    // A set longer than the room left in the image is left out, its hooks too, and the message
    // says where it would not fit.
    const struct {
        const char* file;
        bool asmPatches;
        std::uint32_t hook;           // the set's first hook site, left alone
        std::uint16_t itemAddTarget;  // where the calls to ItemAdd.bin's routine lead
        const char* said;
    } large[] = {
        {"ItemAdd.bin", false, 0x009A09, 0xCDC7,
         "The patch files ItemAdd.bin do not fit and were left out: their 0x380000 bytes and the 2 "
         "after them from game address 0x88CDC7 (image offset 0x8CDC7) run into"},
        {"enemy_luck.bin", true, 0x05DD70, 0xCDCB,
         "The patch files player_level.bin, enemy_level.bin, enemy_attack.bin, enemy_defense.bin, "
         "enemy_luck.bin, enemy_health.bin, dg1_level.bin do not fit and were left out: their "
         "0x38003C bytes from game address 0x88CDCD (image offset 0x8CDCD) run into"},
    };
    for (const auto& c : large) {
        WriteFile(asmFolder / "ItemAdd.bin", std::string(4, '\x44'));
        WriteFile(asmFolder / c.file, std::string(0x380000, '\x44'));
        project = Imported(image);
        prompts.messages.clear();
        ApplyRandomizerPatches(*project, rng, prompts, c.asmPatches, folder);
        EXPECT_EQ(std::count(prompts.messages.begin(), prompts.messages.end(), kPatchFileFailed),
                  0);
        EXPECT_EQ(std::count_if(prompts.messages.begin(), prompts.messages.end(),
                                [&](const std::string& m) { return m.starts_with(c.said); }),
                  1)
            << c.file;
        EXPECT_EQ(project->Read8(c.hook), 0) << c.file;
        EXPECT_EQ(project->Read16(0x200002), c.itemAddTarget);
    }
}

TEST(Randomizer, FixedChangesWithoutTheirWholeShapeAreLeftOut) {
    const fs::path folder = ScratchFolder();
    const fs::path file = folder / kRandomizerFixedFile;
    const auto run = [&](ScriptedPrompts& prompts) {
        auto project = Imported(SyntheticImage(SyntheticImage::k6MB));
        RandomizerGenerator rng(4);
        ApplyRandomizerPatches(*project, rng, prompts, false, folder);
        return project->romImage;
    };
    ScriptedPrompts none;
    const Bytes withoutFile = run(none);
    const std::pair<std::string, const char*> cases[] = {
        {"", "hold no writes"},
        {"", "is a folder"},
        {FixedText(9),
         "step 9 lacks its 21-byte routine at E1FAB0\nstep 9 lacks its 85-byte "
         "routine at 88CD63\nThey"},
        {FixedText(0x88CD63), "not whole:\nstep 9 lacks its 85-byte routine at 88CD63\nThey"},
        {FixedText(0x2B000), "step 1 holds 73 writes of 190 bytes in all, not 74 of 193\nThey"},
        {FixedText(0x178100), "not whole:\nstep 3 lacks its 243-byte message at 178100\nThey"},
        {FixedText() + "9 E1FAB0 60\n", "step 9 holds 1 write(s) besides its two routines"},
        // A write the address rule would split (game address 0xBFFFFF is image offset 0x3FFFFF,
        // 0xC00000 offset 0), or one over the bytes every run appends at offset 0x8CDC7.
        {FixedText(0x2B000) + "1 BFFFFE 6B 6B 6B\n", "have a bad line 122."},
        {FixedText(0x2B000) + "1 8CDC5 6B 6B 6B\n", "have a bad line 122."},
        {FixedText(0x2B000) + "1 8CDC8 6B 6B 6B\n", "have a bad line 122."}};
    for (const auto& [text, said] : cases) {
        fs::remove_all(file);
        if (std::string_view(said) == "is a folder") {
            fs::create_directory(file);
        } else {
            WriteFile(file, text);
        }
        const auto data = DataFolderContents();
        ScriptedPrompts prompts;
        // Nothing of steps 1, 3 and 9 is written, nor the step-9 hooks.
        EXPECT_TRUE(run(prompts) == withoutFile) << said;
        EXPECT_NE(prompts.messages.at(0).find(said), std::string::npos) << prompts.messages[0];
        EXPECT_EQ(DataFolderContents(), data);
    }
}

TEST(Randomizer, GiveItemCallsTheReleasesOwnRoutine) {
    const fs::path folder = ScratchFolder();
    for (const auto& [region, word] :
         {std::pair{Region::Japanese, 0xD5C1u}, {Region::German, 0xDE58u}, {Region::UK, 0u}}) {
        // Louran's command; none where the release's routine is not known. The script goes on
        // right behind it.
        const std::uint32_t at = RumourPlaces[10].markerOffset;
        SyntheticImage image(SyntheticImage::k4MB, region);
        image.PutBytes(at + 4, Bytes{0x99});
        auto project = Imported(image);
        ScriptedPrompts prompts;
        RandomizerGenerator rng(1);
        ApplyRandomizerPatches(*project, rng, prompts, false, folder);
        EXPECT_EQ(project->Read16(at - 2), word == 0 ? 0 : 0x5402);
        EXPECT_EQ(project->Read24(at + 1), word == 0 ? 0 : 0xEA0000 | word);
        EXPECT_EQ(project->Read8(at + 4), 0x99);
        EXPECT_EQ(std::count(prompts.messages.begin(), prompts.messages.end(), kGiveItemsLeftOut),
                  word == 0);
    }
}

TEST(Randomizer, PatchesWriteTheirTextsInTheReleasesEncoding) {
    const fs::path folder = ScratchFolder();
    for (const Region region : {Region::Japanese, Region::German}) {
        auto project = Imported(SyntheticImage(SyntheticImage::k4MB, region));
        ScriptedPrompts prompts;
        RandomizerGenerator rng(1);
        ApplyRandomizerPatches(*project, rng, prompts, false, folder);
        const auto holds = [&](std::uint32_t at, const char* text) {
            const Bytes bytes = EncodeGameText(text, project->regionIndex, nullptr);
            return Bytes(&project->romImage[at], &project->romImage[at + bytes.size()]) == bytes;
        };
        EXPECT_TRUE(holds(0x11DEEB, "It seems the\\nbird ate\\nthe message.\\w"));
        for (const std::uint32_t at : {0x10AE93u, 0x10B473u, 0x10B587u, 0x10F451u, 0xFA6DCu}) {
            EXPECT_TRUE(holds(at, "Obtained Starstone")) << std::hex << at;
        }
    }
}

TEST(Randomizer, PracticeAndRandomizerPatchesRefuseEachOther) {
    const fs::path folder = ScratchFolder();
    WriteFile(folder / "asm" / "ItemAdd.bin", "\x44");
    WritePatchFiles(PracticePatchHooks());
    WritePatchFiles(CcPatchHooks());
    const fs::path practice = DataSubfolder(kPracticeDataFolder);
    const auto data = DataFolderContents();
    RandomizerGenerator rng(2);
    for (const auto apply : {ApplyPracticePatches, ApplyCcPatches}) {
        auto project = Imported(SyntheticImage());
        ScriptedPrompts prompts;
        ASSERT_TRUE(apply(*project, practice, prompts));
        const Bytes practised = project->romImage;
        ApplyRandomizerPatches(*project, rng, prompts, true, folder);
        EXPECT_TRUE(project->romImage == practised);
        ASSERT_EQ(prompts.messages.size(), 1u);
        const bool cc = apply == ApplyCcPatches;
        EXPECT_NE(prompts.messages[0].find(cc ? "of \"CC Patch\"," : "of \"Patch\","),
                  std::string::npos);

        // The randomizer's hooks (here ItemAdd.bin's alone) refuse the practice set.
        project = Imported(SyntheticImage());
        ApplyRandomizerPatches(*project, rng, prompts, false, folder);
        const Bytes randomized = project->romImage;
        EXPECT_FALSE(apply(*project, practice, prompts));
        EXPECT_TRUE(project->romImage == randomized);
        EXPECT_EQ(prompts.LastMessage(),
                  "The patch was not written: this ROM image holds the "
                  "randomizer's patches, which use the same places.");
        // A site that holds no JSL any more is no hook.
        project->Write8(project->WrapRomOffset(0xC09A09), 0x5C);
        EXPECT_TRUE(apply(*project, practice, prompts));
    }
    EXPECT_EQ(DataFolderContents(), data);
}

TEST(Randomizer, ReleasesWithoutGiveItemLeaveTheRumourPlacesAlone) {
    const fs::path folder = ScratchFolder();
    // The game's own script around every place; the rumour's script area as it was.
    const Bytes script{0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
    for (const Region region : {Region::UK, Region::Spanish, Region::GermanV1, Region::ReleaseF}) {
        SyntheticImage image(SyntheticImage::k4MB, region);
        for (const RumourPlace& place : RumourPlaces) {
            image.PutBytes(place.markerOffset - 2, script);
        }
        auto project = Imported(image);
        ScriptedPrompts prompts;
        RandomizerGenerator rng(1);
        ApplyRandomizerPatches(*project, rng, prompts, false, folder);
        for (const RumourPlace& place : RumourPlaces) {
            EXPECT_TRUE(std::equal(script.begin(), script.end(),
                                   project->romImage.begin() + place.markerOffset - 2))
                << int(region) << " " << place.name;
        }
        EXPECT_TRUE(std::equal(project->romImage.begin() + kRumourScriptAddress,
                               project->romImage.begin() + kRumourScriptAddress + 0x100,
                               image.Bytes().begin() + kRumourScriptAddress));
        // Said once, with no list of markers: the fixed changes, this, then ItemAdd.bin.
        ASSERT_EQ(prompts.messages.size(), 3u);
        EXPECT_EQ(prompts.messages[1], kGiveItemsLeftOut);
    }
}

TEST(Randomizer, CallsAtHookSitesThatNoVariantWritesRefuseNeither) {
    // Long calls the game itself may hold at a hook site, into the places either variant uses.
    const fs::path folder = ScratchFolder();
    WritePatchFiles(CcPatchHooks());
    const struct {
        std::uint32_t site;
        Bytes call;
    } cases[] = {
        {0xC5B066, {0x22, 0x00, 0x00, 0xF0}},  // a practice site, into 0xE1F300-0xFFFFFF
        {0xC787D4, {0x5C, 0x00, 0xF4, 0xE1}},  // the teleporter's site, not its target
        {0xC5DFFB, {0x22, 0x10, 0xFF, 0xE1}},  // a CC site
        {0xC5DD70, {0x22, 0x00, 0xD0, 0x88}},  // a randomizer site, into 0x88CDC7-0x88FFFF
        {0xC7ECA4, {0x22, 0xC9, 0xCD, 0x88}},  // a credits site other than the first
    };
    for (const auto& c : cases) {
        SyntheticImage image;
        image.PutBytes(image.Wrap(c.site), c.call);
        ScriptedPrompts prompts;
        EXPECT_TRUE(ApplyCcPatches(*Imported(image), DataSubfolder(kPracticeDataFolder), prompts))
            << std::hex << c.site;
        auto project = Imported(image);
        RandomizerGenerator rng(1);
        ApplyRandomizerPatches(*project, rng, prompts, false, folder);
        EXPECT_EQ(project->Read16(0x7CF52), 0xF300) << std::hex << c.site;
    }
}

TEST(Randomizer, EachKindOfRandomizerHookAloneRefusesThePracticeSets) {
    WritePatchFiles(CcPatchHooks());
    const fs::path practice = DataSubfolder(kPracticeDataFolder);
    // Without ItemAdd.bin: only the step-9 hooks, only the "ASM Patches" set, only the credits.
    std::map<std::string, std::string> asmSet;
    for (const HookedFile& file : kAsmPatchFiles) {
        asmSet["asm/" + std::string(file.name)] = "\x11";
    }
    const std::pair<std::map<std::string, std::string>, bool> cases[] = {
        {{{kRandomizerFixedFile, FixedText()}}, false},
        {asmSet, true},
        {{{"asm/credits_patch.bin", "\x33"}, {"credits_new.bin", "\x66"}}, false},
    };
    for (const auto& [files, asmPatches] : cases) {
        const fs::path folder = ScratchFolder();
        for (const auto& [name, bytes] : files) {
            WriteFile(folder / name, bytes);
        }
        auto project = Imported(SyntheticImage());
        ScriptedPrompts prompts;
        RandomizerGenerator rng(1);
        ApplyRandomizerPatches(*project, rng, prompts, asmPatches, folder);
        const Bytes randomized = project->romImage;
        EXPECT_FALSE(ApplyCcPatches(*project, practice, prompts)) << files.begin()->first;
        EXPECT_TRUE(project->romImage == randomized);
    }
}

TEST(Randomizer, PatchFilesEndWhereTheRunWritesAFixedPlace) {
    // The appended files end at the first place on that the same run writes: the rumour's last
    // marker where the release has it, else a Starstone text, or an earlier fixed change. A set
    // filling the room lands whole; one byte more is left out and said, the image as without it.
    const struct {
        std::uint32_t size;
        Region region;
        const char* file;               // the file that takes the room
        bool asmPatches;                // and a fixed change at the room's end
        std::uint32_t from, site, end;  // the file's address, its hook's offset; the room's end
    } cases[] = {
        {SyntheticImage::k4MB, Region::German, "ItemAdd.bin", false, 0x88CDC9, 0x09A09, 0x9F024},
        {SyntheticImage::k6MB, Region::UK, "credits_patch.bin", false, 0x88CDCD, 0x7EC6E, 0xFA6DC},
        {SyntheticImage::k4MB, Region::ReleaseM, "dg1_level.bin", true, 0x88CDDF, 0x5DCD2, 0x9C685},
    };
    for (const auto& c : cases) {
        // The file `length` bytes long, or none.
        const auto run = [&](int length, ScriptedPrompts& prompts) {
            const fs::path folder =
                PatchFolder({"asm/" + std::string(c.file)},
                            c.asmPatches ? FixedText(0x2B000) + "1 9C685 6B 6B 6B\n" : FixedText());
            if (length >= 0) {
                WriteFile(folder / "asm" / c.file, std::string(length, '\x55'));
            }
            return Randomize(*Imported(SyntheticImage(c.size, c.region)), folder, c.asmPatches,
                             prompts);
        };
        ScriptedPrompts none, fits, over;
        const Bytes withoutSet = run(-1, none);
        const std::uint32_t room = c.end - (c.from & 0xFFFFF);  // from image offset 0x8xxxx
        const Bytes image = run(room, fits);
        EXPECT_EQ(image[c.site], 0x22) << c.file;
        EXPECT_EQ(image[c.end - 1], c.from == 0x88CDC9 ? 0xD3 : 0x55) << c.file;
        EXPECT_EQ(image[c.end], withoutSet[c.end]) << c.file;
        EXPECT_TRUE(run(room + 1, over) == withoutSet) << c.file;
        EXPECT_TRUE(over.LastMessage().ends_with(
            FormatText("run into image offset 0x%X, which this run also writes.", c.end)))
            << over.LastMessage();
    }
}

TEST(Randomizer, PatchesAgainTakeOnlyTheFilesOfTheFirstRun) {
    // The same files again (with or without ASM Patches): the same image, said the same. Then
    // each change that would leave a hook of the first run calling something else, or its text
    // pointers short of ItemAdd.bin's end: refused alone, image and data folder as they were.
    using Names = std::vector<std::string>;
    const struct {
        const char* change;
        Names first, second;  // files left out of each run
        bool asmFirst, asmSecond;
    } cases[] = {
        {"the same files", {}, {}, true, true},
        {"the same files without ASM Patches", {}, {}, false, false},
        {"ASM Patches unchecked", {}, {}, true, false},
        {"an ASM file missing", {}, {"asm/enemy_luck.bin"}, true, true},
        {"the credits missing", {}, {"credits_new.bin"}, true, true},
        {"the fixed changes missing", {}, {kRandomizerFixedFile}, true, true},
        {"ItemAdd.bin missing", {}, {"asm/ItemAdd.bin"}, true, true},
        {"ItemAdd.bin new", {"asm/ItemAdd.bin"}, {}, true, true},
        {"no credits, then ASM unchecked", {"credits_new.bin"}, {"credits_new.bin"}, true, false},
        {"all after none (no hook)", {kRandomizerFixedFile, "asm"}, {}, true, true},
    };
    // The game's own long call at an ASM site, into code of its own, is no hook of a run.
    SyntheticImage image;
    image.PutBytes(0x200000, Bytes{0x1C, 0x88, 0x23, 0xCE});
    image.PutBytes(0x05DD70, Bytes{0x22, 0x00, 0x80, 0x80});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        auto project = Imported(image);
        ScriptedPrompts first, again;
        const Bytes patched = Randomize(*project, PatchFolder(c.first), c.asmFirst, first);
        EXPECT_TRUE(Randomize(*project, PatchFolder(c.second), c.asmSecond, again) == patched);
        EXPECT_EQ(again.messages,
                  &c <= &cases[1] ? first.messages : Names{kRandomizedWithOtherFiles});
    }
}
