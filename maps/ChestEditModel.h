#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "maps/FloatingEditorText.h"
#include "project/ChestRecord.h"

class ProjectContext;
class Prompts;

// The place in its map's list of the first chest that stands on the cell or whose cell is one
// to the left or above it.
std::optional<std::uint32_t> FindChestAt(const std::vector<ChestRecord>& chests,
                                         std::uint32_t column, std::uint32_t row);

// The chest editor without its widgets: what its controls show and the chest that the last
// fill picked, by its map and its place in that map's list.
class ChestEditModel {
public:
    std::string posX, posY;  // "PosX:", "PosY:"
    std::string item;        // "Item:": the item id, or the amount of gems
    std::string eventFlag;   // "Event Flag:": a chest has none; shown read-only and empty
    std::string chestId;     // "Chest ID:", read-only

    std::uint32_t selectedMapId = 0;
    std::uint32_t selectedIndex = 0;
    std::uint32_t selectedOffset = 0;
    EditorSelection selection;

    bool SaveEnabled(const ProjectContext* project) const { return selection.ValidFor(project); }

    // Shows the chest that stands on the cell of the map and picks it. False when none does.
    bool Fill(const ProjectContext& project, std::uint32_t mapId, std::uint32_t column,
              std::uint32_t row);
    // "Save": position and item go into the picked chest, in its own form, and the chest is
    // shown as stored. A chest of gems stays one, an item chest an item chest. A refused field
    // is named in a message and nothing is written.
    void Save(ProjectContext* project, Prompts& prompts);

private:
    void ShowChest(const ChestRecord& chest);
};
