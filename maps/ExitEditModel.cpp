#include "maps/ExitEditModel.h"

#include <optional>

#include "platform/Prompts.h"
#include "project/ConditionalDestination.h"
#include "project/ExitLists.h"
#include "project/ProjectContext.h"

namespace {

bool Holds(std::uint32_t start, std::uint32_t size, std::uint32_t cell) {
    return cell >= start && cell - start < size;
}

// The bit number of a one-bit mask 0x01 to 0x80; any other value counts as bit 0.
std::uint16_t BitNumberOf(std::uint32_t mask) {
    for (std::uint16_t bit = 0; bit < 8; ++bit) {
        if (mask == 1u << bit) {
            return bit;
        }
    }
    return 0;
}

constexpr std::uint16_t kEventField = 0x1FF;      // flag number, bits 3 to 11
constexpr std::uint16_t kConditionKept = 0xF000;  // set/clear sense and the bits above the field

}  // namespace

std::uint32_t FindExitAt(const std::vector<ExitRecord>& exits, std::uint32_t column,
                         std::uint32_t row) {
    std::uint32_t index = 0;
    for (const ExitRecord& e : exits) {
        if (Holds(e.posX, e.sizeX, column) && Holds(e.posY, e.sizeY, row)) {
            break;
        }
        ++index;
    }
    return index;
}

bool ExitEditModel::Fill(ProjectContext& project, std::uint32_t mapId, std::uint32_t column,
                         std::uint32_t row, std::uint32_t& exitIndex) {
    const std::vector<ExitRecord>* list = GetExitList(project, mapId);
    if (list == nullptr || list->empty()) {
        return false;
    }
    exitIndex = FindExitAt(*list, column, row);
    if (exitIndex >= list->size()) {
        return false;
    }
    ShowExit(project, mapId, exitIndex, (*list)[exitIndex], 0);
    selectedMapId = mapId;
    selectedExitIndex = exitIndex;
    selection.Select(project);
    return true;
}

void ExitEditModel::ShowExit(const ProjectContext& project, std::uint32_t mapId,
                             std::uint32_t exitIndex, const ExitRecord& exit,
                             std::size_t destination) {
    srcMapId = FieldText("0x%03X", mapId);
    posX = FieldText("%u", exit.posX);
    posY = FieldText("%u", exit.posY);
    sizeX = FieldText("%u", exit.sizeX);
    sizeY = FieldText("%u", exit.sizeY);
    destinations.clear();
    destinationIndex = -1;
    if ((exit.dstMapId & kConditionalDestinationFlag) != 0) {
        const std::size_t count = ReadConditionalDestinations(project, exit.dstMapId).size();
        for (std::size_t n = 0; n < count; ++n) {
            destinations.push_back(FieldText("%u", static_cast<std::uint32_t>(n)));
        }
        destinationsEnabled = true;
        ShowDestination(project, exit.dstMapId, destination);
    } else {
        dstMapId = FieldText("0x%03X", exit.dstMapId);
        event.clear();
        flag.clear();
        dstX = FieldText("%u", exit.dstX);
        dstY = FieldText("%u", exit.dstY);
        transEffect = FieldText("%u", exit.transEffect);
        direction = FieldText("0x%02X", exit.direction);
        const std::uint32_t pointer =
            project.Read16(project.Table(RegionTable::ExitPointerTable) + 2 * mapId);
        offset = FieldText("0x%06X", project.Table(RegionTable::ExitDataBank) + pointer +
                                         kExitRecordSize * exitIndex);
        destinationsEnabled = false;
    }
}

void ExitEditModel::ShowDestination(const ProjectContext& project, std::uint16_t exitDstMapId,
                                    std::size_t index) {
    const auto list = ReadConditionalDestinations(project, exitDstMapId);
    if (index >= list.size()) {
        return;
    }
    const ConditionalDestination& r = list[index];
    destinationIndex = static_cast<int>(index);
    dstMapId = FieldText("0x%03X", r.dstMapId);
    event = FieldText("0x%02X", (r.condition >> 3) & kEventField);
    flag = FieldText("0x%02X", 1u << (r.condition & 7));
    dstX = FieldText("%u", r.dstX);
    dstY = FieldText("%u", r.dstY);
    transEffect = FieldText("%u", r.transEffect);
    direction = FieldText("0x%02X", r.direction);
    offset = FieldText("0x%06X", r.offset);
}

void ExitEditModel::SelectDestination(ProjectContext* project, int index) {
    const ExitRecord* exit = PickedExit(project);
    if (exit != nullptr && index >= 0) {
        ShowDestination(*project, exit->dstMapId, static_cast<std::size_t>(index));
    }
}

ExitRecord* ExitEditModel::PickedExit(ProjectContext* project) {
    if (!selection.ValidFor(project)) {
        return nullptr;
    }
    std::vector<ExitRecord>* list = GetExitList(*project, selectedMapId);
    if (list == nullptr || selectedExitIndex >= list->size()) {
        return nullptr;
    }
    return &(*list)[selectedExitIndex];
}

ExitRecord ExitEditModel::TypedExit(FieldReader& reader) const {
    ExitRecord exit;
    exit.posX = static_cast<std::uint8_t>(reader.Read(posX, "PosX:", 0, 0xFF));
    exit.posY = static_cast<std::uint8_t>(reader.Read(posY, "PosY:", 0, 0xFF));
    exit.sizeX = static_cast<std::uint8_t>(reader.Read(sizeX, "SizeX:", 0, 0xFF));
    exit.sizeY = static_cast<std::uint8_t>(reader.Read(sizeY, "SizeY:", 0, 0xFF));
    // Bit 15 of an exit's destination marks a list of conditional destinations.
    exit.dstMapId = static_cast<std::uint16_t>(
        reader.Read(dstMapId, "DstMapID:", 0, 0x7FFF, NumberBase::Hexadecimal));
    exit.transEffect = static_cast<std::uint8_t>(reader.Read(transEffect, "TransEffect:", 0, 0xFF));
    exit.direction = static_cast<std::uint8_t>(
        reader.Read(direction, "Direction:", 0, 0xFF, NumberBase::Hexadecimal));
    exit.dstX = static_cast<std::uint16_t>(reader.Read(dstX, "DstX:", 0, 0xFFFF));
    exit.dstY = static_cast<std::uint16_t>(reader.Read(dstY, "DstY:", 0, 0xFFFF));
    return exit;
}

void ExitEditModel::Save(ProjectContext* project, Prompts& prompts) {
    ExitRecord* exit = PickedExit(project);
    if (exit == nullptr) {
        return;
    }
    FieldReader reader;
    const ExitRecord typed = TypedExit(reader);
    const bool conditional = (exit->dstMapId & kConditionalDestinationFlag) != 0;
    std::uint32_t flagNumber = 0;
    std::uint16_t bitNumber = 0;
    if (conditional) {
        flagNumber = static_cast<std::uint32_t>(
            reader.Read(event, "Event:", 0, kEventField, NumberBase::Hexadecimal));
        bitNumber = BitNumberOf(static_cast<std::uint32_t>(
            reader.Read(flag, "Flag:", 0, 0xFF, NumberBase::Hexadecimal)));
    }
    if (!reader.Ok()) {
        prompts.ShowMessage(RefusedFieldMessage(reader), "Error");
        return;
    }
    const ExitRecord before = *exit;
    exit->posX = typed.posX;
    exit->posY = typed.posY;
    exit->sizeX = typed.sizeX;
    exit->sizeY = typed.sizeY;

    // An exit with conditional destinations keeps its pointer to them; the one shown changes.
    std::optional<ConditionalDestination> destination;
    if (conditional) {
        const auto list = ReadConditionalDestinations(*project, exit->dstMapId);
        if (destinationIndex >= 0 && static_cast<std::size_t>(destinationIndex) < list.size()) {
            ConditionalDestination r = list[static_cast<std::size_t>(destinationIndex)];
            r.condition = static_cast<std::uint16_t>((r.condition & kConditionKept) |
                                                     flagNumber << 3 | bitNumber);
            r.dstMapId = typed.dstMapId;
            r.transEffect = typed.transEffect;
            r.direction = typed.direction;
            r.dstX = typed.dstX;
            r.dstY = typed.dstY;
            destination = r;
        }
    } else {
        *exit = typed;
    }
    if (!WriteExitLists(*project, prompts)) {
        *exit = before;
        return;
    }
    if (destination) {
        WriteConditionalDestination(*project, *destination);
    }
    ShowExit(*project, selectedMapId, selectedExitIndex, *exit,
             destinationIndex < 0 ? 0 : static_cast<std::size_t>(destinationIndex));
}

void ExitEditModel::Delete(ProjectContext* project, Prompts& prompts) {
    if (PickedExit(project) != nullptr &&
        DeleteExit(*project, prompts, selectedMapId, selectedExitIndex)) {
        selection.Clear();
    }
}

void ExitEditModel::Add(ProjectContext* project, Prompts& prompts) {
    if (!selection.ValidFor(project)) {
        return;
    }
    FieldReader reader;
    const auto mapId = static_cast<std::uint32_t>(
        reader.Read(srcMapId, "SrcMapID:", 0, kMapCount - 1, NumberBase::Hexadecimal));
    const ExitRecord exit = TypedExit(reader);
    if (!reader.Ok()) {
        prompts.ShowMessage(RefusedFieldMessage(reader), "Error");
        return;
    }
    AddExit(*project, prompts, mapId, exit);
}
