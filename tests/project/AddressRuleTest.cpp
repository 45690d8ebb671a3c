#include <gtest/gtest.h>

#include "project/ProjectContext.h"

namespace {

std::unique_ptr<ProjectContext> MakeProject(std::uint32_t size, std::uint32_t region) {
    auto project = std::make_unique<ProjectContext>();
    project->romImage.assign(size, 0);
    project->romSize = size;
    project->regionIndex = region;
    return project;
}

}  // namespace

TEST(AddressRule, ExamplesBySizeAndRegion) {
    const struct {
        std::uint32_t size, region, address, offset;
    } cases[] = {
        {0x400000, 1, 0x96F3A9, 0x16F3A9},
        {0x400000, 1, 0xB3868C, 0x33868C},
        {0x400000, 1, 0x3FFFFF, 0x3FFFFF},
        {0x400000, 1, 0x400000, 0},
        // A 6 MB image keeps its upper part; region 5 masks to the first megabyte.
        {0x600000, 1, 0x508000, 0x508000},
        {0x600000, 1, 0x96F3A9, 0x16F3A9},
        {0x100000, 5, 0x16D10F, 0x6D10F},
        {0x100000, 5, 0x100000, 0},
        // A 1 MB image of another region: the rule can point past the end.
        {0x100000, 1, 0x3F0000, 0x3F0000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeProject(c.size, c.region)->WrapRomOffset(c.address), c.offset)
            << std::hex << c.size << " " << c.region << " " << c.address;
    }
}

TEST(AddressRule, ReadRomLongAndBoundedAccess) {
    auto owner = MakeProject(0x100000, 1);
    auto& p = *owner;
    p.Write8(0x1234, 0x9C);
    p.Write8(0x1235, 0x95);
    p.Write8(0x1236, 0x06);
    EXPECT_EQ(p.ReadRomLong(0x1234), 0x6959Cu);
    EXPECT_EQ(p.ReadRomLong(0xC01234), 0x6959Cu);
    EXPECT_EQ(p.ReadRomLong(0x3F0000), 0u);  // past the end: reads give 0
    EXPECT_FALSE(p.Write8(0x100000, 1));
    EXPECT_FALSE(p.Write16(0xFFFFF, 1));
    EXPECT_EQ(p.Read8(0xFFFFF), 0);
    // Only the present byte of a value at the very end is read.
    p.Write8(0xFFFFF, 0x42);
    EXPECT_EQ(p.Read24(0xFFFFF), 0x42u);

    DestroyCurrentProject();
    EXPECT_EQ(ReadRomLong(0x1234), 0u);
    EXPECT_EQ(WrapRomOffset(0x1234), 0u);
}
