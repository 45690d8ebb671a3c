#include "maps/ShopEditModel.h"

#include "platform/Prompts.h"
#include "project/ProjectContext.h"

namespace {

constexpr const char* kNoItemSlotsText =
    "This shop has no item slots: only Event Flag, Pos X, Pos Y and Greeting were saved, not "
    "Item ID, Price or Unique.";
// The item list changed under the editor since it was filled.
constexpr const char* kSlotGoneText =
    "The slot shown is no longer in this shop's item list: only Event Flag, Pos X, Pos Y and "
    "Greeting were saved, not Item ID, Price or Unique.";

}  // namespace

std::optional<std::uint32_t> FindShopAt(const std::vector<ShopRecord>& shops, std::uint32_t mapId,
                                        std::uint32_t column, std::uint32_t row) {
    for (std::uint32_t k = 0; k < shops.size(); ++k) {
        const ShopRecord& s = shops[k];
        if (s.mapId == mapId && CellNear(s.x, column) && CellNear(s.y, row)) {
            return k;
        }
    }
    return std::nullopt;
}

bool ShopEditModel::Fill(const ProjectContext& project, std::uint32_t id, std::uint32_t column,
                         std::uint32_t row) {
    const std::vector<ShopRecord> shops = ReadShops(project);
    const std::optional<std::uint32_t> found = FindShopAt(shops, id, column, row);
    if (!found) {
        return false;
    }
    ShowShop(project, *found);
    // A shop without items shows none: nothing of the previous shop's item stays.
    itemId.clear();
    price.clear();
    unique = false;
    FillSlotCombo(project);
    ShowSlot(project, 0);
    selectedShop = *found;
    selection.Select(project);
    return true;
}

void ShopEditModel::FillSlotCombo(const ProjectContext& project) {
    slotEntries.clear();
    const std::size_t count =
        ReadShopItems(project, static_cast<std::uint16_t>(itemListPointer)).size();
    for (std::size_t n = 0; n < count; ++n) {
        slotEntries.push_back(FieldText("%u", static_cast<std::uint32_t>(n)));
    }
    slotIndex = slotEntries.empty() ? -1 : 0;
}

void ShopEditModel::ShowSlot(const ProjectContext& project, std::uint32_t slot) {
    const auto items = ReadShopItems(project, static_cast<std::uint16_t>(itemListPointer));
    if (slot >= items.size()) {
        return;
    }
    itemId = FieldText("%u", items[slot].itemId);
    price = PriceText(items[slot].price);
    unique = items[slot].unique != 0;
}

void ShopEditModel::Save(ProjectContext* project, Prompts& prompts) {
    if (!selection.ValidFor(project)) {
        return;
    }
    const std::vector<ShopRecord> shops = ReadShops(*project);
    if (selectedShop >= shops.size()) {
        return;
    }
    ShopRecord shop = shops[selectedShop];
    FieldReader reader;
    shop.eventFlag = static_cast<std::uint16_t>(
        reader.Read(eventFlag, "Event Flag:", 0, 0xFFFF, NumberBase::Hexadecimal));
    shop.x = static_cast<std::uint8_t>(reader.Read(posX, "Pos X:", 0, 0xFF));
    shop.y = static_cast<std::uint8_t>(reader.Read(posY, "Pos Y:", 0, 0xFF));
    if (greetingIndex >= 0 && greetingIndex < kGreetingCount) {
        shop.greeting = static_cast<std::uint8_t>(greetingIndex);
    }
    const auto items = ReadShopItems(*project, shop.itemListPointer);
    const bool slotShown = slotIndex >= 0 && static_cast<std::size_t>(slotIndex) < items.size();
    ShopItem item;
    if (slotShown) {
        item = items[static_cast<std::size_t>(slotIndex)];
        // An item id of 0xFF would end the list there and drop every item after it.
        item.itemId =
            static_cast<std::uint8_t>(reader.Read(itemId, "Item ID:", 0, kShopItemListEnd - 1));
        // The price shows the word's four digits; a word that is no decimal price (a digit
        // A to F) is kept as long as its text is.
        if (price != PriceText(item.price)) {
            item.price = ShopPriceWord(
                static_cast<std::uint32_t>(reader.Read(price, "Price:", 0, kShopMaxPrice)));
        }
        // A unique item keeps the flag value it has.
        if (!unique) {
            item.unique = 0;
        } else if (item.unique == 0) {
            item.unique = 1;
        }
    }
    if (!reader.Ok()) {
        prompts.ShowMessage(RefusedFieldMessage(reader), "Error");
        return;
    }
    WriteShopRecord(*project, shop);
    if (slotShown) {
        WriteShopItem(*project, item);
    }
    ShowShop(*project, selectedShop);
    if (slotShown) {
        ShowSlot(*project, static_cast<std::uint32_t>(slotIndex));
        return;
    }
    // What was typed for an item had no slot to go to: the person is told, and the boxes show
    // the item list as the image holds it.
    if (!itemId.empty() || !price.empty() || unique) {
        prompts.ShowMessage(items.empty() ? kNoItemSlotsText : kSlotGoneText);
    }
    itemId.clear();
    price.clear();
    unique = false;
    FillSlotCombo(*project);
    ShowSlot(*project, 0);
}

void ShopEditModel::ShowShop(const ProjectContext& project, std::uint32_t shopIndex) {
    const ShopRecord shop = ReadShops(project)[shopIndex];
    itemListPointer = shop.itemListPointer;
    mapId = FieldText("0x%04X", shop.mapId);
    shopId = FieldText("%u", shopIndex);
    eventFlag = FieldText("0x%04X", shop.eventFlag);
    posX = FieldText("%u", shop.x);
    posY = FieldText("%u", shop.y);
    greetingIndex = shop.greeting < kGreetingCount ? shop.greeting : -1;
}

std::string ShopEditModel::PriceText(std::uint16_t word) {
    return FieldText("%x", word);
}
