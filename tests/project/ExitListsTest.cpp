#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "project/ConditionalDestination.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;

namespace {

ExitRecord Exit(std::uint8_t x, std::uint16_t dst = 0x123) {
    return {x, 2, 3, 4, dst, 5, 6, 0x0708, 0x090A};
}

// The 12 bytes of an exit made by Exit(x, dst), as the image holds them.
std::vector<std::uint8_t> Bytes(std::uint8_t x, std::uint16_t dst) {
    return {x,
            2,
            3,
            4,
            static_cast<std::uint8_t>(dst),
            static_cast<std::uint8_t>(dst >> 8),
            5,
            6,
            0x08,
            0x07,
            0x0A,
            0x09};
}

std::unique_ptr<ProjectContext> Imported(const SyntheticImage& image) {
    auto project = std::make_unique<ProjectContext>();
    EXPECT_NE(ImportRom(*project, image.Bytes()), kRegionNone);
    return project;
}

std::vector<std::uint8_t> Slice(const ProjectContext& p, std::uint32_t at, std::uint32_t n) {
    return {p.romImage.begin() + at, p.romImage.begin() + at + n};
}

// `exits` exits spread over maps 0 to mapsWithExits - 1: 12 * exits + mapsWithExits bytes.
void FillToSize(ProjectContext& p, std::uint32_t mapsWithExits, std::uint32_t exits) {
    p.exitLists.assign(kMapCount, {});
    for (std::uint32_t i = 0; i < exits; ++i) {
        p.exitLists[i % mapsWithExits].push_back(Exit(1));
    }
}

}  // namespace

TEST(ExitLists, LoadThenWritePacksTheAreaExactly) {
    SyntheticImage image(SyntheticImage::k4MB, Region::German);
    const ExitRecord a = Exit(1, 0x10), b = Exit(2, 0x20), c = Exit(3, 0x30);
    image.PutExitList(0, 0x9000, std::vector{a, b});
    image.PutExitList(5, 0x9100, std::vector{c});
    image.PutExitList(7, 0x9200, {});  // points at 0xFF at once
    image.Put8(0x188A5, 0xEE);         // between the table and the packed records: not touched

    auto project = Imported(image);
    ASSERT_EQ(project->exitLists.size(), kMapCount);
    EXPECT_EQ(project->exitLists[0], (std::vector{a, b}));
    EXPECT_EQ(project->exitLists[5], (std::vector{c}));
    EXPECT_TRUE(project->exitLists[7].empty());
    EXPECT_EQ(ExitListsSize(*project), 2 * 12 + 1 + 12 + 1u);

    ScriptedPrompts prompts;
    ASSERT_TRUE(WriteExitLists(*project, prompts));
    EXPECT_TRUE(prompts.messages.empty());

    std::vector<std::uint8_t> table(2 * kMapCount, 0);
    PutU16(table, 0, 0x88AC);
    PutU16(table, 10, 0x88C5);
    EXPECT_EQ(Slice(*project, 0x18000, 2 * kMapCount), table);
    std::vector<std::uint8_t> area;
    for (const auto& part : {Bytes(1, 0x10), Bytes(2, 0x20), {0xFF}, Bytes(3, 0x30), {0xFF}}) {
        area.insert(area.end(), part.begin(), part.end());
    }
    EXPECT_EQ(Slice(*project, 0x188AC, area.size()), area);
    EXPECT_EQ(project->Read8(0x188A5), 0xEE);
    // The old records lie beyond the packed data and are left as they were.
    EXPECT_EQ(Slice(*project, 0x19000, 12), Bytes(1, 0x10));

    // Reading back, and reading twice, gives the same lists.
    const auto before = project->exitLists;
    LoadExitLists(*project);
    LoadExitLists(*project);
    EXPECT_EQ(project->exitLists, before);
}

TEST(ExitLists, WalkStopsAtTheEndOfTheExitBank) {
    SyntheticImage image(SyntheticImage::k1MB, Region::UK);
    image.Put16(0x18000 + 2 * 9, 0xFFF0);
    std::fill(image.Bytes().begin() + 0x1FFF0, image.Bytes().begin() + 0x20010, 0x11);
    auto project = Imported(image);
    EXPECT_EQ(project->exitLists[9].size(), 1u);  // the second record would cross the bank
}

TEST(ExitLists, AddAndDeleteRewriteTheArea) {
    auto project = Imported(SyntheticImage(SyntheticImage::k4MB, Region::Spanish));
    ScriptedPrompts prompts;
    ASSERT_TRUE(AddExit(*project, prompts, 3, Exit(10)));
    ASSERT_TRUE(AddExit(*project, prompts, 3, Exit(11)));
    ASSERT_TRUE(AddExit(*project, prompts, 3, Exit(12)));
    EXPECT_EQ(project->Read16(0x18000 + 6), 0x88AC);
    EXPECT_EQ(project->Read8(0x188AC + 36), 0xFF);

    ASSERT_TRUE(DeleteExit(*project, prompts, 3, 1));
    EXPECT_EQ(project->exitLists[3], (std::vector{Exit(10), Exit(12)}));
    EXPECT_EQ(project->Read8(0x188AC + 12), 12);
    EXPECT_EQ(project->Read8(0x188AC + 24), 0xFF);

    // Out of range: nothing happens and nothing is said.
    EXPECT_FALSE(AddExit(*project, prompts, kMapCount, Exit(1)));
    EXPECT_FALSE(DeleteExit(*project, prompts, 3, 2));
    EXPECT_EQ(GetExitList(*project, kMapCount), nullptr);

    ASSERT_TRUE(DeleteExit(*project, prompts, 3, 0));
    ASSERT_TRUE(DeleteExit(*project, prompts, 3, 0));
    EXPECT_EQ(project->Read16(0x18000 + 6), 0);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST(ExitLists, AnExitAtPosX255IsRefusedWhenAddedOrSaved) {
    auto project = Imported(SyntheticImage(SyntheticImage::k4MB, Region::UK));
    const auto image = project->romImage;
    ScriptedPrompts prompts;
    EXPECT_FALSE(AddExit(*project, prompts, 4, Exit(0xFF)));
    EXPECT_EQ(prompts.LastMessage(), kExitEndMarkerPosition);
    EXPECT_TRUE(project->exitLists[4].empty());

    // Changed in place, as the exit editor does: the save is refused and nothing is written.
    project->exitLists[2].push_back(Exit(0xFF));
    EXPECT_FALSE(WriteExitLists(*project, prompts));
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(project->romImage, image);
}

TEST(ExitLists, SizeLimitOfTheExitArea) {
    auto project = Imported(SyntheticImage(SyntheticImage::k4MB, Region::German));
    ScriptedPrompts prompts;

    // 25883 bytes: one more exit on a map that has exits still fits (25895).
    FillToSize(*project, 11, 2156);
    ASSERT_EQ(ExitListsSize(*project), 25883u);
    EXPECT_TRUE(AddExit(*project, prompts, 0, Exit(7)));
    EXPECT_EQ(ExitListsSize(*project), 25895u);
    EXPECT_EQ(project->Read8(0x188AC + 25894), 0xFF);

    // 25884 bytes: refused with the message, nothing added.
    FillToSize(*project, 12, 2156);
    EXPECT_FALSE(AddExit(*project, prompts, 0, Exit(7)));
    EXPECT_EQ(prompts.LastMessage(), "New exit couldn't be added\nbecaue there is now space left.");
    EXPECT_EQ(ExitListsSize(*project), 25884u);

    // The first exit of a map costs its end byte too.
    FillToSize(*project, 10, 2156);
    ASSERT_EQ(ExitListsSize(*project), 25882u);
    EXPECT_TRUE(AddExit(*project, prompts, 500, Exit(7)));
    FillToSize(*project, 11, 2156);
    EXPECT_FALSE(AddExit(*project, prompts, 500, Exit(7)));
    EXPECT_TRUE(project->exitLists[500].empty());

    // Lists that grew by other means are not written past the area.
    FillToSize(*project, 12, 2160);
    const auto image = project->romImage;
    prompts.messages.clear();
    EXPECT_FALSE(WriteExitLists(*project, prompts));
    EXPECT_EQ(prompts.LastMessage(), kExitListsTooLarge);
    EXPECT_EQ(project->romImage, image);
    // A delete that still leaves them too large keeps the exit.
    EXPECT_FALSE(DeleteExit(*project, prompts, 0, 0));
    EXPECT_EQ(ExitListsSize(*project), 12 * 2160 + 12u);
}

TEST(ExitLists, ReleaseMIsNeverWritten) {
    SyntheticImage image(SyntheticImage::k1MB, Region::ReleaseM);
    image.PutExitList(1, 0x9000, std::vector{Exit(1)});
    auto project = Imported(image);
    ASSERT_EQ(project->regionIndex, 5u);
    EXPECT_EQ(project->exitLists[1].size(), 1u);
    ScriptedPrompts prompts;
    EXPECT_FALSE(AddExit(*project, prompts, 1, Exit(2)));
    EXPECT_EQ(prompts.LastMessage(), kExitAreaShared);
    EXPECT_FALSE(DeleteExit(*project, prompts, 1, 0));
    EXPECT_EQ(project->exitLists[1].size(), 1u);
    EXPECT_FALSE(WriteExitLists(*project, prompts));
    EXPECT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(project->romImage, image.Bytes());
}

TEST(ConditionalDestinations, ListEndsAtConditionZeroOrBeforeFFFF) {
    SyntheticImage image(SyntheticImage::k4MB, Region::German);
    image.PutConditionalDestinations(
        0x8100, std::vector<ConditionalDestination>{
                    {0, 0x8012, 0x0040, 1, 2, 0x30, 0x40}, {0, 0x0105, 0x0041}, {0, 0, 0x0042}});
    image.PutConditionalDestinations(
        0x8200, std::vector<ConditionalDestination>{{0, 0x0007, 0x50}, {0, 0xFFFF, 0x51}});
    image.PutConditionalDestinations(
        0x8300, std::vector<ConditionalDestination>{{0, 0xFFFF, 0x60}, {0, 0, 0x61}});
    const auto project = Imported(image);

    const auto three = ReadConditionalDestinations(*project, 0x8100);
    ASSERT_EQ(three.size(), 3u);  // the record of condition 0 belongs to the list
    EXPECT_EQ(three[0].offset, 0x18100u);
    EXPECT_EQ(three[0].condition, 0x8012);
    EXPECT_EQ(three[0].dstMapId, 0x40);
    EXPECT_EQ(three[0].transEffect, 1);
    EXPECT_EQ(three[0].direction, 2);
    EXPECT_EQ(three[0].dstX, 0x30);
    EXPECT_EQ(three[0].dstY, 0x40);
    EXPECT_EQ(three[2].offset, 0x18114u);

    EXPECT_EQ(ReadConditionalDestinations(*project, 0x8200).size(), 1u);
    // Record 0 always belongs, whatever its condition.
    EXPECT_EQ(ReadConditionalDestinations(*project, 0x8300).size(), 2u);
    // Without bit 15 there is no list; a list never crosses bank 0x01.
    EXPECT_TRUE(ReadConditionalDestinations(*project, 0x0100).empty());
    EXPECT_TRUE(ReadConditionalDestinations(*project, 0xFFFA).empty());
    EXPECT_EQ(ReadConditionalDestinations(*project, 0xFFF0).size(), 1u);
}

TEST(ConditionalDestinations, WrittenInPlace) {
    auto project = Imported(SyntheticImage(SyntheticImage::k4MB, Region::German));
    ConditionalDestination r{0x18400, 0x0123, 0x0456, 7, 8, 0x090A, 0x0B0C};
    ASSERT_TRUE(WriteConditionalDestination(*project, r));
    EXPECT_EQ(Slice(*project, 0x18400, 10),
              (std::vector<std::uint8_t>{0x23, 0x01, 0x56, 0x04, 7, 8, 0x0A, 0x09, 0x0C, 0x0B}));
    r.offset = 0x1FFF8;
    EXPECT_FALSE(WriteConditionalDestination(*project, r));
    EXPECT_EQ(project->Read16(0x1FFF8), 0);
}

TEST(WorldMapExits, ReadWithTheExitListsAndZeroWithoutATable) {
    std::vector<WorldMapExitRecord> exits(kWorldMapExitCount);
    for (std::size_t i = 0; i < exits.size(); ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        exits[i] = {v, static_cast<std::uint8_t>(v + 1), 2, 3, {}};
        exits[i].rest[9] = static_cast<std::uint8_t>(0xA0 + i);
    }
    SyntheticImage german(SyntheticImage::k4MB, Region::German);
    german.PutWorldMapExits(exits);
    ASSERT_EQ(german.Wrap(german.Table(RegionTable::WorldMapExitTable)), 0x19FB3Au);
    auto project = Imported(german);
    ASSERT_EQ(project->worldMapExits.size(), kWorldMapExitCount);
    for (std::size_t i = 0; i < exits.size(); ++i) {
        EXPECT_EQ(std::memcmp(&project->worldMapExits[i], &exits[i], 14), 0) << i;
    }

    // Release F has no table: 37 zeroed records, nothing read from offset 0.
    SyntheticImage releaseF(SyntheticImage::k4MB, Region::ReleaseF);
    std::fill(releaseF.Bytes().begin(), releaseF.Bytes().begin() + 518, 0x5A);
    project = Imported(releaseF);
    ASSERT_EQ(project->worldMapExits.size(), kWorldMapExitCount);
    for (const auto& r : project->worldMapExits) {
        EXPECT_EQ(r.x, 0);
        EXPECT_EQ(r.rest[9], 0);
    }
}
