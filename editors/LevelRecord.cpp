#include "editors/LevelRecord.h"

#include <algorithm>
#include <span>

#include "project/ByteAccess.h"
#include "project/ProjectContext.h"

LevelRecord UnpackLevelRecord(const LevelRecordBytes& bytes) {
    return {GetU24(bytes, 0), GetU16(bytes, 3), GetU16(bytes, 5), GetU16(bytes, 7),
            GetU16(bytes, 9)};
}

LevelRecordBytes PackLevelRecord(const LevelRecord& record) {
    LevelRecordBytes bytes{};
    PutU24(bytes, 0, record.experience);
    PutU16(bytes, 3, record.health);
    PutU16(bytes, 5, record.strength);
    PutU16(bytes, 7, record.defense);
    PutU16(bytes, 9, record.luck);
    return bytes;
}

std::optional<std::array<LevelRecord, kLevelCount>> ReadLevelTable(const ProjectContext& project) {
    const std::uint32_t start = project.Table(RegionTable::ExperienceTable);
    if (!InRange(project.romImage.size(), start, kLevelCount * kLevelRecordSize)) {
        return std::nullopt;
    }
    std::array<LevelRecord, kLevelCount> levels;
    for (std::uint32_t i = 0; i < kLevelCount; ++i) {
        LevelRecordBytes bytes;
        std::copy_n(project.romImage.begin() + start + i * kLevelRecordSize, bytes.size(),
                    bytes.begin());
        levels[i] = UnpackLevelRecord(bytes);
    }
    return levels;
}
