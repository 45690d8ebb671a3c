#include <gtest/gtest.h>

#include "editors/EquipmentRecords.h"
#include "editors/ItemTexts.h"
#include "editors/StatChangeTable.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

TEST(StatChangeTable, EveryByteShowsSignedAndReadsBack) {
    for (std::uint32_t b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        ASSERT_EQ(StatChangeByte(StatChangeText(byte)), byte) << b;
    }
    EXPECT_EQ(StatChangeText(0xFB), "-5");
    EXPECT_EQ(StatChangeText(0x7F), "127");
    const std::pair<const char*, std::uint8_t> typed[] = {
        {"-5", 0xFB}, {"200", 0xC8}, {"0x80", 0x80}, {"0x1FF", 0xFF}, {"-128", 0x80},
        {"abc", 0},   {"", 0},       {"0X10", 0x10}, {"256", 0}};
    for (const auto& [text, byte] : typed) {
        EXPECT_EQ(StatChangeByte(text), byte) << text;
    }
    EXPECT_EQ(StatChangeText(StatChangeByte("200")), "-56");
}

TEST(ItemTexts, EveryEntryInRecordOrderFromTheTextBank) {
    SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
    image.PutItemText(RegionTable::ArmorNamePointerTable, 0, 0, SyntheticImage::WesternText(""));
    image.PutItemText(RegionTable::ArmorNamePointerTable, 31, 0x9010,
                      SyntheticImage::WesternText("Last Mail"));
    ProjectContext project;
    ASSERT_EQ(ImportRom(project, image.Bytes()), 1u);

    constexpr RegionTable kNames = RegionTable::ArmorNamePointerTable;
    const auto names = ReadItemTexts(project, kNames, kArmorCount);
    ASSERT_TRUE(names);
    ASSERT_EQ(names->size(), 32u);
    EXPECT_EQ(names->front(), "");
    EXPECT_EQ(names->back(), "Last Mail");
    EXPECT_EQ(ReadItemText(project, kNames, kArmorCount, 31), "Last Mail");
    EXPECT_FALSE(ReadItemText(project, kNames, kArmorCount, 32));

    const std::uint32_t size = project.romSize;
    project.SetTable(kNames, size - 2 * kArmorCount);
    EXPECT_TRUE(ReadItemTexts(project, kNames, kArmorCount));
    project.SetTable(kNames, size - 2 * kArmorCount + 1);
    EXPECT_FALSE(ReadItemTexts(project, kNames, kArmorCount));
    EXPECT_FALSE(ReadItemText(project, kNames, kArmorCount, 0));
}
