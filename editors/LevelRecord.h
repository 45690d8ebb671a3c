#pragma once

#include <array>
#include <cstdint>
#include <optional>

class ProjectContext;

inline constexpr std::uint32_t kLevelRecordSize = 11;
inline constexpr std::uint32_t kLevelCount = 50;

using LevelRecordBytes = std::array<std::uint8_t, kLevelRecordSize>;

// One row of the game's level table: the experience value of a level and its base statistics.
struct LevelRecord {
    std::uint32_t experience = 0;  // 24 bits
    std::uint32_t health = 0;
    std::uint32_t strength = 0;
    std::uint32_t defense = 0;
    std::uint32_t luck = 0;

    bool operator==(const LevelRecord&) const = default;
};

LevelRecord UnpackLevelRecord(const LevelRecordBytes& bytes);
// Values wider than their field are cut to its low bits.
LevelRecordBytes PackLevelRecord(const LevelRecord& record);

// Levels 1 to 50 in order, read at the release's level table; nothing when the table does not
// lie wholly inside the image.
std::optional<std::array<LevelRecord, kLevelCount>> ReadLevelTable(const ProjectContext& project);
