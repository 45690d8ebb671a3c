#include <algorithm>
#include <array>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "project/Allocator.h"
#include "project/ProjectContext.h"
#include "tests/support/TraceCapture.h"

namespace {

constexpr std::uint32_t kReservedStart = 0x500000;
constexpr std::uint32_t kReservedEnd = 0x520000;

std::unique_ptr<ProjectContext> MakeProject(std::uint32_t size = kRomSize6MB) {
    auto project = std::make_unique<ProjectContext>();
    project->romImage.assign(size, 0);
    project->romSize = size;
    project->flags = size == kRomSize6MB ? kProjectFlag6MB : 0;
    project->regionIndex = 1;
    return project;
}

// A result is sound when it is 0 or a block inside the area that meets no other block and
// not the reserved range.
void ExpectSound(const AllocTable& before, std::uint32_t place, std::uint32_t size,
                 std::uint32_t alignment, BankHalf half = BankHalf::Any) {
    if (place == 0) {
        return;
    }
    const std::uint32_t end = place + (size + 15) / 16 * 16;
    EXPECT_GE(place, kAllocBase);
    EXPECT_LE(end, kAllocLimit);
    EXPECT_TRUE(end <= kReservedStart || place >= kReservedEnd) << std::hex << place;
    if (alignment != 0) {
        EXPECT_EQ(place % alignment, 0u);
    }
    if (half != BankHalf::Any) {
        EXPECT_EQ((place & 0x8000) != 0, half == BankHalf::Upper) << std::hex << place;
    }
    for (const auto& e : before) {
        if (e.address != 0) {
            EXPECT_TRUE(end <= e.address || place >= std::uint64_t{e.address} + e.size)
                << std::hex << place << " meets " << e.address;
        }
    }
}

}  // namespace

TEST(Allocator, FirstFitRoundingAndReleaseByTag) {
    auto project = MakeProject();
    auto& t = project->allocTable;
    EXPECT_EQ(CaptureTrace([&] { EXPECT_EQ(AllocRomSpace(*project, 1, 7), kAllocBase); }),
              "Using entry:0 to alloc 16(1) bytes...\n");
    EXPECT_EQ(t[0].size, 16u);
    EXPECT_EQ(t[0].tag, 7u);
    // A gap of exactly the request between blocks is passed over, one at the area's start is
    // taken; a smaller request takes the gap.
    t[0] = {0x418100, 0x100, 1};
    t[1] = {0x418300, 0x100, 1};
    EXPECT_EQ(AllocRomSpace(*project, 0x100, 5), 0x418000u);
    EXPECT_EQ(AllocRomSpace(*project, 0xF0, 5), 0x418200u);

    // One entry per release, the first with the tag; never tag 0, never another tag.
    const auto addresses = [&] {
        return std::array{t[0].address, t[1].address, t[2].address, t[3].address};
    };
    t[0].tag = 0;
    for (const std::uint32_t tag : {0u, 9u, 5u}) {
        FreeRomSpace(*project, tag);
    }
    EXPECT_EQ(addresses(), (std::array<std::uint32_t, 4>{0x418100, 0x418300, 0, 0x418200}));
    EXPECT_EQ(t[2].size + t[2].tag, 0u);
    EXPECT_EQ(t[3].tag, 5u);
    FreeRomSpace(*project, 5);
    EXPECT_EQ(addresses(), (std::array<std::uint32_t, 4>{0x418100, 0x418300, 0, 0}));
}

TEST(Allocator, AreaLimitsAndTheReservedRange) {
    auto project = MakeProject();
    auto& t = project->allocTable;
    EXPECT_EQ(CaptureTrace([&] {
                  EXPECT_EQ(AllocRomSpace(*project, 0x1E8001, 1), 0u);
                  EXPECT_EQ(AllocRomSpace(*project, 0, 1), 0u);
              }),
              "");
    // The whole area would cover the sprite-placement tables.
    EXPECT_EQ(CaptureTrace([&] { EXPECT_EQ(AllocRomSpace(*project, 0x1E8000, 1), 0u); }),
              "Using entry:0 to alloc 1998848(1998848) bytes...\nfailed to alloc 1998848 bytes\n");
    EXPECT_EQ(AllocRomSpace(*project, kReservedStart - kAllocBase, 1), kAllocBase);
    // Everything below the tables is taken: the next block goes above them, up to the end.
    EXPECT_EQ(AllocRomSpace(*project, 0x100, 2), kReservedEnd);
    EXPECT_EQ(AllocRomSpace(*project, kAllocLimit - kReservedEnd - 0x100, 3), kReservedEnd + 0x100);
    EXPECT_EQ(AllocRomSpace(*project, 0x10, 4), 0u);

    // A block from the tables' end to the area's end: the place directly below it is refused.
    t = {};
    t[0] = {kReservedEnd, kAllocLimit - kReservedEnd, 1};
    EXPECT_EQ(AllocRomSpace(*project, 0x1000, 2), kAllocBase);
    // A block recorded over the tables (the area's upper part): the place below it is fine.
    t = {};
    t[0] = {kReservedStart, 0x100000, 1};
    EXPECT_EQ(AllocRomSpace(*project, 0x1000, 2), 0x4FF000u);
}

TEST(Allocator, AlignmentAndRefusals) {
    auto project = MakeProject();
    auto& t = project->allocTable;
    t[0] = {kAllocBase, 0x100, 1};
    EXPECT_EQ(AllocRomSpace(*project, 0x8000, 2, 0x10000), 0x420000u);
    EXPECT_EQ(AllocRomSpace(*project, 0x8000, 2, 0x10000), 0x430000u);
    EXPECT_EQ(AllocRomSpace(*project, 0x100, 2, 0x3000), 0u);  // not a power of two
    t = {};
    t[0] = {0x4F0000, 0x10000, 1};
    EXPECT_EQ(AllocRomSpace(*project, 0x1800, 2, 0x1000), 0x4EE000u);

    // Only 6 MB images, and only while the table has a free entry; the table is left alone.
    for (const std::uint32_t size : {kRomSize1MB, kRomSize4MB}) {
        auto small = MakeProject(size);
        EXPECT_EQ(AllocRomSpace(*small, 0x10, 1), 0u);
        EXPECT_EQ(small->allocTable[0].address, 0u);
    }
    project = MakeProject();
    project->flags = 0;
    EXPECT_EQ(AllocRomSpace(*project, 0x10, 1), 0u);
    project->flags = kProjectFlag6MB;
    project->freeAreaUnrecordable = true;
    EXPECT_EQ(AllocRomSpace(*project, 0x10, 1), 0u);
    project->freeAreaUnrecordable = false;
    for (std::uint32_t k = 0; k < kAllocEntryCount; ++k) {
        project->allocTable[k] = {kAllocBase + 0x10 * k, 0x10, k + 1};
    }
    const AllocTable full = project->allocTable;
    EXPECT_EQ(CaptureTrace([&] { EXPECT_EQ(AllocRomSpace(*project, 0x10, 1), 0u); }),
              "Alloc: run out of entries!\n");
    EXPECT_EQ(std::memcmp(project->allocTable.data(), full.data(), sizeof full), 0);
}

TEST(Allocator, BlocksStartInTheAskedHalfOfTheirBank) {
    auto project = MakeProject();
    auto& t = project->allocTable;
    // The area's first offset already lies in the upper half of bank 0x41.
    EXPECT_EQ(AllocRomSpace(*project, 0x100, 1, 0, BankHalf::Upper), 0x418000u);
    EXPECT_EQ(AllocRomSpace(*project, 0x100, 2, 0, BankHalf::Lower), 0x420000u);
    EXPECT_EQ(AllocRomSpace(*project, 0x100, 3, 0, BankHalf::Upper), 0x418100u);
    EXPECT_EQ(AllocRomSpace(*project, 0x100, 4, 0, BankHalf::Lower), 0x420100u);
    t = {};
    t[0] = {0x420000, 0x100, 1};
    EXPECT_EQ(AllocRomSpace(*project, 0x9000, 2, 0, BankHalf::Upper), 0x428000u);
    // Below the lowest block, moved down into the asked half.
    t = {};
    t[0] = {0x440000, kAllocLimit - 0x440000, 1};
    EXPECT_EQ(AllocRomSpace(*project, 0x1000, 2, 0, BankHalf::Upper), 0x43F000u);
    EXPECT_EQ(AllocRomSpace(*project, 0x1000, 3, 0, BankHalf::Lower), 0x437FF0u);
    // A half that the alignment cannot give is refused.
    EXPECT_EQ(AllocRomSpace(*project, 0x10, 4, 0x10000, BankHalf::Upper), 0u);
}

TEST(Allocator, AnyTableGetsASoundBlock) {
    auto project = MakeProject();
    auto& t = project->allocTable;
    std::mt19937 rng(99);
    for (int round = 0; round < 3000; ++round) {
        // Blocks near one of the area's interesting spots, in random table slots; overlaps,
        // blocks outside the area and oversized ones.
        t = {};
        const std::uint32_t starts[] = {kAllocBase, 0x4F8000, 0x520000, 0x5F8000};
        std::uint64_t at = starts[rng() % 4];
        for (std::uint32_t n = rng() % 30; n > 0 && at < kAllocLimit; --n) {
            const std::uint32_t size = 0x10 * (1 + rng() % 64);
            t[rng() % 40] = {static_cast<std::uint32_t>(at), size, 1};
            at += size + 0x10 * (rng() % 3 == 0 ? 0 : rng() % 64);
        }
        for (int n = round % 2 == 0 ? 0 : 4; n > 0; --n) {
            t[rng() % 40] = {static_cast<std::uint32_t>(0x400000 + rng() % 0x210000),
                             static_cast<std::uint32_t>(rng() % 0x20000), 1};
        }
        const std::uint32_t request = 1 + rng() % 0x600;
        const std::uint32_t alignment = (rng() % 2) << (4 + rng() % 13);
        const auto half = static_cast<BankHalf>(rng() % 3);
        const AllocTable before = t;
        ExpectSound(before, AllocRomSpace(*project, request, 2, alignment, half), request,
                    alignment, half);
    }
}

// Recording keeps the table sound: only the parts that no block covers are added, and only the
// one that starts where the block does carries its tag.
TEST(Allocator, RecordingAddsWhatNoBlockCovers) {
    struct Case {
        std::uint32_t start, size;
        std::vector<AllocEntry> added;
    };
    const Case cases[] = {
        {0x430000, 0x40, {{0x430000, 0x40, 7}}},                       // free
        {0x420010, 0x20, {}},                                          // inside a block
        {0x41FFF0, 0x120, {{0x41FFF0, 0x10, 7}, {0x420100, 0x10, 0}}},  // over one
        {0x420080, 0x100, {{0x420100, 0x80, 0}}},                       // past its end
    };
    for (const Case& c : cases) {
        auto project = MakeProject();
        project->allocTable[0] = {0x420000, 0x100, 9};
        ASSERT_TRUE(RecordRomSpace(*project, {{c.start, c.size, 7}}));
        std::vector<AllocEntry> added(project->allocTable.begin() + 1,
                                      project->allocTable.begin() + 1 + c.added.size());
        EXPECT_EQ(added, c.added) << std::hex << c.start;
        EXPECT_EQ(project->allocTable[1 + c.added.size()].address, 0u);
        EXPECT_TRUE(AllocTableIsSound(project->allocTable));
    }
    // Past the free entries, blocks are merged across the smallest gaps (two pairs touch) until
    // kSpareEntries entries are free, never two marked tags in one, which carries its marked tag,
    // else 0; when the marks allow no way, the table holds the lowest blocks, and it says so.
    auto full = MakeProject();
    for (std::uint32_t i = 0; i + 1 < kAllocEntryCount; ++i) {
        full->allocTable[i] = {0x420000 + 0x20 * i - (i == 502 ? 0x10 : 0), 0x10, 0x100 + i};
    }
    const AllocTable before = full->allocTable;
    std::vector<AllocEntry> blocks{{0x500000, 0x10, 7}, {0x500010, 0x10, 9}};
    EXPECT_FALSE(RecordRomSpace(*full, blocks, [](std::uint32_t) { return true; }));
    EXPECT_TRUE(std::equal(before.begin(), before.end() - 1, full->allocTable.begin()));
    EXPECT_EQ(full->allocTable.back(), blocks[0]);  // the lowest blocks
    full->allocTable = before;
    const auto marked = [](std::uint32_t tag) { return tag != 0 && tag % 3 == 0; };
    ASSERT_TRUE(RecordRomSpace(*full, blocks, marked));
    const AllocTable& table = full->allocTable;
    EXPECT_TRUE(AllocTableIsSound(table));
    EXPECT_EQ(std::count(table.begin(), table.end(), AllocEntry{}), kSpareEntries);
    blocks.insert(blocks.end(), before.begin(), before.end() - 1);
    std::size_t held = 0;  // every block lies in one entry
    for (const AllocEntry& e : table) {
        const auto in = [&](const AllocEntry& b) {
            return b.address >= e.address && b.address + b.size <= e.address + e.size;
        };
        held += std::count_if(blocks.begin(), blocks.end(), in);
        EXPECT_LE(std::count_if(blocks.begin(), blocks.end(),
                                [&](const AllocEntry& b) { return in(b) && marked(b.tag); }),
                  1);
    }
    EXPECT_EQ(held, blocks.size());
    EXPECT_NE(std::find(table.begin(), table.end(), AllocEntry{0x500000, 0x20, 9}), table.end());
    EXPECT_NE(std::find(table.begin(), table.end(), AllocEntry{0x423EA0, 0x20, 0}), table.end());
}
