#include "maps/ShopList.h"

#include <algorithm>

#include "project/ProjectContext.h"

namespace {

constexpr std::uint64_t kMaxShopTableBytes = 0x10000;
constexpr std::uint16_t kShopTableEnd = 0xFFFF;

std::uint32_t BankOf(std::uint32_t offset) {
    return offset & 0xFF0000;
}

}  // namespace

std::vector<ShopRecord> ReadShops(const ProjectContext& project) {
    std::vector<ShopRecord> shops;
    const std::uint32_t table = project.Table(RegionTable::ShopTable);
    if (table == 0) {
        return shops;
    }
    const std::uint64_t end =
        std::min<std::uint64_t>(project.romImage.size(), table + kMaxShopTableBytes);
    for (std::uint64_t at = table; at + kShopRecordSize <= end; at += kShopRecordSize) {
        const auto r = static_cast<std::uint32_t>(at);
        if (project.Read16(r) == kShopTableEnd) {
            break;
        }
        shops.push_back({r, project.Read16(r), project.Read16(r + 2), project.Read16(r + 4),
                         project.Read8(r + 6), project.Read8(r + 7), project.Read8(r + 8)});
    }
    return shops;
}

std::vector<ShopItem> ReadShopItems(const ProjectContext& project, std::uint16_t itemListPointer) {
    std::vector<ShopItem> items;
    const std::uint32_t table = project.Table(RegionTable::ShopTable);
    if (table == 0) {
        return items;
    }
    const std::uint64_t end =
        std::min<std::uint64_t>(project.romImage.size(), BankOf(table) + 0x10000ull);
    for (std::uint64_t at = BankOf(table) + itemListPointer; at + kShopItemSize <= end;
         at += kShopItemSize) {
        const auto e = static_cast<std::uint32_t>(at);
        if (project.Read8(e) == kShopItemListEnd) {
            break;
        }
        items.push_back({e, project.Read8(e), project.Read16(e + 1), project.Read8(e + 3)});
    }
    return items;
}

std::uint16_t ShopPriceWord(std::uint32_t price) {
    return static_cast<std::uint16_t>((price / 1000 % 10) << 12 | (price / 100 % 10) << 8 |
                                      (price / 10 % 10) << 4 | price % 10);
}

bool WriteShopRecord(ProjectContext& project, const ShopRecord& shop) {
    if (!InRange(project.romImage.size(), shop.offset, kShopRecordSize)) {
        return false;
    }
    project.Write16(shop.offset, shop.mapId);
    project.Write16(shop.offset + 2, shop.eventFlag);
    project.Write16(shop.offset + 4, shop.itemListPointer);
    project.Write8(shop.offset + 6, shop.x);
    project.Write8(shop.offset + 7, shop.y);
    project.Write8(shop.offset + 8, shop.greeting);
    return true;
}

bool WriteShopItem(ProjectContext& project, const ShopItem& item) {
    if (!InRange(project.romImage.size(), item.offset, kShopItemSize)) {
        return false;
    }
    project.Write8(item.offset, item.itemId);
    project.Write16(item.offset + 1, item.price);
    project.Write8(item.offset + 3, item.unique);
    return true;
}
