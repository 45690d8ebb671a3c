#pragma once

#include <cstdint>
#include <vector>

class ProjectContext;

// The game's shops: 9-byte records from the region's ShopTable on, up to one whose first word
// is 0xFFFF. Each names an item list in the table's bank: 4-byte entries up to a 0xFF byte.
struct ShopRecord {
    std::uint32_t offset = 0;  // image offset of the record
    std::uint16_t mapId = 0;
    std::uint16_t eventFlag = 0;
    std::uint16_t itemListPointer = 0;  // in the 64 KB bank of the shop table
    std::uint8_t x = 0;                 // the shopkeeper's cell
    std::uint8_t y = 0;
    std::uint8_t greeting = 0;  // 0 to 8
};

struct ShopItem {
    std::uint32_t offset = 0;  // image offset of the entry
    std::uint8_t itemId = 0;
    std::uint16_t price = 0;  // four binary-coded decimal digits
    std::uint8_t unique = 0;  // not 0: sold once
};

inline constexpr std::uint32_t kShopRecordSize = 9;
inline constexpr std::uint32_t kShopItemSize = 4;
// The item id that ends an item list.
inline constexpr std::uint8_t kShopItemListEnd = 0xFF;

// Every shop in table order, so a shop's index is its shop id. Empty for a release without
// shops; the walk never leaves the image nor runs more than 64 KB.
std::vector<ShopRecord> ReadShops(const ProjectContext& project);
// A shop's items; the walk stays inside the bank and the image.
std::vector<ShopItem> ReadShopItems(const ProjectContext& project, std::uint16_t itemListPointer);

// The largest price that four decimal digits hold.
inline constexpr std::uint32_t kShopMaxPrice = 9999;

// A price as the item list stores it: its last four decimal digits, one per nibble.
std::uint16_t ShopPriceWord(std::uint32_t price);

// Write the fields back in place; false when the record lies outside the image.
bool WriteShopRecord(ProjectContext& project, const ShopRecord& shop);
bool WriteShopItem(ProjectContext& project, const ShopItem& item);
