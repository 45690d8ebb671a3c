#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

class ProjectContext;

inline constexpr std::uint32_t kEnemyRecordSize = 25;
// Enemies 0 to 98 have a record.
inline constexpr std::uint32_t kEnemyCount = 99;
// Experience and gems keep their hundreds in one nibble.
inline constexpr std::uint32_t kEnemyMaxCount = 1599;
inline constexpr std::size_t kLevelGroupCount = 4;
inline constexpr std::size_t kLevelKindCount = 5;

using EnemyRecordBytes = std::array<std::uint8_t, kEnemyRecordSize>;

// The four level words at the start of a record, in record order. Each holds five kinds:
// Light, Earth, Thunder, Ice, Fire for the elemental words; Quick, Slicer, Slider, Spinner,
// Rushing for the physical ones.
enum class LevelGroup {
    ElementalResistance,
    PhysicalResistance,
    ElementalWeakness,
    PhysicalWeakness
};

// One enemy's 25-byte record as the Enemies page shows it. Level entries: 0 none, 1 the kind's
// presence bit, 2 presence and first level bit, 3 presence and second level bit.
struct EnemyRecord {
    std::array<std::array<std::uint32_t, kLevelKindCount>, kLevelGroupCount> levels{};
    std::array<bool, kLevelGroupCount> groupFlags{};  // bit 10 of each level word
    std::uint32_t level = 0;
    std::uint32_t health = 0;
    std::uint32_t experience = 0;
    std::uint32_t gems = 0;
    std::uint32_t chance = 0;  // drop chance in percent
    std::uint32_t attack = 0;
    std::uint32_t defense = 0;
    std::uint32_t luck = 0;
    std::uint32_t attack2 = 0;
    std::uint32_t effect = 0;  // status effect number of the second attack, 0 to 31
    std::uint32_t unknown = 0;
    std::uint32_t luck2 = 0;
    std::array<bool, kLevelKindCount> attack2Elements{};  // Light, Earth, Thunder, Ice, Fire

    bool operator==(const EnemyRecord&) const = default;
};

EnemyRecord UnpackEnemyRecord(const EnemyRecordBytes& bytes);

// Packs a record over the bytes it was unpacked from. Values wider than their field are cut to
// its low bits; new experience and gems above kEnemyMaxCount count as kEnemyMaxCount. A field
// that still holds what the original bytes unpack to keeps its exact bits, and bits no field
// shows (byte 23 bits 0-2) are kept, so an unchanged record packs to its original bytes.
EnemyRecordBytes PackEnemyRecord(const EnemyRecord& record, const EnemyRecordBytes& original);

// The drop chance in percent that a 4-bit code gives, and the code written for a percentage.
std::uint32_t DropChancePercent(std::uint32_t code);
std::uint32_t DropChanceCode(std::uint32_t percent);

std::uint32_t EffectiveDefense(const EnemyRecord& record);
std::uint32_t EffectiveAttack(const EnemyRecord& record);

// Where enemy e's record lies in the image: the bank plus the enemy's 16-bit pointer. Nothing
// when e is not an enemy or the pointer or the record lies outside the image.
std::optional<std::uint32_t> EnemyRecordOffset(const ProjectContext& project, std::uint32_t e);
std::optional<EnemyRecordBytes> ReadEnemyRecord(const ProjectContext& project, std::uint32_t e);
// Clamps the record's new experience and gems as packing does, packs it over enemy e's record
// and writes it; false (and nothing written) when the record cannot be found in the image.
bool SaveEnemyRecord(ProjectContext& project, std::uint32_t e, EnemyRecord& record);
