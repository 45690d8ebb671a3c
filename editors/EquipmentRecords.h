#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

class ProjectContext;

// The game's armour, weapon and ring records: 4 bytes each, record i at its table + 4i. An
// armour also has a 16-bit status-immunity word at its own table + 2i.
inline constexpr std::uint32_t kEquipmentRecordSize = 4;
inline constexpr std::uint32_t kArmorCount = 32;
inline constexpr std::uint32_t kWeaponCount = 32;
inline constexpr std::uint32_t kRingCount = 10;
// Light, Earth, Thunder, Ice, Fire.
inline constexpr std::size_t kElementCount = 5;
// "Burn" to "Curse": bits 5 to 15 of an armour's status-immunity word.
inline constexpr std::size_t kStatusImmunityCount = 11;
// Attack and Defense share their 16-bit word with a stat-change id in the top six bits.
inline constexpr std::uint32_t kMaxStrength = 1023;
inline constexpr std::uint32_t kMaxStatChangeId = 63;
inline constexpr std::uint32_t kMaxRingAttack = 255;
inline constexpr std::uint32_t kMaxWeaponUnknown = 255;

using EquipmentRecordBytes = std::array<std::uint8_t, kEquipmentRecordSize>;
using ElementFlags = std::array<bool, kElementCount>;

// Values typed into the pages may be larger than their fields; packing clamps them to the
// largest value the field holds, and a negative entry arrives here as a very large number.
struct WeaponRecord {
    std::uint32_t attack = 0;
    std::uint32_t statChangeId = 0;
    std::uint32_t unknown = 0;  // byte 2
    ElementFlags elements{};

    bool operator==(const WeaponRecord&) const = default;
};

struct RingRecord {
    std::uint32_t attack = 0;  // the whole first word
    ElementFlags elements{};

    bool operator==(const RingRecord&) const = default;
};

struct ArmorRecord {
    std::uint32_t defense = 0;
    std::uint32_t statChangeId = 0;
    // Per element: immune shows only when its presence bit stands alone; the two resistance
    // levels show their own bits.
    ElementFlags immune{};
    ElementFlags resist75{};
    ElementFlags resist50{};
    std::array<bool, kStatusImmunityCount> statusImmunities{};

    bool operator==(const ArmorRecord&) const = default;
};

// The armour's record and its status-immunity word.
struct ArmorBytes {
    EquipmentRecordBytes record{};
    std::uint16_t statusWord = 0;

    bool operator==(const ArmorBytes&) const = default;
};

// Each pack writes over the bytes the record was read from and keeps every bit that no field
// shows, so an unchanged record packs to its original bytes.
WeaponRecord UnpackWeaponRecord(const EquipmentRecordBytes& bytes);
EquipmentRecordBytes PackWeaponRecord(const WeaponRecord& record,
                                      const EquipmentRecordBytes& original);
RingRecord UnpackRingRecord(const EquipmentRecordBytes& bytes);
// An attack that still holds the stored word is kept whole; a new one counts at most 255.
EquipmentRecordBytes PackRingRecord(const RingRecord& record, const EquipmentRecordBytes& original);
ArmorRecord UnpackArmorRecord(const ArmorBytes& bytes);
// An element whose three boxes still show what the stored bits do keeps those bits; a changed
// one gets its presence bit when any box is checked, and its level bits from the level boxes.
ArmorBytes PackArmorRecord(const ArmorRecord& record, const ArmorBytes& original);

// Reading and saving in the image. Nothing (and nothing written) when the index is not a
// record of the table or the table does not lie wholly inside the image.
std::optional<WeaponRecord> ReadWeaponRecord(const ProjectContext& project, std::uint32_t weapon);
bool SaveWeaponRecord(ProjectContext& project, std::uint32_t weapon, const WeaponRecord& record);
std::optional<RingRecord> ReadRingRecord(const ProjectContext& project, std::uint32_t ring);
bool SaveRingRecord(ProjectContext& project, std::uint32_t ring, const RingRecord& record);
std::optional<ArmorRecord> ReadArmorRecord(const ProjectContext& project, std::uint32_t armor);
bool SaveArmorRecord(ProjectContext& project, std::uint32_t armor, const ArmorRecord& record);
