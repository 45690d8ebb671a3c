#include "maps/ShopEditModel.h"

#include "project/ProjectContext.h"

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
    const ShopRecord& shop = shops[*found];
    itemListPointer = shop.itemListPointer;
    mapId = FieldText("0x%04X", shop.mapId);
    shopId = FieldText("%u", *found);
    eventFlag = FieldText("0x%04X", shop.eventFlag);
    posX = FieldText("%u", shop.x);
    posY = FieldText("%u", shop.y);
    greetingIndex = shop.greeting < kGreetingCount ? shop.greeting : -1;
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
    price = FieldText("%x", items[slot].price);
    unique = items[slot].unique != 0;
}

void ShopEditModel::Save(ProjectContext* project) {
    if (!selection.ValidFor(project)) {
        return;
    }
    const std::vector<ShopRecord> shops = ReadShops(*project);
    if (selectedShop >= shops.size()) {
        return;
    }
    ShopRecord shop = shops[selectedShop];
    shop.x = static_cast<std::uint8_t>(FieldValue(posX));
    shop.y = static_cast<std::uint8_t>(FieldValue(posY));
    shop.eventFlag = static_cast<std::uint16_t>(FieldValue(eventFlag));
    if (greetingIndex >= 0 && greetingIndex < kGreetingCount) {
        shop.greeting = static_cast<std::uint8_t>(greetingIndex);
    }
    WriteShopRecord(*project, shop);

    const auto items = ReadShopItems(*project, shop.itemListPointer);
    if (slotIndex < 0 || static_cast<std::size_t>(slotIndex) >= items.size()) {
        return;
    }
    ShopItem item = items[static_cast<std::size_t>(slotIndex)];
    item.itemId = static_cast<std::uint8_t>(FieldValue(itemId));
    item.price = ShopPriceWord(FieldValue(price));
    // A unique item keeps the flag value it has.
    if (!unique) {
        item.unique = 0;
    } else if (item.unique == 0) {
        item.unique = 1;
    }
    WriteShopItem(*project, item);
}
