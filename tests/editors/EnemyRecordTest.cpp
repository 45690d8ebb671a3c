#include <random>

#include <gtest/gtest.h>

#include "editors/EnemyRecord.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

namespace {

// Seeds 0 to 2 fill every byte with 0x00, 0xFF or 0xA5; others are random.
EnemyRecordBytes Pattern(std::uint32_t seed) {
    EnemyRecordBytes bytes;
    std::mt19937 random(seed);
    for (std::uint8_t& b : bytes) {
        b = seed < 3 ? std::array<std::uint8_t, 3>{0x00, 0xFF, 0xA5}[seed]
                     : static_cast<std::uint8_t>(random());
    }
    return bytes;
}

std::uint32_t Word(const EnemyRecordBytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8;
}

}  // namespace

TEST(EnemyRecord, UnchangedRecordsPackToTheirExactBytes) {
    for (std::uint32_t seed = 0; seed < 400; ++seed) {
        const EnemyRecordBytes bytes = Pattern(seed);
        ASSERT_EQ(PackEnemyRecord(UnpackEnemyRecord(bytes), bytes), bytes) << seed;
    }
}

TEST(EnemyRecord, EveryFieldPacksOverAnyOriginalAndUnpacksAgain) {
    constexpr std::uint32_t kChances[] = {100, 50, 25, 12, 6};
    for (std::uint32_t seed = 0; seed < 60; ++seed) {
        std::mt19937 random(seed);
        const auto below = [&](std::uint32_t n) {
            return static_cast<std::uint32_t>(random() % n);
        };
        EnemyRecord r;
        for (std::size_t group = 0; group < kLevelGroupCount; ++group) {
            for (std::uint32_t& entry : r.levels[group]) {
                entry = below(4);
            }
            r.groupFlags[group] = below(2) != 0;
        }
        for (bool& element : r.attack2Elements) {
            element = below(2) != 0;
        }
        r = {r.levels,     r.groupFlags,       below(0x100),   below(0x10000), below(1600),
             below(1600),  kChances[below(5)], below(0x10000), below(0x10000), below(0x100),
             below(0x800), below(32),          below(0x100),   below(0x100),   r.attack2Elements};
        const EnemyRecordBytes original = Pattern(seed % 3 == 0 ? seed % 9 / 3 : 1000 + seed);
        const EnemyRecordBytes packed = PackEnemyRecord(r, original);
        ASSERT_EQ(UnpackEnemyRecord(packed), r) << seed;
        EXPECT_EQ(packed[23] & 0x07, original[23] & 0x07);
    }
}

TEST(EnemyRecord, PrintedExamples) {
    const EnemyRecordBytes zeros{};
    EnemyRecord record = UnpackEnemyRecord(zeros);
    record.experience = 1234;
    record.gems = 250;
    for (auto [typed, code, shown] : {std::array<std::uint32_t, 3>{30, 0x1, 50},
                                      {6, 0xF, 6},
                                      {100, 0x0, 100},
                                      {12, 0x7, 12},
                                      {7, 0x7, 12},
                                      {25, 0x3, 25},
                                      {50, 0x1, 50},
                                      {51, 0x0, 100}}) {
        record.chance = typed;
        const EnemyRecordBytes bytes = PackEnemyRecord(record, zeros);
        EXPECT_EQ(Word(bytes, 11), 0x0C34u);
        EXPECT_EQ(bytes[13], 0x50);
        EXPECT_EQ(bytes[14], code << 4 | 2) << typed;
        EXPECT_EQ(UnpackEnemyRecord(bytes).chance, shown) << typed;
    }
    constexpr std::uint32_t kPercent[16] = {100, 50, 50, 25, 50, 25, 25, 12,
                                            50,  25, 25, 12, 25, 12, 12, 6};
    for (std::uint32_t code = 0; code < 16; ++code) {
        EXPECT_EQ(DropChancePercent(code), kPercent[code]) << code;
    }

    record.level = 20;
    record.defense = 120;
    record.attack = 100;
    EXPECT_EQ(EffectiveDefense(record), 310u);
    EXPECT_EQ(EffectiveAttack(record), 337u);

    // Light and Earth of the first word; level bits without a presence bit count for nothing.
    for (auto [word, light, earth] : {std::array<std::uint32_t, 3>{0x0A00, 2, 0},
                                      {0x0B00, 3, 0},
                                      {0x0300, 0, 0},
                                      {0x1800, 1, 1},
                                      {0x10C0, 0, 3}}) {
        const EnemyRecordBytes bytes = {static_cast<std::uint8_t>(word),
                                        static_cast<std::uint8_t>(word >> 8)};
        record = UnpackEnemyRecord(bytes);
        EXPECT_EQ(record.levels[0][0], light) << word;
        EXPECT_EQ(record.levels[0][1], earth) << word;
        EXPECT_EQ(record.levels[0][4], 0u) << word;
    }
}

TEST(EnemyRecord, ChangedFieldsAreCutAndClampedWithoutTouchingTheirNeighbours) {
    const EnemyRecordBytes ones = Pattern(1);  // the largest digits, every bit set
    EnemyRecord record = UnpackEnemyRecord(ones);
    EXPECT_EQ(record.experience, 1665u);
    record.experience = 1600;
    record.gems = 0xFFFFFFFF;  // a negative number typed
    record.attack2 = 0xFFFF;
    record.effect = 14;
    const EnemyRecordBytes bytes = PackEnemyRecord(record, ones);
    EXPECT_EQ(Word(bytes, 11), 0x0F99u);
    EXPECT_EQ(Word(bytes, 13), 0xFF99u);  // the drop-chance code stays
    EXPECT_EQ(Word(bytes, 20), 0x77FFu);

    record.chance = 100;
    record.gems = 1599;
    EXPECT_EQ(PackEnemyRecord(record, ones)[14], 0x0F);
}

TEST(EnemyRecord, FoundOnlyInsideTheImageAndSavedWithTheClamp) {
    SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
    const EnemyRecordBytes bytes = Pattern(7);
    image.PutEnemyRecord(98, 0x8000, bytes);
    ProjectContext project;
    ASSERT_EQ(ImportRom(project, image.Bytes()), 1u);
    EXPECT_EQ(ReadEnemyRecord(project, 98), bytes);
    EXPECT_EQ(EnemyRecordOffset(project, 99), std::nullopt);
    EnemyRecord record = UnpackEnemyRecord(bytes);
    record.experience = 5000;
    record.gems = 1600;
    ASSERT_TRUE(SaveEnemyRecord(project, 98, record));
    EXPECT_EQ(record.experience, 1599u);
    EXPECT_EQ(record.gems, 1599u);
    EXPECT_EQ(UnpackEnemyRecord(*ReadEnemyRecord(project, 98)), record);

    // A record that ends at the last byte is found; one byte further it is neither read nor
    // saved, and neither is a pointer that runs past the end.
    const std::uint32_t size = project.romSize;
    project.SetTable(RegionTable::EnemyDataBank, size - kEnemyRecordSize - 0x8000);
    EXPECT_EQ(EnemyRecordOffset(project, 98), size - kEnemyRecordSize);
    project.SetTable(RegionTable::EnemyDataBank, size - kEnemyRecordSize - 0x8000 + 1);
    const std::vector<std::uint8_t> before = project.romImage;
    EXPECT_EQ(ReadEnemyRecord(project, 98), std::nullopt);
    EXPECT_FALSE(SaveEnemyRecord(project, 98, record));
    EXPECT_EQ(project.romImage, before);
    project.SetTable(RegionTable::EnemyDataBank, 0);
    project.SetTable(RegionTable::EnemyPointerTable, size - 2 * 98 - 1);
    EXPECT_EQ(EnemyRecordOffset(project, 98), std::nullopt);
    EXPECT_NE(EnemyRecordOffset(project, 97), std::nullopt);
}
