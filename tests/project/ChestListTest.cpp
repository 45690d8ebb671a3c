#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

#include "project/ChestRecord.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

using Region = SyntheticImage::Region;

namespace {

std::unique_ptr<ProjectContext> Imported(const SyntheticImage& image) {
    auto project = std::make_unique<ProjectContext>();
    EXPECT_NE(ImportRom(*project, image.Bytes()), kRegionNone);
    return project;
}

ChestRecord Chest(std::uint8_t x, std::uint8_t kind, std::uint16_t item, std::uint16_t id) {
    return {0,
            x,
            static_cast<std::uint8_t>(x + 1),
            kind,
            static_cast<std::uint16_t>(kind == 0x80 ? 0xABCD : 0),
            item,
            id};
}

auto Fields(const ChestRecord& c) {
    return std::tuple(c.offset, c.x, c.y, c.kind, c.extraWord, c.itemWord, c.chestId);
}

}  // namespace

TEST(ChestList, BothFormsReadInsideTheBankAndWrittenInPlace) {
    SyntheticImage image(SyntheticImage::k4MB, Region::UK);
    image.PutChestList(10, 0x4000,
                       std::vector{Chest(3, 0x80, 0x8064, 0x0102), Chest(4, 0, 0x0064, 0x0203),
                                   Chest(5, 8, 0x0010, 0x0304)});
    // Map 20's list starts 14 bytes before the bank's end, map 21's 13: two 7-byte chests fill
    // the first exactly, the second holds one.
    const std::uint32_t bank = image.Table(RegionTable::ChestDataBank);
    image.Put16(image.Table(RegionTable::ChestPointerTable) + 2 * 20, 0xFFF2);
    image.Put16(image.Table(RegionTable::ChestPointerTable) + 2 * 21, 0xFFF3);
    std::fill(image.Bytes().begin() + bank + 0xFFF2, image.Bytes().begin() + bank + 0x10020, 1);
    const auto project = Imported(image);

    // The 9-byte chest, then 7-byte ones; bit 15 of the item word marks gems.
    auto chests = ReadChestList(*project, 10);
    ASSERT_EQ(chests.size(), 3u);
    EXPECT_EQ(Fields(chests[0]), Fields({bank + 0x4000, 3, 4, 0x80, 0xABCD, 0x8064, 0x0102}));
    EXPECT_EQ(Fields(chests[1]), Fields({bank + 0x4009, 4, 5, 0, 0, 0x0064, 0x0203}));
    EXPECT_EQ(chests[2].offset, bank + 0x4010);
    EXPECT_EQ(chests[0].GemAmount(), 100);
    EXPECT_TRUE(chests[0].HoldsGems() && !chests[1].HoldsGems());
    EXPECT_TRUE(ReadChestList(*project, kChestMapCount).empty());
    EXPECT_EQ(ReadChestList(*project, 20).size(), 2u);
    EXPECT_EQ(ReadChestList(*project, 21).size(), 1u);

    chests[0].itemWord = 0x8005;
    chests[1].x = chests[1].y = 9;
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(WriteChestRecord(*project, chests[k]), ChestWriteResult::Written);
        EXPECT_EQ(Fields(ReadChestList(*project, 10)[k]), Fields(chests[k]));
    }
    // An x of 0xFF would end the list there, a new form would shift the chests after it.
    const auto before = project->romImage;
    auto bad = chests[1];
    bad.x = 0xFF;
    EXPECT_EQ(WriteChestRecord(*project, bad), ChestWriteResult::EndMarkerPosition);
    bad = chests[1];
    bad.kind = 0x80;
    EXPECT_EQ(WriteChestRecord(*project, bad), ChestWriteResult::FormChanged);
    bad = chests[1];
    bad.offset = 0x100;
    EXPECT_EQ(WriteChestRecord(*project, bad), ChestWriteResult::OutOfBank);
    EXPECT_EQ(project->romImage, before);
}
