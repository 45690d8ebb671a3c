#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "maps/ShopList.h"
#include "project/ChestRecord.h"
#include "project/ConditionalDestination.h"
#include "project/ExitRecord.h"
#include "project/RegionAddressTable.h"
#include "project/WorldMapExitRecord.h"

// Builds ROM images for tests: the editor never needs a real one. An image is filled with a
// recognisable pattern-free background (zeros), carries the region letters of its release and
// can be extended with game structures by the helpers that later tests add.
class SyntheticImage {
public:
    enum class Region { Japanese, German, UK, Spanish, GermanV1, ReleaseM, ReleaseF, Unknown };

    static constexpr std::uint32_t k1MB = 0x100000;
    static constexpr std::uint32_t k4MB = 0x400000;
    static constexpr std::uint32_t k6MB = 0x600000;

    explicit SyntheticImage(std::uint32_t size = k4MB, Region region = Region::German);

    // Writes the internal-header bytes 0xFFC7, 0xFFCB and 0xFFDB of a release.
    void SetRegion(Region region);
    static std::uint32_t RegionIndex(Region region);

    std::uint32_t Size() const { return static_cast<std::uint32_t>(bytes_.size()); }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

    void Put8(std::uint32_t offset, std::uint32_t value);
    void Put16(std::uint32_t offset, std::uint32_t value);
    void Put24(std::uint32_t offset, std::uint32_t value);
    void PutBytes(std::uint32_t offset, std::span<const std::uint8_t> data);
    // An LZ block: the head byte, the raw size, then an all-literal stream of `raw` (written
    // here, not by the codec under test). Returns the block's length.
    std::uint32_t PutLzBlock(std::uint32_t offset, std::span<const std::uint8_t> raw,
                             std::uint8_t head = 0);
    // An LZ block with the given raw size and stream bytes, well formed or not.
    std::uint32_t PutLzStream(std::uint32_t offset, std::uint32_t rawSize,
                              std::span<const std::uint8_t> stream, std::uint8_t head = 0);
    // The stream that stores every byte of `raw` as a literal.
    static std::vector<std::uint8_t> LiteralLzStream(std::span<const std::uint8_t> raw);

    // Map graphics, raw: the buffers that the map engine consumes once a block is decoded.
    // An 8 x 8 tile as colour indexes, row by row.
    using TilePixels = std::array<std::uint8_t, 64>;
    // Tiles in the console's 4-bit planar form, 32 bytes each, or 8-bit, 64 bytes each.
    static std::vector<std::uint8_t> PlanarTiles(std::span<const TilePixels> tiles,
                                                 unsigned bitsPerPixel = 4);
    // Tiles of one byte per pixel, 64 bytes each.
    static std::vector<std::uint8_t> LinearTiles(std::span<const TilePixels> tiles);
    // A tile whose every pixel has the given index.
    static TilePixels SolidTile(std::uint8_t index);
    // SNES colours as the image stores them: little-endian words.
    void PutPalette(std::uint32_t offset, std::span<const std::uint16_t> colors);
    static std::uint16_t SnesColor(std::uint32_t r5, std::uint32_t g5, std::uint32_t b5);
    // A tile entry: tile number, palette row, flips.
    static std::uint16_t TileEntry(std::uint32_t tile, std::uint32_t paletteRow = 0,
                                   bool flipX = false, bool flipY = false);
    // Metatiles of four tile entries (top-left, top-right, bottom-left, bottom-right), 8 bytes.
    static std::vector<std::uint8_t> MetatileTable(
        std::span<const std::array<std::uint16_t, 4>> metatiles);
    // World-map metatiles of four tile numbers, 4 bytes.
    static std::vector<std::uint8_t> WorldMetatileTable(
        std::span<const std::array<std::uint8_t, 4>> metatiles);
    // A layer map of 16-bit cells, widthCells per row.
    static std::vector<std::uint8_t> LayerMap(
        std::uint32_t widthCells, std::uint32_t heightCells,
        const std::function<std::uint16_t(std::uint32_t x, std::uint32_t y)>& cell);

    // Map loading data, placed through the release's tables and the address rule (Wrap).
    // The header-script position of a map (2: no map) and of shared script piece n.
    void SetMapHeader(std::uint32_t mapId, std::uint32_t position);
    void SetScriptPiece(std::uint32_t piece, std::uint32_t position);
    // A layer block: width / 256 and height / 256 pixels, then the LZ block of the tile map.
    std::uint32_t PutLayerBlock(std::uint32_t offset, std::uint32_t widthPixels,
                                std::uint32_t heightPixels, std::span<const std::uint8_t> map);
    // The world-map data where the release's tables put it: the raw tile map (0x10000 bytes
    // for the large map, split over its two blocks; 0x1000 for the small one), LZ blocks of
    // linear tiles and metatiles, and 256 colours.
    void PutWorldMap(bool large, std::span<const std::uint8_t> tileMap,
                     std::span<const std::uint8_t> linearTiles,
                     std::span<const std::uint8_t> metatiles,
                     std::span<const std::uint16_t> palette);
    // The map-0 data of the release's extra tables: tiles, metatiles, tile map (LZ blocks) and
    // the 256 colours that end 0x20 bytes below table D.
    void PutMapZero(std::span<const std::uint8_t> tiles, std::span<const std::uint8_t> metatiles,
                    std::span<const std::uint8_t> tileMap, std::span<const std::uint16_t> palette);

    // The template of a new map at its fixed offsets (the same for every release): tiles,
    // metatiles and collision as LZ blocks, palette rows 2 to 7, and rows 0 and 1.
    void PutBlankMapTemplate(std::span<const std::uint8_t> tiles,
                             std::span<const std::uint8_t> metatiles,
                             std::span<const std::uint8_t> collision,
                             std::span<const std::uint16_t> rows2To7,
                             std::span<const std::uint16_t> rows0To1);

    // The value of a region table for this image's release (0 for an unknown release), and the
    // address rule of the editor applied to a game address.
    std::uint32_t Table(RegionTable table) const;
    std::uint32_t Wrap(std::uint32_t address) const;

    // Map exits: the map's pointer at 0x18000 + 2 * map, its records at 0x10000 + pointer, then
    // the 0xFF byte. A pointer of 0 writes only the pointer.
    void PutExitList(std::uint32_t mapId, std::uint16_t pointer, std::span<const ExitRecord> exits);
    // Conditional destinations at 0x10000 | dstMapId, exactly as given (conditions included).
    void PutConditionalDestinations(std::uint16_t dstMapId,
                                    std::span<const ConditionalDestination> records);
    // A map's chests in both forms at the release's chest tables, then the 0xFF byte.
    void PutChestList(std::uint32_t mapId, std::uint16_t pointer,
                      std::span<const ChestRecord> chests);
    // Shops from the release's shop table on (offsets ignored), then the 0xFFFF word; and an
    // item list at (the table's bank) + pointer, then the 0xFF byte.
    void PutShops(std::span<const ShopRecord> shops);
    void PutShopItems(std::uint16_t pointer, std::span<const ShopItem> items);
    // The 37 world-map exits at the release's table.
    void PutWorldMapExits(std::span<const WorldMapExitRecord> exits);

    // Enemy e's 16-bit pointer in the release's enemy pointer table and its 25-byte record at
    // the release's enemy bank + pointer.
    void PutEnemyRecord(std::uint32_t e, std::uint16_t pointer,
                        std::span<const std::uint8_t> record);
    // The 11-byte record of level 1 to 50 in the release's level table.
    void PutLevelRecord(std::uint32_t level, std::span<const std::uint8_t> record);

    // Object lists. Bank A or B of the release (or of banks 0x50/0x51 after
    // UseExtendedObjectBanks): the map's pointer in that bank's table and the bytes (head word
    // and commands, see ObjectListBytes) at bank | pointer.
    enum class ObjectBank { A, B };
    void PutObjectList(std::uint32_t mapId, ObjectBank bank, std::uint16_t pointer,
                       std::span<const std::uint8_t> bytes);
    // Bytes at bank | pointer without touching a table, for nested lists.
    void PutObjectBytes(ObjectBank bank, std::uint16_t pointer,
                        std::span<const std::uint8_t> bytes);
    // A 6 MB image that already keeps its object lists in banks 0x50 and 0x51: writes the ten
    // bank bytes, and the object helpers use those banks from now on.
    void UseExtendedObjectBanks();

    // Sprites. A piece of a frame: 8 x 8 or 16 x 16 pixels at (x, y) from the frame's origin,
    // taken from the sheet tile `tile` (low nibble column, high nibble row).
    struct SpritePiece {
        bool large = false;
        std::uint8_t x = 0;
        std::uint8_t y = 0;
        std::uint8_t tile = 0;
        bool mirrorX = false;
        bool mirrorY = false;
    };
    using SpriteFrame = std::vector<SpritePiece>;
    using SpriteAnimation = std::vector<SpriteFrame>;

    // Decoded animation data: the table of frame-list offsets, one list per animation ended by
    // a 0xFFFF entry, then the frame records.
    static std::vector<std::uint8_t> SpriteAnimationData(
        const std::vector<SpriteAnimation>& animations);
    // Decoded sprite graphics from a picture 128 pixels wide given as rows of hexadecimal
    // palette indexes ('.' counts as 0; short rows and missing rows are 0), in whole tile rows.
    static std::vector<std::uint8_t> SpriteTiles(const std::vector<std::string>& rows);
    // A sprite-information record that names its palette and graphics by address.
    void PutSpriteInfo(std::uint32_t offset, std::uint32_t animDataAddress,
                       std::uint32_t paletteAddress, std::uint32_t graphicsAddress);
    // Sixteen 15-bit colours (the first is never shown).
    void PutSpritePalette(std::uint32_t offset, std::span<const std::uint16_t> colours) {
        PutPalette(offset, colours);
    }
    void PutSpritePalettePointer(std::uint32_t index, std::uint32_t address);
    // `byteOffset` is an offset into the table, as records give it.
    void PutSpriteGraphicsPointer(std::uint32_t byteOffset, std::uint32_t address);

    // Game texts. Entry `index` of the release's inserted-text list A or B points at the
    // text bytes, written at the list's bank + pointer (through the address rule).
    enum class TextList { A, B };
    void PutInsertedText(TextList list, std::uint32_t index, std::uint16_t pointer,
                         std::span<const std::uint8_t> bytes);

    // Entry `index` of one of the item-text pointer tables (names and descriptions of items,
    // armour, weapons and rings) points at the text bytes, written at the item text bank +
    // pointer (through the address rule).
    void PutItemText(RegionTable pointerTable, std::uint32_t index, std::uint16_t pointer,
                     std::span<const std::uint8_t> bytes);
    // Plain letters, digits and blanks as western text bytes, with the end code.
    static std::vector<std::uint8_t> WesternText(std::string_view text);

    // The image as a file, with a 512-byte copier header in front when asked.
    void WriteFile(const std::filesystem::path& path, bool copierHeader = false) const;

private:
    // Of bank A or B: the extended value after UseExtendedObjectBanks, else the release's table.
    std::uint32_t ObjectBankValue(ObjectBank bank, std::uint32_t extendedA, std::uint32_t extendedB,
                                  RegionTable tableA, RegionTable tableB) const;

    std::vector<std::uint8_t> bytes_;
    Region region_ = Region::German;
    bool extendedObjectBanks_ = false;
};
