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
    ChestRecord c;
    c.x = x;
    c.y = static_cast<std::uint8_t>(x + 1);
    c.kind = kind;
    c.extraWord = kind == 0x80 ? 0xABCD : 0;
    c.itemWord = item;
    c.chestId = id;
    return c;
}

}  // namespace

TEST(ChestList, BothFormsFollowEachOther) {
    SyntheticImage image(SyntheticImage::k4MB, Region::UK);
    image.PutChestList(10, 0x4000,
                       std::vector{Chest(3, 0x80, 0x8064, 0x0102), Chest(4, 0, 0x0064, 0x0203),
                                   Chest(5, 8, 0x0010, 0x0304)});
    image.PutChestList(11, 0x5000, {});
    const auto project = Imported(image);
    const std::uint32_t base = image.Table(RegionTable::ChestDataBank) + 0x4000;

    const auto chests = ReadChestList(*project, 10);
    ASSERT_EQ(chests.size(), 3u);
    EXPECT_EQ(chests[0].offset, base);
    EXPECT_TRUE(chests[0].IsLongForm());
    EXPECT_EQ(chests[0].extraWord, 0xABCD);
    EXPECT_TRUE(chests[0].HoldsGems());
    EXPECT_EQ(chests[0].GemAmount(), 100);
    EXPECT_EQ(chests[0].chestId, 0x0102);
    EXPECT_EQ(chests[1].offset, base + 9);  // the 7-byte chest starts 9 bytes after the first
    EXPECT_FALSE(chests[1].HoldsGems());
    EXPECT_EQ(chests[1].itemWord, 100);
    EXPECT_EQ(chests[1].chestId, 0x0203);
    EXPECT_EQ(chests[1].y, 5);
    EXPECT_EQ(chests[2].offset, base + 16);
    EXPECT_EQ(chests[2].kind, 8);

    EXPECT_TRUE(ReadChestList(*project, 11).empty());
    EXPECT_TRUE(ReadChestList(*project, kChestMapCount).empty());
}

TEST(ChestList, WalkStaysInsideTheChestBank) {
    SyntheticImage image(SyntheticImage::k4MB, Region::German);
    const std::uint32_t bank = image.Table(RegionTable::ChestDataBank);
    image.Put16(image.Table(RegionTable::ChestPointerTable) + 2 * 20, 0xFFF5);
    std::fill(image.Bytes().begin() + bank + 0xFFF5, image.Bytes().begin() + bank + 0x10020, 0x01);
    const auto project = Imported(image);
    // One 7-byte chest fits before the bank end; the next would cross it.
    EXPECT_EQ(ReadChestList(*project, 20).size(), 1u);
}

TEST(ChestList, WrittenInPlaceKeepingItsForm) {
    SyntheticImage image(SyntheticImage::k4MB, Region::German);
    image.PutChestList(1, 0x100, std::vector{Chest(3, 0, 1, 7), Chest(4, 0x80, 2, 8)});
    auto project = Imported(image);
    auto chests = ReadChestList(*project, 1);
    ASSERT_EQ(chests.size(), 2u);

    chests[0].x = 9;
    chests[0].itemWord = 0x8005;
    chests[1].itemWord = 0x0042;
    EXPECT_EQ(WriteChestRecord(*project, chests[0]), ChestWriteResult::Written);
    EXPECT_EQ(WriteChestRecord(*project, chests[1]), ChestWriteResult::Written);
    const auto reread = ReadChestList(*project, 1);
    ASSERT_EQ(reread.size(), 2u);
    EXPECT_EQ(reread[0].x, 9);
    EXPECT_EQ(reread[0].GemAmount(), 5);
    EXPECT_EQ(reread[1].itemWord, 0x42);
    EXPECT_EQ(reread[1].extraWord, 0xABCD);

    // An x of 0xFF would end the list there, a new form would shift the chests after it.
    const auto before = project->romImage;
    auto bad = reread[0];
    bad.x = 0xFF;
    EXPECT_EQ(WriteChestRecord(*project, bad), ChestWriteResult::EndMarkerPosition);
    bad = reread[0];
    bad.kind = 0x80;
    EXPECT_EQ(WriteChestRecord(*project, bad), ChestWriteResult::FormChanged);
    bad = reread[0];
    bad.offset = 0x100;
    EXPECT_EQ(WriteChestRecord(*project, bad), ChestWriteResult::OutOfBank);
    EXPECT_EQ(project->romImage, before);
}
