#include "tests/support/SyntheticImage.h"

#include <stdexcept>

#include "platform/Files.h"
#include "project/SpritePlacementLists.h"

SyntheticImage::SyntheticImage(std::uint32_t size, Region region) : bytes_(size, 0) {
    SetRegion(region);
}

std::uint32_t SyntheticImage::RegionIndex(Region region) {
    return static_cast<std::uint32_t>(region);
}

void SyntheticImage::SetRegion(Region region) {
    region_ = region;
    // 0xFFC7 and 0xFFCB are letters of the game title, 0xFFDB the header's version; in the order
    // of Region.
    constexpr std::uint8_t kLetters[][3] = {{'J', 'A', 0}, {'T', 'D', 0}, {'T', 'P', 0},
                                            {'T', 'S', 0}, {'T', 'D', 1}, {'T', 'M', 0},
                                            {'T', 'F', 0}, {'T', 'E', 0}};
    const auto* letters = kLetters[static_cast<std::size_t>(region)];
    Put8(0xFFC7, letters[0]);
    Put8(0xFFCB, letters[1]);
    Put8(0xFFDB, letters[2]);
}

void SyntheticImage::Put8(std::uint32_t offset, std::uint32_t value) {
    bytes_.at(offset) = static_cast<std::uint8_t>(value);
}

void SyntheticImage::Put16(std::uint32_t offset, std::uint32_t value) {
    Put8(offset, value);
    Put8(offset + 1, value >> 8);
}

void SyntheticImage::Put24(std::uint32_t offset, std::uint32_t value) {
    Put16(offset, value);
    Put8(offset + 2, value >> 16);
}

void SyntheticImage::PutBytes(std::uint32_t offset, std::span<const std::uint8_t> data) {
    if (offset + data.size() > bytes_.size()) {
        throw std::out_of_range("SyntheticImage::PutBytes past the image end");
    }
    std::copy(data.begin(), data.end(), bytes_.begin() + offset);
}

namespace {

void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

std::vector<std::uint8_t> SyntheticImage::PlanarTiles(std::span<const TilePixels> tiles,
                                                      unsigned bitsPerPixel) {
    const std::size_t tileBytes = 8 * bitsPerPixel;
    std::vector<std::uint8_t> out(tiles.size() * tileBytes, 0);
    for (std::size_t t = 0; t < tiles.size(); ++t) {
        std::uint8_t* tile = out.data() + tileBytes * t;
        for (std::size_t r = 0; r < 8; ++r) {
            for (std::size_t x = 0; x < 8; ++x) {
                const std::uint8_t v = tiles[t][r * 8 + x];
                const auto bit = static_cast<std::uint8_t>(0x80 >> x);
                // Planes interleave in pairs, each pair 16 bytes after the one before.
                constexpr std::size_t kPlaneByte[8] = {0, 1, 16, 17, 32, 33, 48, 49};
                for (std::size_t plane = 0; plane < bitsPerPixel; ++plane) {
                    if ((v >> plane & 1) != 0) {
                        tile[kPlaneByte[plane] + 2 * r] |= bit;
                    }
                }
            }
        }
    }
    return out;
}

namespace {

// The bytes of fixed-size records, one after the other.
template <typename Record>
std::vector<std::uint8_t> Joined(std::span<const Record> records) {
    std::vector<std::uint8_t> out;
    for (const auto& record : records) {
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> SyntheticImage::LinearTiles(std::span<const TilePixels> tiles) {
    return Joined(tiles);
}

SyntheticImage::TilePixels SyntheticImage::SolidTile(std::uint8_t index) {
    TilePixels tile;
    tile.fill(index);
    return tile;
}

void SyntheticImage::PutPalette(std::uint32_t offset, std::span<const std::uint16_t> colors) {
    for (std::size_t i = 0; i < colors.size(); ++i) {
        Put16(offset + static_cast<std::uint32_t>(2 * i), colors[i]);
    }
}

std::uint16_t SyntheticImage::SnesColor(std::uint32_t r5, std::uint32_t g5, std::uint32_t b5) {
    return static_cast<std::uint16_t>((r5 & 31) | (g5 & 31) << 5 | (b5 & 31) << 10);
}

std::uint16_t SyntheticImage::TileEntry(std::uint32_t tile, std::uint32_t paletteRow, bool flipX,
                                        bool flipY) {
    return static_cast<std::uint16_t>((tile & 0x3FF) | (paletteRow & 7) << 10 |
                                      (flipX ? 0x4000 : 0) | (flipY ? 0x8000 : 0));
}

std::vector<std::uint8_t> SyntheticImage::MetatileTable(
    std::span<const std::array<std::uint16_t, 4>> metatiles) {
    std::vector<std::uint8_t> out;
    for (const auto& metatile : metatiles) {
        for (const std::uint16_t entry : metatile) {
            AppendU16(out, entry);
        }
    }
    return out;
}

std::vector<std::uint8_t> SyntheticImage::WorldMetatileTable(
    std::span<const std::array<std::uint8_t, 4>> metatiles) {
    return Joined(metatiles);
}

std::vector<std::uint8_t> SyntheticImage::LayerMap(
    std::uint32_t widthCells, std::uint32_t heightCells,
    const std::function<std::uint16_t(std::uint32_t x, std::uint32_t y)>& cell) {
    std::vector<std::uint8_t> out;
    for (std::uint32_t y = 0; y < heightCells; ++y) {
        for (std::uint32_t x = 0; x < widthCells; ++x) {
            AppendU16(out, cell(x, y));
        }
    }
    return out;
}

std::vector<std::uint8_t> SyntheticImage::SpriteAnimationData(
    const std::vector<SpriteAnimation>& animations) {
    // The table's first entry doubles as its length: one slot more than there are animations.
    const std::size_t tableSize = 2 * (animations.size() + 1);
    std::size_t listsSize = 0;
    for (const auto& animation : animations) {
        listsSize += 4 * (animation.size() + 1);
    }
    std::vector<std::uint8_t> data(tableSize + listsSize, 0);
    const auto put16 = [&data](std::size_t at, std::size_t value) {
        data[at] = static_cast<std::uint8_t>(value);
        data[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    std::size_t list = tableSize;
    for (std::size_t a = 0; a < animations.size(); ++a) {
        put16(2 * a, list);
        for (const auto& frame : animations[a]) {
            const std::size_t record = data.size();
            put16(list, 0x0101);
            put16(list + 2, record);
            list += 4;
            data.resize(record + 17, 0xEE);  // the record head is not read
            data.back() = static_cast<std::uint8_t>(frame.size());
            for (const auto& piece : frame) {
                // The attribute bits below the two flips are all set: they flip nothing.
                const std::uint8_t mirror =
                    (piece.mirrorX ? 0x40 : 0) | (piece.mirrorY ? 0x80 : 0) | 0x3F;
                data.insert(data.end(), {static_cast<std::uint8_t>(piece.large ? 0x01 : 0x00),
                                         piece.x, 0xCC, piece.y, 0xCC, piece.tile, mirror});
            }
        }
        put16(list, 0xFFFF);
        list += 4;
    }
    put16(2 * animations.size(), tableSize);
    return data;
}

std::vector<std::uint8_t> SyntheticImage::SpriteTiles(const std::vector<std::string>& rows) {
    // Sixteen tiles to a tile row, in the sheet's order.
    std::vector<TilePixels> tiles((rows.size() + 7) / 8 * 16, TilePixels{});
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size() && x < 128; ++x) {
            const char c = rows[y][x];
            tiles[y / 8 * 16 + x / 8][y % 8 * 8 + x % 8] =
                c == '.' ? 0 : static_cast<std::uint8_t>(std::stoi(std::string(1, c), nullptr, 16));
        }
    }
    return PlanarTiles(tiles);
}

void SyntheticImage::PutSpriteInfo(std::uint32_t offset, std::uint32_t animDataAddress,
                                   std::uint32_t paletteAddress, std::uint32_t graphicsAddress) {
    const std::uint8_t zeros[21] = {};
    PutBytes(offset, zeros);
    Put24(offset, animDataAddress);
    Put24(offset + 9, paletteAddress);
    Put24(offset + 18, graphicsAddress);
}

void SyntheticImage::PutSpritePalettePointer(std::uint32_t index, std::uint32_t address) {
    Put24(0xFC72 + 3 * index, address);
}

void SyntheticImage::PutSpriteGraphicsPointer(std::uint32_t byteOffset, std::uint32_t address) {
    Put24(0xFDA4 + byteOffset, address);
}

std::uint32_t SyntheticImage::PutLzStream(std::uint32_t offset, std::uint32_t rawSize,
                                          std::span<const std::uint8_t> stream, std::uint8_t head) {
    Put8(offset, head);
    Put16(offset + 1, rawSize);
    PutBytes(offset + 3, stream);
    return static_cast<std::uint32_t>(3 + stream.size());
}

std::uint32_t SyntheticImage::PutLzBlock(std::uint32_t offset, std::span<const std::uint8_t> raw,
                                         std::uint8_t head) {
    const auto stream = LiteralLzStream(raw);
    return PutLzStream(offset, static_cast<std::uint32_t>(raw.size()), stream, head);
}

std::vector<std::uint8_t> SyntheticImage::LiteralLzStream(std::span<const std::uint8_t> raw) {
    if (raw.empty()) {
        throw std::invalid_argument("an LZ stream holds at least one byte");
    }
    // Flag bits: one 1 per literal after the first byte, then 0 1 for the end marker. A flag
    // byte goes in where its first bit is needed, ahead of that unit's data byte.
    std::vector<std::uint8_t> out{raw[0]};
    std::size_t flagAt = 0;
    std::size_t bitsUsed = 8;
    auto flag = [&](bool set) {
        if (bitsUsed == 8) {
            flagAt = out.size();
            out.push_back(0);
            bitsUsed = 0;
        }
        if (set) {
            out[flagAt] |= static_cast<std::uint8_t>(0x80 >> bitsUsed);
        }
        ++bitsUsed;
    };
    for (std::size_t k = 1; k < raw.size(); ++k) {
        flag(true);
        out.push_back(raw[k]);
    }
    flag(false);
    flag(true);
    out.insert(out.end(), {0, 0, 0});
    return out;
}

void SyntheticImage::SetMapHeader(std::uint32_t mapId, std::uint32_t position) {
    Put24(Wrap(Table(RegionTable::MapHeaderPointerTable) + 3 * mapId), position);
}

void SyntheticImage::SetScriptPiece(std::uint32_t piece, std::uint32_t position) {
    Put24(Wrap(Table(RegionTable::MapScriptTableB) + 3 * piece), position);
}

std::uint32_t SyntheticImage::PutLayerBlock(std::uint32_t offset, std::uint32_t widthPixels,
                                            std::uint32_t heightPixels,
                                            std::span<const std::uint8_t> map) {
    Put8(offset, widthPixels / 256);
    Put8(offset + 1, heightPixels / 256);
    return 2 + PutLzBlock(offset + 2, map);
}

void SyntheticImage::PutWorldMap(bool large, std::span<const std::uint8_t> tileMap,
                                 std::span<const std::uint8_t> linearTiles,
                                 std::span<const std::uint8_t> metatiles,
                                 std::span<const std::uint16_t> palette) {
    if (large) {
        constexpr std::size_t kBlock = 0x8000;
        PutBytes(Table(RegionTable::WorldMapTileMapTableA), tileMap.first(kBlock));
        PutBytes(Table(RegionTable::WorldMapTileMapTableB), tileMap.subspan(kBlock, kBlock));
        PutLzBlock(Wrap(Table(RegionTable::WorldMapTilesTable)), linearTiles);
        PutLzBlock(Wrap(Table(RegionTable::WorldMapMetatileTable)), metatiles);
        PutPalette(Wrap(Table(RegionTable::WorldMapPaletteTable)), palette);
    } else {
        PutBytes(Table(RegionTable::SmallWorldMapTileMapTable), tileMap.first(0x1000));
        PutLzBlock(Wrap(Table(RegionTable::SmallWorldMapTilesTable)), linearTiles);
        PutLzBlock(Wrap(Table(RegionTable::SmallWorldMapMetatileTable)), metatiles);
        PutPalette(Wrap(Table(RegionTable::SmallWorldMapPaletteTable)), palette);
    }
}

void SyntheticImage::PutMapZero(std::span<const std::uint8_t> tiles,
                                std::span<const std::uint8_t> metatiles,
                                std::span<const std::uint8_t> tileMap,
                                std::span<const std::uint16_t> palette) {
    PutLzBlock(Wrap(Table(RegionTable::MapZeroExtraTableA)), tiles);
    PutLzBlock(Wrap(Table(RegionTable::MapZeroExtraTableB)), metatiles);
    PutLzBlock(Wrap(Table(RegionTable::MapZeroExtraTableC)), tileMap);
    PutPalette(Wrap(Table(RegionTable::MapZeroExtraTableD) - 0x20), palette);
}

void SyntheticImage::PutBlankMapTemplate(std::span<const std::uint8_t> tiles,
                                         std::span<const std::uint8_t> metatiles,
                                         std::span<const std::uint8_t> collision,
                                         std::span<const std::uint16_t> rows2To7,
                                         std::span<const std::uint16_t> rows0To1) {
    PutLzBlock(0x130000, tiles);
    PutLzBlock(0x144B3D, metatiles);
    PutLzBlock(0x1A4EA5, collision);
    PutPalette(0x1A4077, rows2To7);
    PutPalette(0x349110, rows0To1);
}

void SyntheticImage::WriteFile(const std::filesystem::path& path, bool copierHeader) const {
    const std::vector<std::uint8_t> header(copierHeader ? 512 : 0, 0xAA);
    if (!WriteWholeFile(path, {header, bytes_})) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::uint32_t SyntheticImage::Table(RegionTable table) const {
    const std::uint32_t region = RegionIndex(region_);
    if (region >= kRegionCount) {
        return 0;
    }
    return DefaultRegionAddressTables()[static_cast<std::size_t>(table)][region];
}

std::uint32_t SyntheticImage::Wrap(std::uint32_t address) const {
    if (region_ == Region::ReleaseM) {
        return address & 0xFFFFF;
    }
    return address < Size() ? address : address & 0x3FFFFF;
}

void SyntheticImage::PutExitList(std::uint32_t mapId, std::uint16_t pointer,
                                 std::span<const ExitRecord> exits) {
    Put16(Table(RegionTable::ExitPointerTable) + 2 * mapId, pointer);
    if (pointer == 0) {
        return;
    }
    std::uint32_t at = Table(RegionTable::ExitDataBank) + pointer;
    for (const ExitRecord& e : exits) {
        Put8(at, e.posX);
        Put8(at + 1, e.posY);
        Put8(at + 2, e.sizeX);
        Put8(at + 3, e.sizeY);
        Put16(at + 4, e.dstMapId);
        Put8(at + 6, e.transEffect);
        Put8(at + 7, e.direction);
        Put16(at + 8, e.dstX);
        Put16(at + 10, e.dstY);
        at += 12;
    }
    Put8(at, 0xFF);
}

void SyntheticImage::PutConditionalDestinations(std::uint16_t dstMapId,
                                                std::span<const ConditionalDestination> records) {
    std::uint32_t at = kConditionalDestinationBank | dstMapId;
    for (const ConditionalDestination& r : records) {
        Put16(at, r.condition);
        Put16(at + 2, r.dstMapId);
        Put8(at + 4, r.transEffect);
        Put8(at + 5, r.direction);
        Put16(at + 6, r.dstX);
        Put16(at + 8, r.dstY);
        at += kConditionalDestinationSize;
    }
}

void SyntheticImage::PutChestList(std::uint32_t mapId, std::uint16_t pointer,
                                  std::span<const ChestRecord> chests) {
    Put16(Table(RegionTable::ChestPointerTable) + 2 * mapId, pointer);
    std::uint32_t at = Table(RegionTable::ChestDataBank) + pointer;
    for (const ChestRecord& c : chests) {
        Put8(at, c.x);
        Put8(at + 1, c.y);
        Put8(at + 2, c.kind);
        if (c.IsLongForm()) {
            Put16(at + 3, c.extraWord);
            Put16(at + 5, c.itemWord);
            Put16(at + 7, c.chestId);
        } else {
            Put16(at + 3, c.itemWord);
            Put16(at + 5, c.chestId);
        }
        at += c.Size();
    }
    Put8(at, 0xFF);
}

void SyntheticImage::PutShops(std::span<const ShopRecord> shops) {
    std::uint32_t at = Table(RegionTable::ShopTable);
    for (const ShopRecord& s : shops) {
        Put16(at, s.mapId);
        Put16(at + 2, s.eventFlag);
        Put16(at + 4, s.itemListPointer);
        const std::uint8_t place[3] = {s.x, s.y, s.greeting};
        PutBytes(at + 6, place);
        at += kShopRecordSize;
    }
    Put16(at, 0xFFFF);
}

void SyntheticImage::PutShopItems(std::uint16_t pointer, std::span<const ShopItem> items) {
    std::uint32_t at = (Table(RegionTable::ShopTable) & 0xFF0000) + pointer;
    for (const ShopItem& item : items) {
        Put8(at, item.itemId);
        Put16(at + 1, item.price);
        Put8(at + 3, item.unique);
        at += kShopItemSize;
    }
    Put8(at, 0xFF);
}

void SyntheticImage::PutWorldMapExits(std::span<const WorldMapExitRecord> exits) {
    std::uint32_t at = Wrap(Table(RegionTable::WorldMapExitTable));
    for (const WorldMapExitRecord& e : exits) {
        const std::uint8_t head[4] = {e.x, e.y, e.width, e.height};
        PutBytes(at, head);
        PutBytes(at + 4, e.rest);
        at += sizeof(WorldMapExitRecord);
    }
}

std::uint32_t SyntheticImage::ObjectBankValue(ObjectBank bank, std::uint32_t extendedA,
                                              std::uint32_t extendedB, RegionTable tableA,
                                              RegionTable tableB) const {
    if (extendedObjectBanks_) {
        return bank == ObjectBank::A ? extendedA : extendedB;
    }
    return Table(bank == ObjectBank::A ? tableA : tableB);
}

void SyntheticImage::PutObjectList(std::uint32_t mapId, ObjectBank bank, std::uint16_t pointer,
                                   std::span<const std::uint8_t> bytes) {
    const std::uint32_t table = ObjectBankValue(bank, kExtendedObjectTableA, kExtendedObjectTableB,
                                                RegionTable::SpritePlacementPointerTableA,
                                                RegionTable::SpritePlacementPointerTableB);
    Put16(Wrap(table + 2 * mapId), pointer);
    PutObjectBytes(bank, pointer, bytes);
}

void SyntheticImage::PutObjectBytes(ObjectBank bank, std::uint16_t pointer,
                                    std::span<const std::uint8_t> bytes) {
    const std::uint32_t base =
        ObjectBankValue(bank, kExtendedObjectBankA, kExtendedObjectBankB,
                        RegionTable::SpritePlacementBankA, RegionTable::SpritePlacementBankB);
    PutBytes(Wrap(base | pointer), bytes);
}

void SyntheticImage::PutInsertedText(TextList list, std::uint32_t index, std::uint16_t pointer,
                                     std::span<const std::uint8_t> bytes) {
    const bool b = list == TextList::B;
    Put16(Table(b ? RegionTable::TextInsertTableB : RegionTable::TextInsertTableA) + 2 * index,
          pointer);
    PutBytes(Wrap(Table(b ? RegionTable::TextInsertBankB : RegionTable::TextInsertBankA) + pointer),
             bytes);
}

void SyntheticImage::UseExtendedObjectBanks() {
    for (std::uint32_t at : {0xF403u, 0xF411u, 0xF417u, 0x69562u, 0x69569u}) {
        Put8(at, 0x50);
    }
    for (std::uint32_t at : {0xF409u, 0xF420u, 0xF42Bu, 0x6956Du, 0x69574u}) {
        Put8(at, 0x51);
    }
    extendedObjectBanks_ = true;
}

void SyntheticImage::PutEnemyRecord(std::uint32_t e, std::uint16_t pointer,
                                    std::span<const std::uint8_t> record) {
    Put16(Table(RegionTable::EnemyPointerTable) + 2 * e, pointer);
    PutBytes(Table(RegionTable::EnemyDataBank) + pointer, record);
}

void SyntheticImage::PutLevelRecord(std::uint32_t level, std::span<const std::uint8_t> record) {
    PutBytes(Table(RegionTable::ExperienceTable) + 11 * (level - 1), record);
}

void SyntheticImage::PutItemText(RegionTable pointerTable, std::uint32_t index,
                                 std::uint16_t pointer, std::span<const std::uint8_t> bytes) {
    Put16(Table(pointerTable) + 2 * index, pointer);
    PutBytes(Wrap(Table(RegionTable::ItemTextBank) + pointer), bytes);
}

std::vector<std::uint8_t> SyntheticImage::WesternText(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            bytes.push_back(static_cast<std::uint8_t>(0x63 + (c - '0')));
        } else {
            // Letters stand 0x20 below their ASCII codes; the blank keeps its own.
            bytes.push_back(static_cast<std::uint8_t>(c == ' ' ? c : c - 0x20));
        }
    }
    bytes.push_back(0xD3);
    return bytes;
}
