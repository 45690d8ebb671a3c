#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "maps/FloatingEditorText.h"
#include "maps/ShopList.h"

class ProjectContext;
class Prompts;

// The shop id of the first shop of the map whose shopkeeper stands on the cell or one cell to
// the left or above it.
std::optional<std::uint32_t> FindShopAt(const std::vector<ShopRecord>& shops, std::uint32_t mapId,
                                        std::uint32_t column, std::uint32_t row);

// The shop editor without its widgets: what its controls show and the shop that the last fill
// picked. Its Save writes every field the editor shows.
class ShopEditModel {
public:
    // "Shop:"
    std::string mapId;       // "Map ID:", read-only
    std::string shopId;      // "Shop ID:", read-only
    std::string eventFlag;   // "Event Flag:"
    std::string posX;        // "Pos X:"
    std::string posY;        // "Pos Y:"
    int greetingIndex = -1;  // "Greeting:", entries "0" to "8"; -1 for none
    // "Items:"
    std::vector<std::string> slotEntries;  // "Slot ID:" entries
    int slotIndex = -1;
    std::string itemId;   // "Item ID:"
    std::string price;    // "Price:", the decimal digits
    bool unique = false;  // "Unique:"

    std::uint32_t itemListPointer = 0;
    std::uint32_t selectedShop = 0;
    EditorSelection selection;

    static constexpr int kGreetingCount = 9;

    bool SaveEnabled(const ProjectContext* project) const { return selection.ValidFor(project); }

    // Shows the shop of the map whose keeper stands on the cell, with its first item, and
    // picks it. False when there is none.
    bool Fill(const ProjectContext& project, std::uint32_t mapId, std::uint32_t column,
              std::uint32_t row);
    // The "Slot ID:" entries for the items of the list at itemListPointer; "0" is selected.
    void FillSlotCombo(const ProjectContext& project);
    // Shows item `slot` of the list; nothing changes when the list is shorter.
    void ShowSlot(const ProjectContext& project, std::uint32_t slot);
    // "Save": the picked shop's fields and the item of the selected slot, then shows them as
    // stored. A refused field is named in a message and nothing is written. Without a slot to
    // write to, an item typed is not saved, and a message says so.
    void Save(ProjectContext* project, Prompts& prompts);

private:
    // Shows the fields of shop `shopIndex` of the shop table.
    void ShowShop(const ProjectContext& project, std::uint32_t shopIndex);
    // A price word as "Price:" shows it: its four digits.
    static std::string PriceText(std::uint16_t word);
};
