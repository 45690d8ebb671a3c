#include <algorithm>
#include <cstring>
#include <tuple>

#include <gtest/gtest.h>

#include "project/ConditionalDestination.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;
using Bytes = std::vector<std::uint8_t>;

namespace {

ExitRecord Exit(std::uint8_t x, std::uint16_t dst = 0x123) {
    return {x, 2, 3, 4, dst, 5, 6, 0x0708, 0x090A};
}

// The 12 bytes of Exit(x, dst) as the image holds them.
Bytes ExitBytes(std::uint8_t x, std::uint16_t dst) {
    const auto lo = static_cast<std::uint8_t>(dst), hi = static_cast<std::uint8_t>(dst >> 8);
    return {x, 2, 3, 4, lo, hi, 5, 6, 0x08, 0x07, 0x0A, 0x09};
}

std::unique_ptr<ProjectContext> Imported(const SyntheticImage& image) {
    auto project = std::make_unique<ProjectContext>();
    EXPECT_NE(ImportRom(*project, image.Bytes()), kRegionNone);
    return project;
}

Bytes Slice(const ProjectContext& p, std::uint32_t at, std::uint32_t n) {
    return {p.romImage.begin() + at, p.romImage.begin() + at + n};
}

// `exits` exits spread over maps 0 to mapsWithExits - 1: 12 * exits + mapsWithExits bytes.
void FillToSize(ProjectContext& p, std::uint32_t mapsWithExits, std::uint32_t exits) {
    p.exitLists.assign(kMapCount, {});
    for (std::uint32_t i = 0; i < exits; ++i) {
        p.exitLists[i % mapsWithExits].push_back(Exit(1));
    }
}

auto Fields(const ConditionalDestination& d) {
    return std::tuple(d.offset, d.condition, d.dstMapId, d.transEffect, d.direction, d.dstX,
                      d.dstY);
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

    ScriptedPrompts prompts;
    ASSERT_TRUE(WriteExitLists(*project, prompts));
    Bytes table(2 * kMapCount, 0);
    PutU16(table, 0, 0x88AC);
    PutU16(table, 10, 0x88C5);
    EXPECT_EQ(Slice(*project, 0x18000, 2 * kMapCount), table);
    Bytes area;
    for (const auto& part :
         {ExitBytes(1, 0x10), ExitBytes(2, 0x20), {0xFF}, ExitBytes(3, 0x30), {0xFF}}) {
        area.insert(area.end(), part.begin(), part.end());
    }
    EXPECT_EQ(Slice(*project, 0x188AC, area.size()), area);
    EXPECT_EQ(project->Read8(0x188A5), 0xEE);

    const auto before = project->exitLists;
    LoadExitLists(*project);
    EXPECT_EQ(project->exitLists, before);

    // A list's walk stops at the end of the exit bank: 24 bytes hold two exits, 20 one.
    SyntheticImage edge(SyntheticImage::k1MB, Region::UK);
    edge.Put16(0x18000 + 2 * 9, 0xFFE8);
    edge.Put16(0x18000 + 2 * 10, 0xFFEC);
    std::fill(edge.Bytes().begin() + 0x1FFE8, edge.Bytes().begin() + 0x20010, 0x11);
    EXPECT_EQ(Imported(edge)->exitLists[9].size(), 2u);
    EXPECT_EQ(Imported(edge)->exitLists[10].size(), 1u);
}

TEST(ExitLists, AddAndDeleteWithinTheAreaSize) {
    auto project = Imported(SyntheticImage(SyntheticImage::k4MB, Region::German));
    ScriptedPrompts prompts;
    for (const std::uint8_t x : {10, 11, 12}) {
        ASSERT_TRUE(AddExit(*project, prompts, 3, Exit(x)));
    }
    ASSERT_TRUE(DeleteExit(*project, prompts, 3, 1));
    EXPECT_EQ(project->exitLists[3], (std::vector{Exit(10), Exit(12)}));
    EXPECT_EQ(Slice(*project, 0x188AC + 12, 12), ExitBytes(12, 0x123));
    EXPECT_EQ(project->Read8(0x188AC + 24), 0xFF);
    // Out of range: nothing happens and nothing is said.
    EXPECT_FALSE(AddExit(*project, prompts, kMapCount, Exit(1)));
    EXPECT_FALSE(DeleteExit(*project, prompts, 3, 2));
    EXPECT_TRUE(prompts.messages.empty());

    // At 25883 bytes one more exit on a map that has exits still fits; at 25884 it does not.
    FillToSize(*project, 11, 2156);
    EXPECT_TRUE(AddExit(*project, prompts, 0, Exit(7)));
    EXPECT_EQ(project->Read8(0x188AC + 25894), 0xFF);
    FillToSize(*project, 12, 2156);
    EXPECT_FALSE(AddExit(*project, prompts, 0, Exit(7)));
    EXPECT_EQ(prompts.LastMessage(), "New exit couldn't be added\nbecaue there is now space left.");
    EXPECT_EQ(ExitListsSize(*project), 25884u);
    // The first exit of a map costs its end byte too: 13 bytes.
    FillToSize(*project, 10, 2156);
    EXPECT_TRUE(AddExit(*project, prompts, 500, Exit(7)));
    FillToSize(*project, 11, 2156);
    EXPECT_FALSE(AddExit(*project, prompts, 500, Exit(7)));
    EXPECT_EQ(prompts.LastMessage(), kExitNoSpace);
    EXPECT_TRUE(project->exitLists[500].empty());

    // Lists that grew by other means are not written past the area, and a delete that still
    // leaves them too large keeps the exit.
    FillToSize(*project, 12, 2158);
    const auto image = project->romImage;
    EXPECT_FALSE(WriteExitLists(*project, prompts));
    EXPECT_EQ(prompts.LastMessage(), kExitListsTooLarge);
    EXPECT_FALSE(DeleteExit(*project, prompts, 0, 0));
    EXPECT_EQ(ExitListsSize(*project), 25908u);
    EXPECT_EQ(project->romImage, image);
}

TEST(ExitLists, PosX255AndReleaseMAreRefusedWritingNothing) {
    auto project = Imported(SyntheticImage(SyntheticImage::k4MB, Region::UK));
    const auto image = project->romImage;
    ScriptedPrompts prompts;
    EXPECT_FALSE(AddExit(*project, prompts, 4, Exit(0xFF)));
    EXPECT_EQ(prompts.LastMessage(), kExitEndMarkerPosition);
    EXPECT_TRUE(project->exitLists[4].empty());
    project->exitLists[2].push_back(Exit(0xFF));  // changed in place, as the exit editor does
    EXPECT_FALSE(WriteExitLists(*project, prompts));
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(project->romImage, image);

    // Release M's exit area holds other tables too.
    SyntheticImage releaseM(SyntheticImage::k1MB, Region::ReleaseM);
    releaseM.PutExitList(1, 0x9000, std::vector{Exit(1)});
    project = Imported(releaseM);
    EXPECT_FALSE(AddExit(*project, prompts, 1, Exit(2)));
    EXPECT_EQ(prompts.LastMessage(), kExitAreaShared);
    EXPECT_FALSE(DeleteExit(*project, prompts, 1, 0));
    EXPECT_EQ(project->exitLists[1].size(), 1u);
    EXPECT_FALSE(WriteExitLists(*project, prompts));
    EXPECT_EQ(prompts.messages.size(), 5u);
    EXPECT_EQ(project->romImage, releaseM.Bytes());
}

TEST(ConditionalDestinations, ReadUpToTheirEndAndWrittenInPlace) {
    SyntheticImage image(SyntheticImage::k4MB, Region::German);
    using List = std::vector<ConditionalDestination>;
    image.PutConditionalDestinations(
        0x8100, List{{0, 0x8012, 0x0040, 1, 2, 0x30, 0x40}, {0, 0x0105, 0x41}, {0, 0, 0x42}});
    image.PutConditionalDestinations(0x8200, List{{0, 0x0007, 0x50}, {0, 0xFFFF, 0x51}});
    image.PutConditionalDestinations(0x8300, List{{0, 0xFFFF, 0x60}, {0, 0, 0x61}});
    auto project = Imported(image);

    // A list ends after condition 0 or before 0xFFFF, record 0 always belongs; without bit 15
    // there is no list, and no list crosses bank 0x01.
    const auto three = ReadConditionalDestinations(*project, 0x8100);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(Fields(three[0]), Fields({0x18100, 0x8012, 0x40, 1, 2, 0x30, 0x40}));
    EXPECT_EQ(three[2].offset, 0x18114u);
    const std::pair<std::uint16_t, std::size_t> counts[] = {
        {0x8200, 1}, {0x8300, 2}, {0x0100, 0}, {0xFFFA, 0}, {0xFFF0, 1}};
    for (const auto& [dst, count] : counts) {
        EXPECT_EQ(ReadConditionalDestinations(*project, dst).size(), count) << dst;
    }

    ConditionalDestination r{0x18400, 0x0123, 0x0456, 7, 8, 0x090A, 0x0B0C};
    ASSERT_TRUE(WriteConditionalDestination(*project, r));
    EXPECT_EQ(Slice(*project, 0x18400, 10),
              (Bytes{0x23, 0x01, 0x56, 0x04, 7, 8, 0x0A, 0x09, 0x0C, 0x0B}));
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
    auto project = Imported(german);
    ASSERT_EQ(project->worldMapExits.size(), kWorldMapExitCount);
    EXPECT_EQ(std::memcmp(project->worldMapExits.data(), exits.data(), 14 * exits.size()), 0);

    // Release F has no table: 37 zeroed records, nothing read from offset 0.
    SyntheticImage releaseF(SyntheticImage::k4MB, Region::ReleaseF);
    std::fill(releaseF.Bytes().begin(), releaseF.Bytes().begin() + 518, 0x5A);
    project = Imported(releaseF);
    ASSERT_EQ(project->worldMapExits.size(), kWorldMapExitCount);
    EXPECT_TRUE(std::all_of(project->worldMapExits.begin(), project->worldMapExits.end(),
                            [](const auto& r) { return r.x == 0 && r.rest[9] == 0; }));
}
