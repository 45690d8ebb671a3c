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
    ShowChest(chests[*found]);
    selectedMapId = mapId;
    selectedIndex = *found;
    selectedOffset = chests[*found].offset;
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
    FieldReader reader;
    chest.x = static_cast<std::uint8_t>(reader.Read(posX, "PosX:", 0, 0xFF));
    chest.y = static_cast<std::uint8_t>(reader.Read(posY, "PosY:", 0, 0xFF));
    // The gem bit is the chest's own, so the typed item or amount stays below it.
    const auto typedItem = static_cast<std::uint16_t>(reader.Read(item, "Item:", 0, kGemBit - 1));
    if (!reader.Ok()) {
        prompts.ShowMessage(RefusedFieldMessage(reader), "Error");
        return;
    }
    chest.itemWord = static_cast<std::uint16_t>(typedItem | (chest.itemWord & kGemBit));
    const ChestWriteResult result = WriteChestRecord(*project, chest);
    if (result == ChestWriteResult::EndMarkerPosition) {
        prompts.ShowMessage(kChestPositionRefused);
    }
    if (result != ChestWriteResult::Written) {
        return;
    }
    ShowChest(ReadChestList(*project, selectedMapId)[selectedIndex]);
}

void ChestEditModel::ShowChest(const ChestRecord& chest) {
    posX = FieldText("%u", chest.x);
    posY = FieldText("%u", chest.y);
    item = FieldText("%u", static_cast<std::uint16_t>(chest.itemWord & ~kGemBit));
    chestId = FieldText("%u", chest.chestId);
}
