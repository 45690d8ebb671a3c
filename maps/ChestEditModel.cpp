#include "maps/ChestEditModel.h"

#include "platform/Prompts.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint16_t kGemBit = 0x8000;

}  // namespace

std::optional<std::uint32_t> FindChestAt(const std::vector<ChestRecord>& chests,
                                         std::uint32_t column, std::uint32_t row) {
    for (std::uint32_t i = 0; i < chests.size(); ++i) {
        if (CellNear(chests[i].x, column) && CellNear(chests[i].y, row)) {
            return i;
        }
    }
    return std::nullopt;
}

bool ChestEditModel::Fill(const ProjectContext& project, std::uint32_t mapId, std::uint32_t column,
                          std::uint32_t row) {
    const std::vector<ChestRecord> chests = ReadChestList(project, mapId);
    const std::optional<std::uint32_t> found = FindChestAt(chests, column, row);
    if (!found) {
        return false;
    }
    const ChestRecord& chest = chests[*found];
    posX = FieldText("%u", chest.x);
    posY = FieldText("%u", chest.y);
    item = FieldText("%u", static_cast<std::uint16_t>(chest.itemWord & ~kGemBit));
    chestId = FieldText("%u", chest.chestId);
    selectedMapId = mapId;
    selectedIndex = *found;
    selectedOffset = chest.offset;
    selection.Select(project);
    return true;
}

void ChestEditModel::Save(ProjectContext* project, Prompts& prompts) {
    if (!selection.ValidFor(project)) {
        return;
    }
    const std::vector<ChestRecord> chests = ReadChestList(*project, selectedMapId);
    if (selectedIndex >= chests.size() || chests[selectedIndex].offset != selectedOffset) {
        return;
    }
    ChestRecord chest = chests[selectedIndex];
    chest.x = static_cast<std::uint8_t>(FieldValue(posX));
    chest.y = static_cast<std::uint8_t>(FieldValue(posY));
    chest.itemWord = static_cast<std::uint16_t>(FieldValue(item) | (chest.itemWord & kGemBit));
    if (WriteChestRecord(*project, chest) == ChestWriteResult::EndMarkerPosition) {
        prompts.ShowMessage(kChestPositionRefused);
    }
}
