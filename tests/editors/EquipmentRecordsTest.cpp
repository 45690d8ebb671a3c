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
    EXPECT_TRUE(ArmorWithElementalWord(0x8000).immune[4]);

    const ArmorBytes zero{};
    record = UnpackArmorRecord(zero);
    record.immune[1] = true;
    EXPECT_EQ(Word(PackArmorRecord(record, zero).record, 2), 0x1000u);
    record.immune[1] = false;
    record.resist50[1] = true;
    EXPECT_EQ(Word(PackArmorRecord(record, zero).record, 2), 0x1040u);

    // A level bit without its presence bit is kept while unchanged; a change sets presence.
    // Clearing every box of an element clears all three of its bits, bit 10 stays.
    const ArmorBytes lone{Bytes(0, 0x0602), 0};
    record = UnpackArmorRecord(lone);
    EXPECT_EQ(PackArmorRecord(record, lone), lone);
    record.resist50[0] = true;
    EXPECT_EQ(Word(PackArmorRecord(record, lone).record, 2), 0x0F02u);
    record.resist50[0] = false;
    record.resist75[0] = false;
    record.resist75[4] = false;
    EXPECT_EQ(Word(PackArmorRecord(record, lone).record, 2), 0x0400u);
    record.immune[4] = true;
    EXPECT_EQ(Word(PackArmorRecord(record, lone).record, 2), 0x8400u);
}

TEST(EquipmentRecords, TypedValuesAreClampedAsPrinted) {
    const ArmorBytes ones{Bytes(0xFFFF, 0xFFFF), 0xFFFF};
    ArmorRecord armor = UnpackArmorRecord({});
    armor.defense = 5000;
    armor.statChangeId = 70;
    EXPECT_EQ(Word(PackArmorRecord(armor, ones).record, 0), 0xFFFFu);
    armor.defense = 1022;
    EXPECT_EQ(Word(PackArmorRecord(armor, {}).record, 0), 0xFFFEu);
    armor.defense = 0xFFFFFFFF;  // -1 typed
    armor.statChangeId = 0xFFFFFFFF;
    EXPECT_EQ(Word(PackArmorRecord(armor, {}).record, 0), 0xFFFFu);
    armor.statChangeId = 62;
    armor.defense = 1023;
    EXPECT_EQ(Word(PackArmorRecord(armor, {}).record, 0), 0xFBFFu);
    // Status bits 0-4 belong to no box.
    EXPECT_EQ(PackArmorRecord(UnpackArmorRecord({}), {Bytes(0, 0), 0x001F}).statusWord, 0x001F);

    const WeaponRecord weapon{0xFFFFFFFF, 64, 300, {}};
    EXPECT_EQ(PackWeaponRecord(weapon, Bytes(0, 0)), Bytes(0xFFFF, 0x00FF));

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
    image.PutBytes(image.Table(RegionTable::ArmorDataTable) + 4 * 31, Bytes(0x0C05, 0x1000));
    image.Put16(image.Table(RegionTable::ArmorStatusImmunityTable) + 2 * 31, 0x8021);
    ProjectContext project;
    ASSERT_EQ(ImportRom(project, image.Bytes()), 1u);

    ArmorRecord armor = *ReadArmorRecord(project, 31);
    EXPECT_EQ(armor.defense, 5u);
    EXPECT_EQ(armor.statChangeId, 3u);
    EXPECT_TRUE(armor.immune[1]);
    EXPECT_TRUE(armor.statusImmunities[0] && armor.statusImmunities[10]);
    armor.statusImmunities[1] = true;
    armor.defense = 6;
    ASSERT_TRUE(SaveArmorRecord(project, 31, armor));
    EXPECT_EQ(project.Read16(image.Table(RegionTable::ArmorDataTable) + 4 * 31), 0x0C06);
    EXPECT_EQ(project.Read16(image.Table(RegionTable::ArmorStatusImmunityTable) + 2 * 31), 0x8061);

    const std::vector<std::uint8_t> before = project.romImage;
    EXPECT_FALSE(ReadArmorRecord(project, 32));
    EXPECT_FALSE(SaveArmorRecord(project, 32, armor));
    EXPECT_FALSE(ReadWeaponRecord(project, 32));
    EXPECT_FALSE(SaveWeaponRecord(project, 32, {}));
    EXPECT_TRUE(ReadRingRecord(project, 9));
    EXPECT_FALSE(ReadRingRecord(project, 10));
    EXPECT_FALSE(SaveRingRecord(project, 10, {}));

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
