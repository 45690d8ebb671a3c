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

TEST(AddressRule, FourMegabyteImageOfRegion1) {
    const auto owner = MakeProject(0x400000, 1);
    const auto& p = *owner;
    EXPECT_EQ(p.WrapRomOffset(0x96F3A9), 0x16F3A9u);
    EXPECT_EQ(p.WrapRomOffset(0xB3868C), 0x33868Cu);
    EXPECT_EQ(p.WrapRomOffset(0x3FFFFF), 0x3FFFFFu);
    EXPECT_EQ(p.WrapRomOffset(0x400000), 0u);
}

TEST(AddressRule, SixMegabyteImageKeepsItsUpperPart) {
    const auto owner = MakeProject(0x600000, 1);
    const auto& p = *owner;
    EXPECT_EQ(p.WrapRomOffset(0x508000), 0x508000u);
    EXPECT_EQ(p.WrapRomOffset(0x96F3A9), 0x16F3A9u);
}

TEST(AddressRule, Region5MasksToTheFirstMegabyte) {
    const auto owner = MakeProject(0x100000, 5);
    const auto& p = *owner;
    EXPECT_EQ(p.WrapRomOffset(0x16D10F), 0x6D10Fu);
    EXPECT_EQ(p.WrapRomOffset(0x100000), 0u);
}

TEST(AddressRule, ReadRomLongAndBoundedAccess) {
    auto owner = MakeProject(0x100000, 1);
    auto& p = *owner;
    p.Write8(0x1234, 0x9C);
    p.Write8(0x1235, 0x95);
    p.Write8(0x1236, 0x06);
    EXPECT_EQ(p.ReadRomLong(0x1234), 0x6959Cu);
    EXPECT_EQ(p.ReadRomLong(0xC01234), 0x6959Cu);
    // A 1 MB image of a region other than 5: the rule can point past the end; reads give 0.
    EXPECT_EQ(p.WrapRomOffset(0x3F0000), 0x3F0000u);
    EXPECT_EQ(p.ReadRomLong(0x3F0000), 0u);
    EXPECT_FALSE(p.Write8(0x100000, 1));
    EXPECT_FALSE(p.Write16(0xFFFFF, 1));
    EXPECT_EQ(p.Read8(0xFFFFF), 0);
    // Only the present byte of a value at the very end is read.
    p.Write8(0xFFFFF, 0x42);
    EXPECT_EQ(p.Read24(0xFFFFF), 0x42u);
}

TEST(AddressRule, CurrentProjectHelpersWithoutAProject) {
    DestroyCurrentProject();
    EXPECT_EQ(ReadRomLong(0x1234), 0u);
    EXPECT_EQ(WrapRomOffset(0x1234), 0u);
}

TEST(RegionTables, ValuesAsTheReleasesShipThem) {
    const auto& t = DefaultRegionAddressTables();
    auto value = [&](RegionTable table, int region) {
        return t[static_cast<std::size_t>(table)][region];
    };
    EXPECT_EQ(kRegionTableCount, 53u);
    EXPECT_EQ(value(RegionTable::MapHeaderPointerTable, 5), 0x4959Cu);
    EXPECT_EQ(value(RegionTable::ChestPointerTable, 0), 0x16D10Fu);
    EXPECT_EQ(value(RegionTable::ShopTable, 5), 0u);
    EXPECT_EQ(value(RegionTable::WorldMapExitTable, 1), 0x99FB3Au);
    EXPECT_EQ(value(RegionTable::WorldMapExitTable, 6), 0u);
    EXPECT_EQ(value(RegionTable::MapZeroExtraTableC, 1), 0xB3868Cu);
    EXPECT_EQ(value(RegionTable::StatChangeTable, 6), 0x5F6BDu);
    EXPECT_EQ(value(RegionTable::TitleLayoutTableB, 6), 0u);
    EXPECT_STREQ(RegionTableName(RegionTable::SpritePlacementBankB), "SpritePlacementBankB");
}

TEST(RegionTables, AProjectOverridesOnlyItsOwnCopy) {
    ProjectContext a;
    a.regionIndex = 2;
    a.SetTable(RegionTable::SpritePlacementPointerTableA, 0x508000);
    EXPECT_EQ(a.Table(RegionTable::SpritePlacementPointerTableA), 0x508000u);
    ProjectContext b;
    b.regionIndex = 2;
    EXPECT_EQ(b.Table(RegionTable::SpritePlacementPointerTableA), 0x28000u);
    b.regionIndex = kRegionNone;
    EXPECT_EQ(b.Table(RegionTable::SpritePlacementPointerTableA), 0u);
}
