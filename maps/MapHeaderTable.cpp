#include "maps/MapHeaderTable.h"

#include <algorithm>

#include "project/NumberText.h"
#include "project/ProjectContext.h"

std::uint32_t MapHeaderEntryCount(const ProjectContext& project) {
    const std::uint32_t table = project.Table(RegionTable::MapHeaderPointerTable);
    const std::uint32_t pieces = project.Table(RegionTable::MapScriptTableB);
    if (table == 0) {
        return 0;
    }
    const std::uint32_t count = pieces > table ? (pieces - table) / 3 : kMapCount;
    return std::min<std::uint32_t>(count, kMapCount);
}

std::uint32_t MapHeaderEntryOffset(const ProjectContext& project, std::uint32_t mapId) {
    return project.Table(RegionTable::MapHeaderPointerTable) + 3 * mapId;
}

std::uint32_t ReadMapHeaderEntry(const ProjectContext& project, std::uint32_t mapId) {
    return project.Read24(MapHeaderEntryOffset(project, mapId));
}

std::optional<std::uint32_t> ReadMapId(std::string_view text, std::uint32_t count) {
    const std::optional<std::int64_t> id = ReadNumberText(text);
    if (!id || *id < 0 || *id >= count) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*id);
}

std::string MapIdRangeMessage(std::uint32_t lastId) {
    return "Please enter a map ID from " + HexRangeText(0, lastId, kMapIdDigits) + ".";
}

std::string MapIdRangeText(const ProjectContext& project) {
    const std::uint32_t count = MapHeaderEntryCount(project);
    if (count == 0) {
        return "This release has no map table.";
    }
    return MapIdRangeMessage(count - 1);
}
