#include "editors/EquipmentRecords.h"

#include <algorithm>

#include "editors/LevelWordBits.h"
#include "project/ByteAccess.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kStatChangeShift = 10;
constexpr std::uint32_t kStrengthMask = 0x03FF;
// Bits 0 to 2 of an element byte belong to no element.
constexpr std::uint32_t kFirstElementBit = 0x08;
constexpr std::uint32_t kFirstStatusBit = 0x0020;

// In the armour's elemental resistance word the first level bit is 75%, the second 50%.
std::uint32_t ElementBits(std::size_t element) {
    return PresenceBit(element) | FirstLevelBit(element) | SecondLevelBit(element);
}

ElementFlags UnpackElements(std::uint8_t byte) {
    ElementFlags elements{};
    for (std::size_t k = 0; k < kElementCount; ++k) {
        elements[k] = (byte & (kFirstElementBit << k)) != 0;
    }
    return elements;
}

std::uint8_t PackElements(const ElementFlags& elements, std::uint8_t original) {
    std::uint32_t byte = original & (kFirstElementBit - 1);
    for (std::size_t k = 0; k < kElementCount; ++k) {
        if (elements[k]) {
            byte |= kFirstElementBit << k;
        }
    }
    return static_cast<std::uint8_t>(byte);
}

// Attack or Defense in bits 0-9, the stat-change id in bits 10-15.
std::uint32_t StrengthWord(std::uint32_t strength, std::uint32_t statChangeId) {
    return std::min(strength, kMaxStrength) | std::min(statChangeId, kMaxStatChangeId)
                                                  << kStatChangeShift;
}

std::optional<std::uint32_t> RecordOffset(const ProjectContext& project, RegionTable table,
                                          std::uint32_t count, std::uint32_t size,
                                          std::uint32_t index) {
    const std::uint32_t start = project.Table(table);
    if (index >= count || !InRange(project.romImage.size(), start, count * size)) {
        return std::nullopt;
    }
    return start + index * size;
}

std::optional<EquipmentRecordBytes> ReadRecordBytes(const ProjectContext& project,
                                                    RegionTable table, std::uint32_t count,
                                                    std::uint32_t index) {
    const auto offset = RecordOffset(project, table, count, kEquipmentRecordSize, index);
    if (!offset) {
        return std::nullopt;
    }
    EquipmentRecordBytes bytes;
    std::copy_n(project.romImage.begin() + *offset, bytes.size(), bytes.begin());
    return bytes;
}

std::optional<ArmorBytes> ReadArmorBytes(const ProjectContext& project, std::uint32_t armor) {
    const auto record = ReadRecordBytes(project, RegionTable::ArmorDataTable, kArmorCount, armor);
    const auto status =
        RecordOffset(project, RegionTable::ArmorStatusImmunityTable, kArmorCount, 2, armor);
    if (!record || !status) {
        return std::nullopt;
    }
    return ArmorBytes{*record, project.Read16(*status)};
}

// Reads record `index` of a table, packs the edited record over it and writes it back.
template <typename Record, typename Pack>
bool SaveRecord(ProjectContext& project, RegionTable table, std::uint32_t count,
                std::uint32_t index, const Record& record, Pack pack) {
    const auto original = ReadRecordBytes(project, table, count, index);
    if (!original) {
        return false;
    }
    return project.WriteBytes(*RecordOffset(project, table, count, kEquipmentRecordSize, index),
                              pack(record, *original));
}

}  // namespace

WeaponRecord UnpackWeaponRecord(const EquipmentRecordBytes& bytes) {
    const std::uint32_t word = GetU16(bytes, 0);
    return {word & kStrengthMask, word >> kStatChangeShift, bytes[2], UnpackElements(bytes[3])};
}

EquipmentRecordBytes PackWeaponRecord(const WeaponRecord& record,
                                      const EquipmentRecordBytes& original) {
    EquipmentRecordBytes bytes;
    PutU16(bytes, 0, StrengthWord(record.attack, record.statChangeId));
    bytes[2] = static_cast<std::uint8_t>(std::min(record.unknown, kMaxWeaponUnknown));
    bytes[3] = PackElements(record.elements, original[3]);
    return bytes;
}

RingRecord UnpackRingRecord(const EquipmentRecordBytes& bytes) {
    return {GetU16(bytes, 0), UnpackElements(bytes[3])};
}

EquipmentRecordBytes PackRingRecord(const RingRecord& record,
                                    const EquipmentRecordBytes& original) {
    EquipmentRecordBytes bytes = original;
    const std::uint32_t stored = GetU16(original, 0);
    PutU16(bytes, 0, record.attack == stored ? stored : std::min(record.attack, kMaxRingAttack));
    bytes[3] = PackElements(record.elements, original[3]);
    return bytes;
}

ArmorRecord UnpackArmorRecord(const ArmorBytes& bytes) {
    ArmorRecord record;
    const std::uint32_t word = GetU16(bytes.record, 0);
    record.defense = word & kStrengthMask;
    record.statChangeId = word >> kStatChangeShift;
    const std::uint32_t elemental = GetU16(bytes.record, 2);
    for (std::size_t k = 0; k < kElementCount; ++k) {
        record.resist75[k] = (elemental & FirstLevelBit(k)) != 0;
        record.resist50[k] = (elemental & SecondLevelBit(k)) != 0;
        record.immune[k] =
            (elemental & PresenceBit(k)) != 0 && !record.resist75[k] && !record.resist50[k];
    }
    for (std::size_t s = 0; s < kStatusImmunityCount; ++s) {
        record.statusImmunities[s] = (bytes.statusWord & (kFirstStatusBit << s)) != 0;
    }
    return record;
}

ArmorBytes PackArmorRecord(const ArmorRecord& record, const ArmorBytes& original) {
    const ArmorRecord before = UnpackArmorRecord(original);
    ArmorBytes bytes = original;
    PutU16(bytes.record, 0, StrengthWord(record.defense, record.statChangeId));

    const std::uint32_t oldElemental = GetU16(original.record, 2);
    std::uint32_t elemental = oldElemental;
    for (std::size_t k = 0; k < kElementCount; ++k) {
        const bool immune = record.immune[k];
        const bool r75 = record.resist75[k];
        const bool r50 = record.resist50[k];
        if (immune == before.immune[k] && r75 == before.resist75[k] && r50 == before.resist50[k]) {
            continue;
        }
        elemental &= ~ElementBits(k);
        if (immune || r75 || r50) {
            elemental |= PresenceBit(k);
        }
        if (r75) {
            elemental |= FirstLevelBit(k);
        }
        if (r50) {
            elemental |= SecondLevelBit(k);
        }
    }
    PutU16(bytes.record, 2, elemental);

    std::uint32_t status = original.statusWord & (kFirstStatusBit - 1);
    for (std::size_t s = 0; s < kStatusImmunityCount; ++s) {
        if (record.statusImmunities[s]) {
            status |= kFirstStatusBit << s;
        }
    }
    bytes.statusWord = static_cast<std::uint16_t>(status);
    return bytes;
}

std::optional<WeaponRecord> ReadWeaponRecord(const ProjectContext& project, std::uint32_t weapon) {
    const auto bytes = ReadRecordBytes(project, RegionTable::WeaponDataTable, kWeaponCount, weapon);
    return bytes ? std::optional(UnpackWeaponRecord(*bytes)) : std::nullopt;
}

bool SaveWeaponRecord(ProjectContext& project, std::uint32_t weapon, const WeaponRecord& record) {
    return SaveRecord(project, RegionTable::WeaponDataTable, kWeaponCount, weapon, record,
                      PackWeaponRecord);
}

std::optional<RingRecord> ReadRingRecord(const ProjectContext& project, std::uint32_t ring) {
    const auto bytes = ReadRecordBytes(project, RegionTable::RingDataTable, kRingCount, ring);
    return bytes ? std::optional(UnpackRingRecord(*bytes)) : std::nullopt;
}

bool SaveRingRecord(ProjectContext& project, std::uint32_t ring, const RingRecord& record) {
    return SaveRecord(project, RegionTable::RingDataTable, kRingCount, ring, record,
                      PackRingRecord);
}

std::optional<ArmorRecord> ReadArmorRecord(const ProjectContext& project, std::uint32_t armor) {
    const auto bytes = ReadArmorBytes(project, armor);
    return bytes ? std::optional(UnpackArmorRecord(*bytes)) : std::nullopt;
}

bool SaveArmorRecord(ProjectContext& project, std::uint32_t armor, const ArmorRecord& record) {
    const auto original = ReadArmorBytes(project, armor);
    if (!original) {
        return false;
    }
    const ArmorBytes bytes = PackArmorRecord(record, *original);
    return project.WriteBytes(*RecordOffset(project, RegionTable::ArmorDataTable, kArmorCount,
                                            kEquipmentRecordSize, armor),
                              bytes.record) &&
           project.Write16(
               *RecordOffset(project, RegionTable::ArmorStatusImmunityTable, kArmorCount, 2, armor),
               bytes.statusWord);
}
