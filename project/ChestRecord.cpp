#include "project/ChestRecord.h"

#include <algorithm>

#include "project/ProjectContext.h"

namespace {

struct ChestArea {
    std::uint32_t bankBase = 0;
    std::uint32_t limit = 0;  // the walk stays below this offset
};

ChestArea AreaOf(const ProjectContext& project) {
    const std::uint32_t base = project.Table(RegionTable::ChestDataBank);
    const auto imageEnd = static_cast<std::uint32_t>(project.romImage.size());
    return {base, std::min<std::uint32_t>(imageEnd, base + 0x10000)};
}

bool RecordFits(const ChestArea& area, std::uint32_t offset, std::uint32_t size) {
    return offset >= area.bankBase && offset < area.limit && size <= area.limit - offset;
}

ChestRecord ReadChestAt(const ProjectContext& project, std::uint32_t at) {
    ChestRecord c;
    c.offset = at;
    c.x = project.Read8(at);
    c.y = project.Read8(at + 1);
    c.kind = project.Read8(at + 2);
    if (c.IsLongForm()) {
        c.extraWord = project.Read16(at + 3);
        c.itemWord = project.Read16(at + 5);
        c.chestId = project.Read16(at + 7);
    } else {
        c.itemWord = project.Read16(at + 3);
        c.chestId = project.Read16(at + 5);
    }
    return c;
}

}  // namespace

std::vector<ChestRecord> ReadChestList(const ProjectContext& project, std::uint32_t mapId) {
    std::vector<ChestRecord> chests;
    const std::uint32_t table = project.Table(RegionTable::ChestPointerTable);
    if (table == 0 || mapId >= kChestMapCount) {
        return chests;
    }
    const ChestArea area = AreaOf(project);
    std::uint32_t at = area.bankBase + project.Read16(table + 2 * mapId);
    while (RecordFits(area, at, 1) && project.Read8(at) != kChestListEnd) {
        const std::uint32_t size = project.Read8(at + 2) == ChestRecord::kLongFormKind ? 9 : 7;
        if (!RecordFits(area, at, size)) {
            break;
        }
        chests.push_back(ReadChestAt(project, at));
        at += size;
    }
    return chests;
}

ChestWriteResult WriteChestRecord(ProjectContext& project, const ChestRecord& chest) {
    if (chest.x == kChestListEnd) {
        return ChestWriteResult::EndMarkerPosition;
    }
    if (!RecordFits(AreaOf(project), chest.offset, chest.Size())) {
        return ChestWriteResult::OutOfBank;
    }
    const bool longInImage = project.Read8(chest.offset + 2) == ChestRecord::kLongFormKind;
    if (longInImage != chest.IsLongForm()) {
        return ChestWriteResult::FormChanged;
    }
    const std::uint32_t at = chest.offset;
    project.Write8(at, chest.x);
    project.Write8(at + 1, chest.y);
    project.Write8(at + 2, chest.kind);
    if (chest.IsLongForm()) {
        project.Write16(at + 3, chest.extraWord);
        project.Write16(at + 5, chest.itemWord);
        project.Write16(at + 7, chest.chestId);
    } else {
        project.Write16(at + 3, chest.itemWord);
        project.Write16(at + 5, chest.chestId);
    }
    return ChestWriteResult::Written;
}
