#include "maps/ObjectEditModel.h"

#include <array>

#include "platform/Prompts.h"
#include "project/ObjectListReader.h"
#include "project/ProjectContext.h"
#include "project/SpritePlacementLists.h"

namespace {

constexpr std::uint32_t kObjectListMapCount = 1110;
constexpr std::uint8_t kLayoutHasEnemy = 0x04;

bool IsObjectCode(std::uint8_t code) {
    return code == kObjectCodePlayerSpawn || (code < kObjectCodeData && (code & 0x3F) <= 1);
}

// The top-level command of a map's list that `matches` accepts.
template <typename Match>
std::optional<ObjectCommand> FindCommand(const ProjectContext& project, std::uint32_t mapId,
                                         Match matches) {
    if (mapId >= kObjectListMapCount) {
        return std::nullopt;
    }
    const std::optional<ObjectListLocation> list = LocateObjectList(project, mapId);
    if (!list) {
        return std::nullopt;
    }
    ObjectListReader reader(project.Image(), list->offset + 2);
    while (const std::optional<ObjectCommand> command = reader.Next()) {
        if (command->IsEnd()) {
            break;
        }
        if (matches(*command)) {
            return command;
        }
    }
    return std::nullopt;
}

PlacedObject PlacedObjectOf(const ObjectCommand& c) {
    PlacedObject o;
    o.offset = c.offset;
    o.code = c.code;
    o.x = c.Operand(0);
    o.y = c.Operand(1);
    o.flags = c.Operand(2);
    o.script = c.OperandLong(3);
    o.layout = o.IsSpawn() ? 0 : c.OperandLong(6);
    return o;
}

}  // namespace

bool PlacedObject::IsSpawn() const {
    return code == kObjectCodePlayerSpawn;
}

bool PlacedObject::IsFlagged() const {
    return !IsSpawn() && (code & 0x3F) == 1;
}

std::optional<PlacedObject> FindObjectAt(const ProjectContext& project, std::uint32_t mapId,
                                         std::uint32_t column, std::uint32_t row) {
    const auto found = FindCommand(project, mapId, [&](const ObjectCommand& c) {
        const std::uint8_t y = c.Operand(1);
        return IsObjectCode(c.code) && CellNear(c.Operand(0), column) && y != 0 && CellNear(row, y);
    });
    if (!found) {
        return std::nullopt;
    }
    return PlacedObjectOf(*found);
}

bool ObjectEditModel::AddEnabled(const ProjectContext* project) const {
    return selection.ValidFor(project) && !project->Is6MB();
}

bool ObjectEditModel::Fill(const ProjectContext& project, std::uint32_t mapId, std::uint32_t column,
                           std::uint32_t row) {
    const std::optional<PlacedObject> found = FindObjectAt(project, mapId, column, row);
    if (!found) {
        return false;
    }
    const PlacedObject& o = *found;
    ShowObject(project, o);
    // Save is offered by the flag alone; it says itself that it writes only commands 0 and 1.
    saveAllowed_ = !o.IsSpawn() && (o.flags == 0 || (o.IsFlagged() && o.flags == 0x80));
    selectedMapId = mapId;
    recordOffset = o.offset;
    selection.Select(project);
    return true;
}

void ObjectEditModel::ShowObject(const ProjectContext& project, const PlacedObject& o) {
    script = FieldText("0x%06X", o.script);
    posX = FieldText("%u", o.x);
    posY = FieldText("%u", o.y);
    flag = FieldText("0x%02X", o.flags);
    const std::uint32_t scriptAt = project.WrapRomOffset(o.script);
    animationId = FieldText("%u", project.Read8(scriptAt));
    // Every fill sets every control, so that nothing of the previous object stays shown: a
    // plain object has no interaction word, and an object without an enemy shows none.
    interactionFlags = o.IsSpawn() || o.IsFlagged() ? project.Read16(scriptAt + 1) : 0;
    enemyId.clear();
    enemyIdEnabled = false;
    if (o.IsSpawn()) {
        spriteLayout.clear();
        spriteLayoutEnabled = false;
    } else {
        spriteLayout = FieldText("0x%06X", o.layout);
        spriteLayoutEnabled = true;
        if (o.layout != 0) {
            const std::uint32_t layoutAt = project.WrapRomOffset(o.layout);
            const std::uint8_t enemy = project.Read8(layoutAt + 4);
            enemyIdEnabled = true;
            if ((project.Read8(layoutAt + 3) & kLayoutHasEnemy) != 0 && enemy != 0) {
                enemyId = FieldText("%u", enemy);
            }
        }
    }
}

void ObjectEditModel::Save(ProjectContext* project, Prompts& prompts) {
    if (!SaveEnabled(project)) {
        return;
    }
    const std::optional<ObjectCommand> command = FindCommand(
        *project, selectedMapId, [&](const ObjectCommand& c) { return c.offset == recordOffset; });
    if (!command || command->code > 1) {
        prompts.ShowMessage(kObjectUnsupportedType, kObjectErrorCaption);
        return;
    }
    FieldReader reader;
    const auto x = static_cast<std::uint8_t>(reader.Read(posX, "PosX:", 0, 0xFF));
    const auto y = static_cast<std::uint8_t>(reader.Read(posY, "PosY:", 0, 0xFF));
    const auto flags =
        static_cast<std::uint8_t>(reader.Read(flag, "Flag:", 0, 0xFF, NumberBase::Hexadecimal));
    const auto scriptAddress = static_cast<std::uint32_t>(
        reader.Read(script, "Script offset:", 0, 0xFFFFFF, NumberBase::Hexadecimal));
    const auto layoutAddress = static_cast<std::uint32_t>(
        reader.Read(spriteLayout, "SpriteLayout:", 0, 0xFFFFFF, NumberBase::Hexadecimal));
    if (!reader.Ok()) {
        prompts.ShowMessage(RefusedFieldMessage(reader), kObjectErrorCaption);
        return;
    }
    const std::array<std::uint8_t, 9> operands = {
        x,
        y,
        flags,
        static_cast<std::uint8_t>(scriptAddress),
        static_cast<std::uint8_t>(scriptAddress >> 8),
        static_cast<std::uint8_t>(scriptAddress >> 16),
        static_cast<std::uint8_t>(layoutAddress),
        static_cast<std::uint8_t>(layoutAddress >> 8),
        static_cast<std::uint8_t>(layoutAddress >> 16),
    };
    if (ObjectOperandLength(command->code, operands) != command->operands.size()) {
        prompts.ShowMessage(kObjectLengthRefused);
        return;
    }
    project->WriteBytes(recordOffset + 1, operands);
    // The project's lists hold the object too: a later write of them must not undo this.
    RereadSpritePlacementCommand(*project, recordOffset);
    const std::optional<ObjectCommand> stored = FindCommand(
        *project, selectedMapId, [&](const ObjectCommand& c) { return c.offset == recordOffset; });
    if (stored) {
        ShowObject(*project, PlacedObjectOf(*stored));
    }
}

void ObjectEditModel::Add(const ProjectContext* project, Prompts& prompts) const {
    if (AddEnabled(project)) {
        prompts.ShowMessage(kObjectAddNeedsExpandedRom);
    }
}
