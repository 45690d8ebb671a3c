#include "editors/ItemTexts.h"

#include "project/ByteAccess.h"
#include "project/ProjectContext.h"
#include "scripts/TextDecoder.h"

namespace {

std::string DecodeEntry(TextDecoder& decoder, const ProjectContext& project,
                        RegionTable pointerTable, std::uint32_t index) {
    const std::uint32_t pointer = project.Read16(project.Table(pointerTable) + 2 * index);
    return Utf16ToUtf8(decoder.DecodeAt(project.Table(RegionTable::ItemTextBank) + pointer, false));
}

}  // namespace

bool ItemTextTableInImage(const ProjectContext& project, RegionTable pointerTable,
                          std::uint32_t count) {
    return InRange(project.romImage.size(), project.Table(pointerTable), 2 * count);
}

std::optional<std::vector<std::string>> ReadItemTexts(const ProjectContext& project,
                                                      RegionTable pointerTable,
                                                      std::uint32_t count) {
    if (!ItemTextTableInImage(project, pointerTable, count)) {
        return std::nullopt;
    }
    TextDecoder decoder(project);
    std::vector<std::string> texts;
    texts.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        texts.push_back(DecodeEntry(decoder, project, pointerTable, i));
    }
    return texts;
}

std::optional<std::string> ReadItemText(const ProjectContext& project, RegionTable pointerTable,
                                        std::uint32_t count, std::uint32_t index) {
    if (index >= count || !ItemTextTableInImage(project, pointerTable, count)) {
        return std::nullopt;
    }
    TextDecoder decoder(project);
    return DecodeEntry(decoder, project, pointerTable, index);
}
