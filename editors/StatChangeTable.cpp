#include "editors/StatChangeTable.h"

#include <algorithm>

#include "project/NumberText.h"
#include "project/ProjectContext.h"

namespace {

std::optional<std::uint32_t> TableOffset(const ProjectContext& project) {
    const std::uint32_t start = project.Table(RegionTable::StatChangeTable);
    if (!InRange(project.romImage.size(), start, kStatChangeTableSize)) {
        return std::nullopt;
    }
    return start;
}

}  // namespace

std::string StatChangeText(std::uint8_t byte) {
    return std::to_string(static_cast<std::int8_t>(byte));
}

std::uint8_t StatChangeByte(std::string_view text) {
    return static_cast<std::uint8_t>(ParseNumberText(text));
}

std::optional<StatChangeBytes> ReadStatChangeTable(const ProjectContext& project) {
    const auto start = TableOffset(project);
    if (!start) {
        return std::nullopt;
    }
    StatChangeBytes bytes;
    std::copy_n(project.romImage.begin() + *start, bytes.size(), bytes.begin());
    return bytes;
}

bool WriteStatChangeTable(ProjectContext& project, const StatChangeBytes& bytes) {
    const auto start = TableOffset(project);
    return start && project.WriteBytes(*start, bytes);
}
