#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The game tables that the editor reads, each located per regional release.
// Values are image offsets or game addresses; 0 means the release has no such table.
// clang-format off
enum class RegionTable : std::uint32_t {
    MapHeaderPointerTable,  // 3-byte offsets of the maps' header scripts, 3 bytes per map id
    MapScriptTableB,  // 3-byte script offsets indexed by a 16-bit script number (flow commands of the header script)
    WeaponDataTable,  // weapon records
    ArmorDataTable,  // armour records, 4 bytes each
    ArmorStatusImmunityTable,  // 16-bit status-immunity word per armour
    RingDataTable,  // ring records
    ItemTextBank,  // bank base added to the 16-bit name and description pointers of items, armour, weapons and rings
    ItemNamePointerTable,  // 16-bit pointers to the item names
    ArmorNamePointerTable,  // 16-bit pointers to the armour names
    WeaponNamePointerTable,  // 16-bit pointers to the weapon names
    RingNamePointerTable,  // 16-bit pointers to the ring names
    ItemDescriptionPointerTable,  // 16-bit pointers to the item descriptions
    EnemyPointerTable,  // 16-bit pointers to the enemy records, 2 bytes per enemy id
    EnemyDataBank,  // bank base added to an enemy-record pointer
    ShopTable,  // shop records; 0 in the column of region 5: no shops
    ExperienceTable,  // 50 level records of 11 bytes
    ChestPointerTable,  // 16-bit pointers to the per-map chest lists, 1110 maps
    ChestDataBank,  // bank base added to a chest-list pointer
    SpritePlacementPointerTableA,  // 16-bit pointers to the per-map sprite-placement lists, list A
    SpritePlacementPointerTableB,  // 16-bit pointers to the per-map sprite-placement lists, list B
    SpritePlacementBankA,  // bank base added to a list-A pointer
    SpritePlacementBankB,  // bank base added to a list-B pointer
    ExitPointerTable,  // 16-bit pointers to the per-map exit lists, 1104 maps
    ExitDataBank,  // bank base added to an exit-list pointer
    TextInsertTableA,  // 16-bit pointers of the inserted-text list A
    TextInsertBankA,  // bank base added to a list-A pointer
    TextInsertTableB,  // 16-bit pointers of the inserted-text list B
    TextInsertBankB,  // bank base added to a list-B pointer
    DefaultMapPaletteTable,  // default 16-colour palette of a map
    TitleScreenTableA,  // the 256 colours of the title logo and strip
    TitleScreenTilesTable,  // the 16 colours of the title tile set
    TitleScreenGraphicsTable,  // first 16 KB half of the title logo as 8-bit tiles (the second half follows at `TitleScreenTableB`)
    TitleScreenTableB,  // second 16 KB half of the title logo as 8-bit tiles
    TitleScreenCompressedTable,  // compressed strip of 8-bit title tiles
    TitleScreenTilesTableB,  // compressed 4-bit title tile set
    TitleLayoutTableA,  // tile block "Title" of the title screen
    TitleLayoutTableB,  // tile block "Start Text" of the title screen
    TitleLayoutTableC,  // tile block "License" of the title screen
    SmallWorldMapTileMapTable,  // uncompressed 0x1000-byte tile map of world maps 3 and 35
    SmallWorldMapTilesTable,  // compressed tiles of world maps 3 and 35
    SmallWorldMapMetatileTable,  // compressed metatiles of world maps 3 and 35
    SmallWorldMapPaletteTable,  // 256 colours of world maps 3 and 35
    WorldMapTileMapTableA,  // first uncompressed 0x8000-byte tile-map block of world maps 2 and 5
    WorldMapTileMapTableB,  // second uncompressed 0x8000-byte tile-map block of world maps 2 and 5
    WorldMapTilesTable,  // compressed 8-bit-per-pixel tiles of world maps 2 and 5
    WorldMapMetatileTable,  // compressed metatiles of world maps 2 and 5
    WorldMapPaletteTable,  // 256 colours of world maps 2 and 5
    WorldMapExitTable,  // the 37 world-map exit records of 14 bytes; the value is a game address, turned into an offset by the address rule
    MapZeroExtraTableA,  // an extra block of map 0 (region 1 only)
    MapZeroExtraTableB,  // an extra block of map 0 (region 1 only)
    MapZeroExtraTableC,  // an extra block of map 0 (region 1 only)
    MapZeroExtraTableD,  // an extra block of map 0 (region 1 only)
    StatChangeTable,  // stat-change records: 4 signed changes for each stat-change id 32 to 50
    Count
};
// clang-format on

inline constexpr std::size_t kRegionCount = 7;
inline constexpr std::size_t kRegionTableCount = static_cast<std::size_t>(RegionTable::Count);

using RegionAddressRow = std::array<std::uint32_t, kRegionCount>;
using RegionAddressTables = std::array<RegionAddressRow, kRegionTableCount>;

// The tables as the releases ship them, one column per region index 0 to 6.
// A project starts from these and may override entries of its own copy.
const RegionAddressTables& DefaultRegionAddressTables();
