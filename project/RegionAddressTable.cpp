#include "project/RegionAddressTable.h"

namespace {

// Where each table lies in the image of each release (region index 0 to 6).
constexpr RegionAddressTables kDefaultTables = {{
    {{0x6959C, 0x6959C, 0x6959C, 0x6959C, 0x6959C, 0x4959C, 0x6959C}},  // MapHeaderPointerTable
    {{0x6A28C, 0x6A28C, 0x6A28C, 0x6A28C, 0x6A28C, 0x49899, 0x6A28C}},  // MapScriptTableB
    {{0xDBC92, 0xDB928, 0xDBB5B, 0xDBA61, 0xDB928, 0x6BB04, 0xDB92A}},  // WeaponDataTable
    {{0xDBD12, 0xDB9A8, 0xDBBDB, 0xDBAE1, 0xDB9A8, 0x6BB84, 0xDB9AA}},  // ArmorDataTable
    {{0xDBD92, 0xDBA28, 0xDBC5B, 0xDBB61, 0xDBA28, 0x6BC04, 0xDBA2A}},  // ArmorStatusImmunityTable
    {{0xDBDD2, 0xDBA68, 0xDBC9B, 0xDBBA1, 0xDBA68, 0x6BC44, 0xDBA6A}},  // RingDataTable
    {{0x120000, 0x120000, 0x120000, 0x120000, 0x120000, 0x80000, 0x120000}},  // ItemTextBank
    {{0x128179, 0x128176, 0x1281A4, 0x128160, 0x128176, 0x88179, 0x128192}},  // ItemNamePointerTable
    {{0x1282B9, 0x1282B6, 0x1282E4, 0x1282A0, 0x1282B6, 0x882B9, 0x1282D2}},  // ArmorNamePointerTable
    {{0x128279, 0x128276, 0x1282A4, 0x128260, 0x128276, 0x88279, 0x128492}},  // WeaponNamePointerTable
    {{0x12817B, 0x128178, 0x1281A6, 0x128162, 0x128178, 0x8817B, 0x128194}},  // RingNamePointerTable
    {{0x128F4E, 0x128F4B, 0x128EA4, 0x128D32, 0x128F4B, 0x88F4E, 0x128FF7}},  // ItemDescriptionPointerTable
    {{0xDBDFC, 0xDBA92, 0xDBCC5, 0xDBBCB, 0xDBA92, 0x6BC6E, 0xDBA94}},  // EnemyPointerTable
    {{0xD0000, 0xD0000, 0xD0000, 0xD0000, 0xD0000, 0x60000, 0xD0000}},  // EnemyDataBank
    {{0x16C6DC, 0x19CE6D, 0x19CE26, 0x19CE4C, 0x19CE6D, 0, 0x19CE42}},  // ShopTable
    {{0xDBA61, 0x1F422, 0xDB92A, 0x19FDBE, 0x1F422, 0x6B8D3, 0x1F422}},  // ExperienceTable
    {{0x16D10F, 0x19D8A0, 0x19D859, 0x19D87F, 0x19D8A0, 0x1985D, 0x19D875}},  // ChestPointerTable
    {{0x160000, 0x190000, 0x190000, 0x190000, 0x190000, 0x10000, 0x190000}},  // ChestDataBank
    {{0x28000, 0x28000, 0x28000, 0x28000, 0x28000, 0x188F9, 0x28000}},  // SpritePlacementPointerTableA
    {{0x38000, 0x38000, 0x38000, 0x38000, 0x38000, 0x18000, 0x38000}},  // SpritePlacementPointerTableB
    {{0x20000, 0x20000, 0x20000, 0x20000, 0x20000, 0x10000, 0x20000}},  // SpritePlacementBankA
    {{0x30000, 0x30000, 0x30000, 0x30000, 0x30000, 0x10000, 0x30000}},  // SpritePlacementBankB
    {{0x18000, 0x18000, 0x18000, 0x18000, 0x18000, 0x18000, 0x18000}},  // ExitPointerTable
    {{0x10000, 0x10000, 0x10000, 0x10000, 0x10000, 0x10000, 0x10000}},  // ExitDataBank
    {{0, 0x12C4EE, 0x12C793, 0x12C5F0, 0x12C4E8, 0, 0x12C68D}},  // TextInsertTableA
    {{0x120000, 0x120000, 0x120000, 0x120000, 0x120000, 0x80000, 0x120000}},  // TextInsertBankA
    {{0x128179, 0x12CE65, 0x12D2BB, 0x12CFA2, 0x12CE5F, 0x88179, 0x12D015}},  // TextInsertTableB
    {{0x120000, 0x120000, 0x120000, 0x120000, 0x120000, 0x80000, 0x120000}},  // TextInsertBankB
    {{0x328B78, 0x349110, 0x3490DB, 0x34913A, 0x349110, 0xBA7A7, 0x3490DC}},  // DefaultMapPaletteTable
    {{0x3A4A1D, 0x3C4AD2, 0x3C4A85, 0x3C4AB4, 0x3C4AD2, 0xF1FFC, 0x3C4A6F}},  // TitleScreenTableA
    {{0x3B0EC5, 0x3D0FFA, 0x3D0EC5, 0x3D0FFA, 0x3D0FFA, 0xF2E68, 0x3D0EC5}},  // TitleScreenTilesTable
    {{0x330000, 0x350000, 0x350000, 0x350000, 0x350000, 0xE0000, 0x350000}},  // TitleScreenGraphicsTable
    {{0x334000, 0x354000, 0x354000, 0x354000, 0x354000, 0xE4000, 0x354000}},  // TitleScreenTableB
    {{0x324BD6, 0x344BD6, 0x344BD6, 0x344BD6, 0x344BD6, 0x62A7F, 0x344BD6}},  // TitleScreenCompressedTable
    {{0x360C02, 0x380000, 0x380000, 0x380C02, 0x380000, 0x864E9, 0x380000}},  // TitleScreenTilesTableB
    {{0x3093DC, 0x32C180, 0x32BB85, 0x32CA50, 0x32C180, 0xB8915, 0x32BB85}},  // TitleLayoutTableA
    {{0x3094BF, 0x32C2BA, 0x32BCBF, 0x32CB8A, 0x32C2BA, 0xB89F8, 0}},  // TitleLayoutTableB
    {{0x309539, 0x32C31F, 0x32BD39, 0x32CBE1, 0x32C31F, 0xB8A72, 0}},  // TitleLayoutTableC
    {{0x160000, 0x180000, 0x180000, 0x180000, 0x180000, 0x160000, 0x180000}},  // SmallWorldMapTileMapTable
    {{0x24E278, 0x26E278, 0x26E278, 0x26E278, 0x26E278, 0x24E278, 0x26E278}},  // SmallWorldMapTilesTable
    {{0x30E0D1, 0x32E77C, 0x32E4F4, 0x32E79D, 0x32E77C, 0x30E0D1, 0}},  // SmallWorldMapMetatileTable
    {{0x31E785, 0x33EDD4, 0x33ECE6, 0x33EDD4, 0x33EDD4, 0x31E785, 0}},  // SmallWorldMapPaletteTable
    {{0x170000, 0x190000, 0x190000, 0x190000, 0x190000, 0x170000, 0x190000}},  // WorldMapTileMapTableA
    {{0x198000, 0x1B8000, 0x1B8000, 0x1B8000, 0x1B8000, 0x198000, 0x1B8000}},  // WorldMapTileMapTableB
    {{0x268000, 0x288000, 0x288000, 0x288000, 0x288000, 0x268000, 0x288000}},  // WorldMapTilesTable
    {{0x30CBD6, 0x32CFCC, 0x32CFE0, 0x2BFD28, 0x32CFCC, 0x30CBD6, 0}},  // WorldMapMetatileTable
    {{0x31E605, 0x33EC54, 0x33EB66, 0x33EC54, 0x33EC54, 0x31E605, 0}},  // WorldMapPaletteTable
    {{0x96F3A9, 0x99FB3A, 0x99FAF3, 0x99FB19, 0x99FB3A, 0x1A7BA, 0}},  // WorldMapExitTable
    {{0, 0x252DC4, 0, 0, 0, 0, 0}},  // MapZeroExtraTableA
    {{0, 0x30932E, 0, 0, 0, 0, 0}},  // MapZeroExtraTableB
    {{0, 0xB3868C, 0, 0, 0, 0, 0}},  // MapZeroExtraTableC
    {{0, 0x33E569, 0, 0, 0, 0, 0}},  // MapZeroExtraTableD
    {{0x5F5F2, 0x5F6BD, 0x5F68A, 0x5F6BD, 0x5F6BD, 0x3F5F2, 0x5F6BD}},  // StatChangeTable
}};

constexpr const char* kNames[] = {
    "MapHeaderPointerTable",
    "MapScriptTableB",
    "WeaponDataTable",
    "ArmorDataTable",
    "ArmorStatusImmunityTable",
    "RingDataTable",
    "ItemTextBank",
    "ItemNamePointerTable",
    "ArmorNamePointerTable",
    "WeaponNamePointerTable",
    "RingNamePointerTable",
    "ItemDescriptionPointerTable",
    "EnemyPointerTable",
    "EnemyDataBank",
    "ShopTable",
    "ExperienceTable",
    "ChestPointerTable",
    "ChestDataBank",
    "SpritePlacementPointerTableA",
    "SpritePlacementPointerTableB",
    "SpritePlacementBankA",
    "SpritePlacementBankB",
    "ExitPointerTable",
    "ExitDataBank",
    "TextInsertTableA",
    "TextInsertBankA",
    "TextInsertTableB",
    "TextInsertBankB",
    "DefaultMapPaletteTable",
    "TitleScreenTableA",
    "TitleScreenTilesTable",
    "TitleScreenGraphicsTable",
    "TitleScreenTableB",
    "TitleScreenCompressedTable",
    "TitleScreenTilesTableB",
    "TitleLayoutTableA",
    "TitleLayoutTableB",
    "TitleLayoutTableC",
    "SmallWorldMapTileMapTable",
    "SmallWorldMapTilesTable",
    "SmallWorldMapMetatileTable",
    "SmallWorldMapPaletteTable",
    "WorldMapTileMapTableA",
    "WorldMapTileMapTableB",
    "WorldMapTilesTable",
    "WorldMapMetatileTable",
    "WorldMapPaletteTable",
    "WorldMapExitTable",
    "MapZeroExtraTableA",
    "MapZeroExtraTableB",
    "MapZeroExtraTableC",
    "MapZeroExtraTableD",
    "StatChangeTable",
};
static_assert(sizeof(kNames) / sizeof(kNames[0]) == kRegionTableCount);

}  // namespace

const RegionAddressTables& DefaultRegionAddressTables() { return kDefaultTables; }

const char* RegionTableName(RegionTable table) {
    const auto index = static_cast<std::size_t>(table);
    return index < kRegionTableCount ? kNames[index] : "";
}
