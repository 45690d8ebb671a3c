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

TEST(StatChangeTable, ReadAndWrittenOnlyWholeInsideTheImage) {
    SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
    ProjectContext project;
    ASSERT_EQ(ImportRom(project, image.Bytes()), 1u);
    StatChangeBytes table;
    for (std::uint32_t i = 0; i < kStatChangeTableSize; ++i) {
        table[i] = static_cast<std::uint8_t>(0xC0 + i);
    }
    const std::uint32_t at = project.romSize - kStatChangeTableSize;
    project.SetTable(RegionTable::StatChangeTable, at);
    ASSERT_TRUE(WriteStatChangeTable(project, table));
    EXPECT_EQ(project.Read8(at), 0xC0);
    EXPECT_EQ(project.Read8(at + 75), table[75]);
    EXPECT_EQ(ReadStatChangeTable(project), table);

    const std::vector<std::uint8_t> before = project.romImage;
    project.SetTable(RegionTable::StatChangeTable, at + 1);
    EXPECT_FALSE(ReadStatChangeTable(project));
    EXPECT_FALSE(WriteStatChangeTable(project, StatChangeBytes{}));
    EXPECT_EQ(project.romImage, before);
}

TEST(ItemTexts, EveryEntryInRecordOrderFromTheTextBank) {
    SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
    image.PutItemText(RegionTable::ArmorNamePointerTable, 0, 0x9000,
                      SyntheticImage::WesternText("Cloth"));
    image.PutItemText(RegionTable::ArmorNamePointerTable, 31, 0x9010,
                      SyntheticImage::WesternText("Last Mail"));
    for (std::uint32_t i = 1; i < 31; ++i) {
        image.PutItemText(RegionTable::ArmorNamePointerTable, i, 0x9020,
                          SyntheticImage::WesternText(""));
    }
    ProjectContext project;
    ASSERT_EQ(ImportRom(project, image.Bytes()), 1u);

    const auto names = ReadItemTexts(project, RegionTable::ArmorNamePointerTable, kArmorCount);
    ASSERT_TRUE(names);
    ASSERT_EQ(names->size(), 32u);
    EXPECT_EQ(names->front(), "Cloth");
    EXPECT_EQ((*names)[30], "");
    EXPECT_EQ(names->back(), "Last Mail");
    EXPECT_EQ(ReadItemText(project, RegionTable::ArmorNamePointerTable, kArmorCount, 31),
              "Last Mail");
    EXPECT_FALSE(ReadItemText(project, RegionTable::ArmorNamePointerTable, kArmorCount, 32));

    const std::uint32_t size = project.romSize;
    project.SetTable(RegionTable::ArmorNamePointerTable, size - 2 * kArmorCount);
    EXPECT_TRUE(ReadItemTexts(project, RegionTable::ArmorNamePointerTable, kArmorCount));
    project.SetTable(RegionTable::ArmorNamePointerTable, size - 2 * kArmorCount + 1);
    EXPECT_FALSE(ReadItemTexts(project, RegionTable::ArmorNamePointerTable, kArmorCount));
    EXPECT_FALSE(ReadItemText(project, RegionTable::ArmorNamePointerTable, kArmorCount, 0));
}
