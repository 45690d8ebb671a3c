#include <random>

#include <gtest/gtest.h>

#include "editors/EquipmentRecords.h"
#include "project/ProjectContext.h"
#include "project/RomImport.h"
#include "tests/support/SyntheticImage.h"

namespace {

EquipmentRecordBytes Bytes(std::uint32_t first, std::uint32_t second) {
    return {static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(first >> 8),
            static_cast<std::uint8_t>(second), static_cast<std::uint8_t>(second >> 8)};
}

std::uint32_t Word(const EquipmentRecordBytes& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8;
}

ArmorRecord ArmorWithElementalWord(std::uint32_t word) {
    return UnpackArmorRecord({Bytes(0, word), 0});
}

}  // namespace

TEST(EquipmentRecords, UnchangedRecordsPackToTheirExactBytesForEveryWord) {
    std::mt19937 random(11);
    for (std::uint32_t word = 0; word < 0x10000; ++word) {
        const std::uint32_t other = random() & 0xFFFF;
        for (const EquipmentRecordBytes& bytes : {Bytes(word, other), Bytes(other, word)}) {
            ASSERT_EQ(PackWeaponRecord(UnpackWeaponRecord(bytes), bytes), bytes) << word;
            ASSERT_EQ(PackRingRecord(UnpackRingRecord(bytes), bytes), bytes) << word;
            const ArmorBytes armor{bytes, static_cast<std::uint16_t>(word)};
            ASSERT_EQ(PackArmorRecord(UnpackArmorRecord(armor), armor), armor) << word;
        }
    }
}

TEST(EquipmentRecords, ChangedFieldsPackOverAnyOriginalAndUnpackAgain) {
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        std::mt19937 random(seed);
        const auto below = [&](std::uint32_t n) {
            return static_cast<std::uint32_t>(random() % n);
        };
        const auto flags = [&] {
            ElementFlags elements;
            for (bool& e : elements) {
                e = below(2) != 0;
            }
            return elements;
        };
        const EquipmentRecordBytes original = Bytes(below(0x10000), below(0x10000));

        const WeaponRecord weapon{below(1024), below(64), below(256), flags()};
        const EquipmentRecordBytes weaponBytes = PackWeaponRecord(weapon, original);
        ASSERT_EQ(UnpackWeaponRecord(weaponBytes), weapon) << seed;
        EXPECT_EQ(weaponBytes[3] & 0x07, original[3] & 0x07);

        const RingRecord ring{below(256), flags()};
        const EquipmentRecordBytes ringBytes = PackRingRecord(ring, original);
        ASSERT_EQ(UnpackRingRecord(ringBytes), ring) << seed;
        EXPECT_EQ(ringBytes[2], original[2]);
        EXPECT_EQ(ringBytes[3] & 0x07, original[3] & 0x07);

        ArmorRecord armor{below(1024), below(64), flags(), flags(), flags(), {}};
        for (std::size_t k = 0; k < kElementCount; ++k) {
            armor.immune[k] = armor.immune[k] && !armor.resist75[k] && !armor.resist50[k];
        }
        for (bool& status : armor.statusImmunities) {
            status = below(2) != 0;
        }
        const ArmorBytes armorOriginal{original, static_cast<std::uint16_t>(below(0x10000))};
        const ArmorBytes armorBytes = PackArmorRecord(armor, armorOriginal);
        ASSERT_EQ(UnpackArmorRecord(armorBytes), armor) << seed;
        EXPECT_EQ(Word(armorBytes.record, 2) & 0x0400, Word(original, 2) & 0x0400);
        EXPECT_EQ(armorBytes.statusWord & 0x1F, armorOriginal.statusWord & 0x1F);
    }
}

TEST(EquipmentRecords, ElementalWordsShowAndSaveAsPrinted) {
    ArmorRecord record = ArmorWithElementalWord(0x0A00);
    EXPECT_TRUE(record.resist75[0]);
    EXPECT_FALSE(record.immune[0]);
    record = ArmorWithElementalWord(0x0B00);
    EXPECT_TRUE(record.resist75[0] && record.resist50[0]);
    EXPECT_FALSE(record.immune[0]);

    const ArmorBytes zero{};
    record = UnpackArmorRecord(zero);
    record.immune[1] = true;
    EXPECT_EQ(Word(PackArmorRecord(record, zero).record, 2), 0x1000u);
    record.immune[1] = false;
    record.resist50[1] = true;
    EXPECT_EQ(Word(PackArmorRecord(record, zero).record, 2), 0x1040u);
}

TEST(EquipmentRecords, TypedValuesAreClampedAsPrinted) {
    ArmorRecord armor = UnpackArmorRecord({});
    for (const auto [defense, id, word] : {std::array<std::uint32_t, 3>{5000, 70, 0xFFFF},
                                           {1022, 62, 0xFBFE},
                                           {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFF}}) {  // -1 typed
        armor.defense = defense;
        armor.statChangeId = id;
        EXPECT_EQ(Word(PackArmorRecord(armor, {}).record, 0), word) << defense;
    }

    // A ring's stored attack above 255 stays while unchanged; a new one counts at most 255.
    const EquipmentRecordBytes ring = Bytes(300, 0x07AB);
    RingRecord record = UnpackRingRecord(ring);
    EXPECT_EQ(record.attack, 300u);
    EXPECT_EQ(PackRingRecord(record, ring), ring);
    record.attack = 301;
    EXPECT_EQ(PackRingRecord(record, ring), Bytes(255, 0x07AB));
    record.attack = 255;
    EXPECT_EQ(PackRingRecord(record, ring), Bytes(255, 0x07AB));
}

TEST(EquipmentRecords, ReadAndSavedOnlyForRecordsOfATableInsideTheImage) {
    SyntheticImage image(SyntheticImage::k4MB, SyntheticImage::Region::German);
    ProjectContext project;
    ASSERT_EQ(ImportRom(project, image.Bytes()), 1u);
    const std::vector<std::uint8_t> before = project.romImage;
    const ArmorRecord armor{};
    EXPECT_TRUE(ReadArmorRecord(project, 31) && ReadWeaponRecord(project, 31) &&
                ReadRingRecord(project, 9));
    EXPECT_FALSE(ReadArmorRecord(project, 32) || ReadWeaponRecord(project, 32) ||
                 ReadRingRecord(project, 10));
    EXPECT_FALSE(SaveArmorRecord(project, 32, armor) || SaveWeaponRecord(project, 32, {}) ||
                 SaveRingRecord(project, 10, {}));

    // A table is used whole or not at all: its last record must end inside the image.
    const std::uint32_t size = project.romSize;
    const std::uint32_t statusTable = project.Table(RegionTable::ArmorStatusImmunityTable);
    for (const std::uint32_t past : {0u, 1u}) {
        project.SetTable(RegionTable::WeaponDataTable, size - 4 * kWeaponCount + past);
        project.SetTable(RegionTable::RingDataTable, size - 4 * kRingCount + past);
        project.SetTable(RegionTable::ArmorStatusImmunityTable, size - 2 * kArmorCount + past);
        EXPECT_EQ(ReadWeaponRecord(project, 0).has_value(), past == 0);
        EXPECT_EQ(ReadRingRecord(project, 0).has_value(), past == 0);
        EXPECT_EQ(ReadArmorRecord(project, 0).has_value(), past == 0);
    }
    EXPECT_FALSE(SaveWeaponRecord(project, 0, {}));
    EXPECT_FALSE(SaveRingRecord(project, 0, {}));
    EXPECT_FALSE(SaveArmorRecord(project, 0, armor));
    project.SetTable(RegionTable::ArmorStatusImmunityTable, statusTable);
    project.SetTable(RegionTable::ArmorDataTable, size - 4 * kArmorCount + 1);
    EXPECT_FALSE(ReadArmorRecord(project, 0));
    EXPECT_FALSE(SaveArmorRecord(project, 0, armor));
    EXPECT_EQ(project.romImage, before);
}
