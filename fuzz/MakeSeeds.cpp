// Writes the seed corpora of the fuzz targets, made with the synthetic image builder.
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzImage.h"
#include "fuzz/LzSamples.h"
#include "maps/FreeAreaSurvey.h"
#include "platform/Files.h"
#include "project/Allocator.h"
#include "project/ByteAccess.h"
#include "project/LzCodec.h"
#include "project/ProjectContext.h"
#include "project/ProjectFile.h"
#include "project/RomImport.h"
#include "tests/editors/TitleScreenProject.h"
#include "tests/support/HeaderScriptWriter.h"
#include "tests/support/ObjectListBytes.h"
#include "tests/support/SyntheticImage.h"

namespace fs = std::filesystem;
using Region = SyntheticImage::Region;
using Bytes = std::vector<std::uint8_t>;
using Metatile = std::array<std::uint16_t, 4>;

namespace {

void Write(const fs::path& folder, const std::string& name, const Bytes& data) {
    fs::create_directories(folder);
    if (!WriteWholeFile(folder / name, data)) {
        std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
    }
}

// A seed of a target that reads a few bytes of its own before the image description.
Bytes WithPrefix(const Bytes& prefix, const SyntheticImage& image) {
    Bytes out = prefix;
    const Bytes description = DescribeFuzzImage(image.Bytes());
    out.insert(out.end(), description.begin(), description.end());
    return out;
}

Bytes Counting(std::size_t size, std::uint8_t seed) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    return out;
}

std::vector<std::uint16_t> Colours(std::uint32_t count, std::uint32_t seed) {
    std::vector<std::uint16_t> out;
    for (std::uint32_t k = 0; k < count; ++k) {
        out.push_back(SyntheticImage::SnesColor(k + seed, 31 - k, 2 * k));
    }
    return out;
}

std::vector<SyntheticImage::TilePixels> SolidTiles(std::size_t count) {
    std::vector<SyntheticImage::TilePixels> tiles;
    for (std::size_t n = 0; n < count; ++n) {
        tiles.push_back(SyntheticImage::SolidTile(static_cast<std::uint8_t>(n % 16)));
    }
    return tiles;
}

std::vector<SyntheticImage> RomImages() {
    std::vector<SyntheticImage> images;
    images.emplace_back(SyntheticImage::k4MB, Region::German);
    images.emplace_back(SyntheticImage::k6MB, Region::UK);
    images.emplace_back(SyntheticImage::k1MB, Region::ReleaseM);
    images.emplace_back(SyntheticImage::k4MB, Region::Japanese);
    // Exit and object lists, nested calls included, so that import reaches their readers.
    for (const std::uint32_t size : {SyntheticImage::k4MB, SyntheticImage::k6MB}) {
        SyntheticImage& lists = images.emplace_back(size, Region::German);
        const ExitRecord exit{1, 2, 3, 4, 0x123, 0, 0, 5, 6};
        lists.PutExitList(1, 0x9000, std::vector{exit, exit});
        using Bank = SyntheticImage::ObjectBank;
        lists.PutObjectList(1, Bank::A, 0x9000,
                            ObjectListBytes()
                                .Head(0x0C00)
                                .Object(0x00, 5, 6, 0, 0xC12345, 0xC23456)
                                .Call(0x8010, 0xA000)
                                .PlayerSpawn(1, 2, 0, 0xC33333)
                                .End());
        lists.PutObjectBytes(Bank::A, 0xA000,
                             ObjectListBytes().Call2(1, 2, 0xA100).Raw({0xFB, 1, 2, 3, 4}).End());
        lists.PutObjectBytes(
            Bank::A, 0xA100,
            ObjectListBytes().Object(0x01, 7, 8, 0xC0, 1, 2).Long(3).Long(4).End());
        lists.PutObjectList(2, Bank::B, 0x9000, ObjectListBytes().Head(0x1A00).End());
        // A tail call into the list's own later part, and a list shared by two maps.
        lists.PutObjectList(3, Bank::A, 0x9100,
                            ObjectListBytes()
                                .Head(0x0100)
                                .Call(0x0001, 0x910C)
                                .Raw({0xFE, 1, 2, 3, 4})
                                .Object(0x41, 1, 1, 0xFF, 5, 6)
                                .Long(7)
                                .Long(8)
                                .End());
        lists.PutObjectList(4, Bank::B, 0x9000, ObjectListBytes().Head(0x1A00).End());
    }
    // A 6 MB image that already keeps its lists in banks 0x50 and 0x51.
    SyntheticImage& moved = images.emplace_back(SyntheticImage::k6MB, Region::Spanish);
    moved.UseExtendedObjectBanks();
    moved.PutObjectList(5, SyntheticImage::ObjectBank::A, 0x9000,
                        ObjectListBytes().Head(0x0200).PlayerSpawn(3, 4, 0, 0xC11111).End());
    return images;
}

// --- Maps ---

constexpr std::uint32_t kScript = 0x0A8000;
constexpr std::uint32_t kPieces = 0x0A9000;
constexpr std::uint32_t kData = 0x0B9000;
constexpr std::uint32_t kSpriteInfo = 0x0C8000;

std::uint32_t PiecePosition(std::uint32_t piece) {
    return kPieces + 0x100 * piece;
}

// The sprite that map objects name: one animation of one frame.
void PutObjectSprite(SyntheticImage& image) {
    const std::uint32_t anim = kSpriteInfo + 0x100;
    const std::uint32_t palette = kSpriteInfo + 0x400;
    const std::uint32_t graphics = kSpriteInfo + 0x500;
    image.PutSpriteInfo(kSpriteInfo, anim, palette, graphics);
    const SyntheticImage::SpriteFrame frame = {{.large = true, .x = 0, .y = 0, .tile = 0x01},
                                               {.x = 8, .y = 4, .tile = 0x10, .mirrorX = true}};
    image.PutLzBlock(anim, SyntheticImage::SpriteAnimationData({{frame}}));
    image.PutSpritePalette(palette, Colours(16, 3));
    std::vector<std::string> sheet(16, std::string(128, '.'));
    sheet[0].replace(0, 32, "0123456789ABCDEF0123456789ABCDEF");
    sheet[9].replace(0, 8, "12121212");
    image.PutLzBlock(graphics, SyntheticImage::SpriteTiles(sheet));
}

// A map whose header script uses every command, calls shared pieces, and whose exits,
// chests, shop entry and objects (with a sprite) the overlays draw.
SyntheticImage ScriptedMap(std::uint32_t size, Region region, std::uint32_t mapId) {
    SyntheticImage image(size, region);
    image.SetMapHeader(mapId, kScript);
    for (std::uint32_t piece = 0; piece < 8; ++piece) {
        image.SetScriptPiece(piece, PiecePosition(piece));
    }
    image.PutPalette(image.Wrap(image.Table(RegionTable::DefaultMapPaletteTable)), Colours(16, 1));

    const auto planar = SyntheticImage::PlanarTiles(SolidTiles(32));
    const Metatile quad{SyntheticImage::TileEntry(1, 1), SyntheticImage::TileEntry(2, 1, true),
                        SyntheticImage::TileEntry(3, 0, false, true),
                        SyntheticImage::TileEntry(17)};
    const std::vector<Metatile> table{{}, quad, quad, {}};
    const auto metatiles = SyntheticImage::MetatileTable(table);
    const auto layer0 =
        SyntheticImage::LayerMap(16, 16, [](auto x, auto y) { return (x + y) % 3; });
    const auto layer1 = SyntheticImage::LayerMap(32, 16, [](auto x, auto) { return x % 2; });

    const std::uint32_t tilesAt = kData;
    const std::uint32_t metaAt = kData + 0x1000;
    const std::uint32_t collisionAt = kData + 0x1400;
    const std::uint32_t layer0At = kData + 0x2000;
    const std::uint32_t layer1At = kData + 0x3000;
    const std::uint32_t paletteAt = kData + 0x4000;
    const std::uint32_t linearAt = kData + 0x4200;
    image.PutLzBlock(tilesAt, planar);
    image.PutLzBlock(metaAt, metatiles);
    image.PutLzBlock(collisionAt, Counting(64, 5));
    image.PutLayerBlock(layer0At, 256, 256, layer0);
    image.PutLayerBlock(layer1At, 512, 256, layer1);
    image.PutPalette(paletteAt, Colours(64, 7));
    image.PutLzBlock(linearAt, SyntheticImage::LinearTiles(SolidTiles(4)));

    HeaderScriptWriter script(image, kScript);
    script.Ignored01()
        .Music(7)
        .Unused04(0x8000)
        .Tiles(1, 0, tilesAt, 0x00)
        .Tiles(1, 1, tilesAt, 0x48)
        .Tiles(1, 2, tilesAt, 0x70)
        .Metatiles(0, 2, 0, 0x00, metaAt)
        .Metatiles(0, 2, 0, 0x02, metaAt)
        .Metatiles(0, 1, 1, 0x80, collisionAt)
        .Palette(48, 16, paletteAt)
        .Call(1)
        .Defer(2)
        .MusicTrack(9)
        .FlagGoto(0x123, 3);
    HeaderScriptWriter(image, PiecePosition(1)).Layer(1, layer0At).Return();
    HeaderScriptWriter(image, PiecePosition(2)).Layer(2, layer1At).End();
    HeaderScriptWriter(image, PiecePosition(3)).GotoUnlessCalled(4).Layer(0, 0).Layer(3, 0).End();
    HeaderScriptWriter(image, PiecePosition(4)).Tiles(0x40, 255, linearAt, 0).ReturnOrGoto(5).End();
    HeaderScriptWriter(image, PiecePosition(5)).Flow(0x01).End();

    const ExitRecord exit{1, 2, 3, 4, 0x8123, 0, 0, 5, 6};
    const ExitRecord plain{8, 1, 2, 2, 0x20, 1, 2, 3, 4};
    if (mapId < 1104) {
        image.PutExitList(mapId, 0x9000, std::vector{exit, plain});
        image.PutConditionalDestinations(
            0x8123, std::vector<ConditionalDestination>{{0, 0x10, 0x21, 1, 2, 3, 4},
                                                        {0, 0, 0x22, 1, 2, 3, 4}});
    }
    if (image.Table(RegionTable::ChestPointerTable) != 0) {
        image.PutChestList(mapId, 0x9000,
                           std::vector<ChestRecord>{{0, 3, 4, 0x00, 0, 0x8010, 1},
                                                    {0, 5, 6, 0x80, 0x1111, 0x0022, 2}});
    }
    if (const std::uint32_t shops = image.Table(RegionTable::ShopTable); shops != 0) {
        const std::uint8_t shop[9] = {static_cast<std::uint8_t>(mapId),
                                      static_cast<std::uint8_t>(mapId >> 8),
                                      1,
                                      2,
                                      3,
                                      4,
                                      5,
                                      6,
                                      7};
        image.PutBytes(shops, shop);
        image.Put16(shops + 9, 0xFFFF);
    }
    using Bank = SyntheticImage::ObjectBank;
    const std::uint32_t sprite = 0xC00000 | kSpriteInfo;
    image.PutObjectList(mapId, Bank::A, 0x9000,
                        ObjectListBytes()
                            .Head(0x0C00)
                            .Object(0x00, 2, 3, 0, 0xC12345, sprite)
                            .Object(0x01, 4, 3, 0xC0, 0xC12345, 0)
                            .Long(1)
                            .Long(2)
                            .PlayerSpawn(1, 2, 0, 0xC33333)
                            .Raw({0xF0, 1, 2, 3, 4, 5, 6, 0xFB, 1, 2, 3, 4})
                            .Call(0x0001, 0x9100)
                            .End());
    image.PutObjectBytes(Bank::A, 0x9100,
                         ObjectListBytes().Object(0x00, 6, 6, 0, 0xC12345, sprite).End());
    PutObjectSprite(image);
    return image;
}

// Only the German release has map-0 data; another release gets the header alone.
SyntheticImage MapZero(Region region) {
    SyntheticImage image(SyntheticImage::k4MB, region);
    image.SetMapHeader(0, kScript);
    if (image.Table(RegionTable::MapZeroExtraTableA) == 0) {
        return image;
    }
    const std::vector<Metatile> table{{}, {1, 2, 3, 4}};
    image.PutMapZero(
        SyntheticImage::PlanarTiles(SolidTiles(16)), SyntheticImage::MetatileTable(table),
        SyntheticImage::LayerMap(32, 16, [](auto x, auto) { return x % 2; }), Colours(256, 0));
    image.PutPalette(image.Wrap(image.Table(RegionTable::DefaultMapPaletteTable)), Colours(16, 1));
    return image;
}

SyntheticImage WorldMap(std::uint32_t size, Region region, bool large) {
    SyntheticImage image(size, region);
    Bytes tileMap(large ? 0x10000 : 0x1000, 0);
    for (std::size_t i = 0; i < 64; ++i) {
        tileMap[i] = static_cast<std::uint8_t>(i % 3);
        tileMap[tileMap.size() / 2 + i] = 1;
    }
    const std::vector<std::array<std::uint8_t, 4>> metatiles{
        {0, 1, 2, 3}, {3, 2, 1, 0}, {1, 1, 1, 1}};
    image.PutWorldMap(large, tileMap, SyntheticImage::LinearTiles(SolidTiles(4)),
                      SyntheticImage::WorldMetatileTable(metatiles), Colours(256, 2));
    if (large) {
        std::vector<WorldMapExitRecord> exits(kWorldMapExitCount);
        exits[0] = {1, 2, 3, 4, {}};
        image.PutWorldMapExits(exits);
    }
    return image;
}

// Maps 0x41 to 0x44 take blocks from fixed offsets after their script.
SyntheticImage ExtraDataMap(std::uint32_t mapId) {
    SyntheticImage image = ScriptedMap(SyntheticImage::k4MB, Region::German, mapId);
    const std::vector<Metatile> table{{5, 6, 7, 8}, {1, 2, 3, 4}};
    image.PutLzBlock(0x2FC000, SyntheticImage::MetatileTable(table));
    image.PutLzBlock(0x235DD5, SyntheticImage::PlanarTiles(SolidTiles(16)));
    image.PutPalette(0x33E489, Colours(240, 4));
    return image;
}

// The map id, the options byte and four page actions (kind, x / 4, y / 4).
Bytes MapPrefix(std::uint32_t mapId, bool alternative, std::uint8_t options,
                std::array<std::uint8_t, 12> actions) {
    const std::uint32_t word = mapId | (alternative ? 0x8000 : 0);
    Bytes out{static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8), options};
    out.insert(out.end(), actions.begin(), actions.end());
    return out;
}

void WriteMapSeeds(const fs::path& folder) {
    int n = 0;
    const auto seed = [&](std::uint32_t mapId, bool alternative, std::uint8_t options,
                          std::array<std::uint8_t, 12> actions, const SyntheticImage& image) {
        Write(folder, "map" + std::to_string(n++),
              WithPrefix(MapPrefix(mapId, alternative, options, actions), image));
    };
    // Place a tile, pick one, scroll, select from a panel; toggles; offsets; world-map clicks.
    const std::array<std::uint8_t, 12> edits{0, 4, 4, 1, 8, 8, 3, 1, 0, 2, 4, 2};
    const std::array<std::uint8_t, 12> toggles{6, 0, 0, 7, 0, 0, 8, 0, 0, 9, 2, 0};
    const std::array<std::uint8_t, 12> offsets{10, 0, 0, 11, 0xB9, 0x02, 4, 1, 0, 5, 0, 0};
    const std::array<std::uint8_t, 12> world{2, 3, 1, 0, 10, 10, 1, 20, 20, 3, 9, 0};
    // Save, New then Save, a layer file in and out.
    const std::array<std::uint8_t, 12> save{0, 4, 4, 12, 0, 0, 14, 2, 0, 12, 0, 0};
    const std::array<std::uint8_t, 12> create{13, 0, 0, 0, 4, 4, 12, 0, 0, 14, 8, 0};
    // The floating editors on a chest and an exit, a shopkeeper, an object, another exit.
    const std::array<std::uint8_t, 12> editors{0x21, 12, 16, 0x41, 20, 24,
                                               0x01, 8,  12, 0x61, 32, 4};
    seed(0x10, false, 0x03, edits, ScriptedMap(SyntheticImage::k4MB, Region::German, 0x10));
    seed(0x10, false, 0x10, save, ScriptedMap(SyntheticImage::k4MB, Region::German, 0x10));
    seed(0x123, false, 0x00, save, ScriptedMap(SyntheticImage::k6MB, Region::UK, 0x123));
    SyntheticImage unused = ScriptedMap(SyntheticImage::k6MB, Region::German, 0x10);
    unused.SetMapHeader(0x11, 2);
    seed(0x11, false, 0x00, create, unused);
    seed(0x10, false, 0x83, editors, ScriptedMap(SyntheticImage::k4MB, Region::German, 0x10));
    seed(0x10, true, 0x07, toggles, ScriptedMap(SyntheticImage::k4MB, Region::German, 0x10));
    seed(0x123, false, 0x0B, offsets, ScriptedMap(SyntheticImage::k6MB, Region::UK, 0x123));
    seed(0x20, false, 0x03, edits, ScriptedMap(SyntheticImage::k1MB, Region::ReleaseM, 0x20));
    seed(0x30, false, 0x00, toggles, ScriptedMap(SyntheticImage::k4MB, Region::Japanese, 0x30));
    seed(0x41, false, 0x03, edits, ExtraDataMap(0x41));
    seed(0x43, false, 0x06, offsets, ExtraDataMap(0x43));
    seed(0, false, 0x03, edits, MapZero(Region::German));
    seed(0, false, 0x00, toggles, MapZero(Region::Spanish));
    seed(2, false, 0x03, world, WorldMap(SyntheticImage::k4MB, Region::German, true));
    seed(5, false, 0x01, world, WorldMap(SyntheticImage::k6MB, Region::UK, true));
    seed(3, false, 0x03, world, WorldMap(SyntheticImage::k4MB, Region::German, false));
    seed(35, false, 0x02, world, WorldMap(SyntheticImage::k4MB, Region::Japanese, false));
}

// --- Sprites ---

void WriteSpriteSeeds(const fs::path& folder) {
    constexpr std::uint32_t kInfo = 0x100000;
    constexpr std::uint32_t kAnim = 0x110000;
    constexpr std::uint32_t kPalette = 0x120000;
    constexpr std::uint32_t kGraphics = 0x130000;
    constexpr std::uint32_t kPaletteOnly = 0x100100;
    constexpr std::uint32_t kFromTables = 0x100200;

    SyntheticImage image(SyntheticImage::k4MB, Region::German);
    const SyntheticImage::SpriteFrame frame = {
        {.large = true, .x = 0, .y = 0, .tile = 0x00, .mirrorX = true, .mirrorY = true},
        {.x = 18, .y = 0, .tile = 0x02},
        {.large = true, .x = 200, .y = 10, .tile = 0x0F}};
    const SyntheticImage::SpriteFrame small = {{.x = 1, .y = 2, .tile = 0x11}};
    image.PutSpriteInfo(kInfo, kAnim, kPalette, kGraphics);
    image.PutLzBlock(kAnim, SyntheticImage::SpriteAnimationData({{frame, small}, {small}}));
    image.PutSpritePalette(kPalette, Colours(16, 5));
    std::vector<std::string> sheet(16, std::string(128, '.'));
    sheet[0].replace(0, 24, "12.............377777777");
    sheet[8].replace(0, 16, "4..............5");
    sheet[15].replace(120, 8, "CCCCCCCC");
    image.PutLzBlock(kGraphics, SyntheticImage::SpriteTiles(sheet));

    // A record that names only a palette (word 9 = 0xFFFF), and one that takes both from the
    // pointer tables (bit 5 of byte 3, graphics byte 12).
    image.PutSpriteInfo(kPaletteOnly, kAnim, 0, 0);
    image.Put16(kPaletteOnly + 9, 0xFFFF);
    image.Put8(kPaletteOnly + 5, 2);
    image.PutSpriteInfo(kFromTables, kAnim, 0, 0);
    image.Put8(kFromTables + 3, 0x20);
    image.Put8(kFromTables + 5, 1);
    image.Put8(kFromTables + 12, 3);
    image.PutSpritePalettePointer(1, kPalette);
    image.PutSpritePalettePointer(2, kPalette + 2);
    image.PutSpriteGraphicsPointer(3, kGraphics);

    const auto prefix = [](std::uint32_t a, std::uint32_t b, std::uint8_t animation,
                           std::uint8_t frameIndex, std::int8_t x, std::int8_t y) {
        return Bytes{static_cast<std::uint8_t>(a),
                     static_cast<std::uint8_t>(a >> 8),
                     static_cast<std::uint8_t>(a >> 16),
                     static_cast<std::uint8_t>(b),
                     static_cast<std::uint8_t>(b >> 8),
                     static_cast<std::uint8_t>(b >> 16),
                     animation,
                     frameIndex,
                     static_cast<std::uint8_t>(x),
                     static_cast<std::uint8_t>(y)};
    };
    Write(folder, "plain", WithPrefix(prefix(kInfo, kPaletteOnly, 0, 0, 2, 1), image));
    Write(folder, "second", WithPrefix(prefix(kInfo, kFromTables, 1, 0, -3, 100), image));
    Write(folder, "tables", WithPrefix(prefix(kFromTables, 0xC00000 | kInfo, 0, 1, 0, 0), image));
}

// --- Title screen ---

void WriteTitleSeeds(const fs::path& folder) {
    // Block line, piece line, options, tile-set click, screen click.
    Write(folder, "german",
          WithPrefix({0, 1, 1, 45, 70, 16, 16}, TitleScreenProject(SyntheticImage::k4MB).image));
    Write(folder, "region5",
          WithPrefix({2, 0, 0, 127, 127, 255, 223},
                     TitleScreenProject(SyntheticImage::k1MB, Region::ReleaseM).image));
    Write(folder, "no-blocks",
          WithPrefix({1, 1, 0, 128, 3, 200, 224},
                     TitleScreenProject(SyntheticImage::k4MB, Region::ReleaseF).image));
}

// --- LZ blocks ---

Bytes Block(const Bytes& raw, const Bytes& stream) {
    Bytes out{0, static_cast<std::uint8_t>(raw.size()), static_cast<std::uint8_t>(raw.size() >> 8)};
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

void WriteLzSeeds(const fs::path& folder) {
    const std::vector<std::pair<std::string, Bytes>> raws = {
        {"tilemap", SampleTileMap(0x800, 1)},
        {"text", SampleText(0x600, 2)},
        {"counting", Counting(0x200, 3)},
        {"run", Bytes(0x400, 0x55)},
        {"planar", SyntheticImage::PlanarTiles(SolidTiles(16))},
    };
    for (const auto& [name, raw] : raws) {
        if (const auto stream = CompressData(raw)) {
            Write(folder, name, Block(raw, *stream));
        }
        Write(folder, name + "-literal", Block(raw, SyntheticImage::LiteralLzStream(raw)));
    }
}

// --- Game text ---

// Texts of both character sets that use every kind of element, inserted texts included.
void WriteTextSeeds(const fs::path& folder) {
    constexpr std::uint32_t kText = 0x130000;
    const Bytes western = {0xC4, 0x01, 0xDA, 0x28, 0x49, 0x6D, 0xCF, 0xD2, 0x07, 0xCD,
                           0x34, 0x12, 0xE5, 0x01, 0xE6, 0x00, 0xCC, 0x13, 0x00, 0x80,
                           0x70, 0x3B, 0xC6, 0x04, 0xC8, 0x05, 0xFF, 0xD5, 0xD3};
    const Bytes japanese = {0xC4, 0x00, 0xC2, 0x0A, 0x08, 0x0B, 0x0C, 0xC7, 0xFF,
                            0xC8, 0x05, 0x21, 0xD0, 0x21, 0x81, 0x23, 0xD1, 0x82,
                            0x10, 0xE6, 0x00, 0xCE, 0x00, 0x10, 0x02, 0x10, 0xD4};
    const Bytes inserted = {0x22, 0xD3};
    const auto prefix = [&](const std::u16string& text) {
        Bytes out{static_cast<std::uint8_t>(kText), static_cast<std::uint8_t>(kText >> 8),
                  static_cast<std::uint8_t>(kText >> 16), static_cast<std::uint8_t>(text.size())};
        for (const char16_t unit : text) {
            out.push_back(static_cast<std::uint8_t>(unit));
            out.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        return out;
    };
    const struct {
        Region region;
        std::uint32_t size;
        const Bytes& bytes;
        std::u16string text;
    } seeds[] = {{Region::German, SyntheticImage::k4MB, western, u"Hi!\\n{70}"},
                 {Region::Spanish, SyntheticImage::k4MB, western, u"Ab, c.?"},
                 {Region::Japanese, SyntheticImage::k4MB, japanese, u"!Ab 1\\w."},
                 {Region::ReleaseM, SyntheticImage::k1MB, japanese, u"\u00E4\u96E8"}};
    int n = 0;
    for (const auto& s : seeds) {
        SyntheticImage image(s.size, s.region);
        image.PutBytes(image.Wrap(kText), s.bytes);
        image.PutBytes(image.Wrap(0x138000), inserted);
        for (const auto list : {SyntheticImage::TextList::A, SyntheticImage::TextList::B}) {
            if (image.Table(list == SyntheticImage::TextList::A
                                ? RegionTable::TextInsertTableA
                                : RegionTable::TextInsertTableB) != 0) {
                image.PutInsertedText(list, 1, 0x9000, inserted);
                image.PutInsertedText(list, 0, 0x9010, inserted);
            }
        }
        Write(folder, "text" + std::to_string(n++), WithPrefix(prefix(s.text), image));
    }
}

// --- Script compiler ---

// Scripts that use every command, labels and texts, with and without header and RTL, in
// releases whose item messages differ.
void WriteCompileSeeds(const fs::path& folder) {
    const std::string every =
        "back:\nModifyEventFlag(0x8012, 4)\nEventFlagSetJump(0x12, 0x80, \"ahead\")\n"
        "SpriteSetPosition(1, 2, 3)\nPlayerPort(0x1234,2,3,4)\nSetBonepinWarp(1, 2, 3, 4)\n"
        "SetRespawnLocation(1,2,3,4,5,6,7,8)\nPrint16(\"Hi!\\nYes\")\nPrint24(1)\n"
        "WaitMessage\nOnTrigger(\"back\")\nUnknown_23(\"ahead\")\nSetObjectSolid\n"
        "BlockSetCollision(1,2,3)\nPlayMusic(0x1f)\nGotoPositionX(-1, 2, 3)\n"
        "EventFlagSetSkip(0xFFF, 3)\nGiveItem(0x42)\nDelItem(7)\n"
        "GiveItemPlayMusic(10, 0x200, 5)\nObjectMove(1,2,3)\nSetAnimationA(9)\nWaitAnimation\n"
        "WaitAnimation2\nObjectDelete\nSpriteSetFacingRight\nSpriteSetFacingLeft\n"
        "MarkOrigin\nDelay:30\nFightingStatsLoad(3)\nahead:\nasm(0xA9, 1, 0x60)\n";
    const struct {
        std::uint8_t flags;
        std::uint32_t address;
        std::string text;
        Region region;
    } seeds[] = {
        {0, 0x1086E2, every, Region::German},
        {1, 0xC0FFA0, every, Region::Japanese},
        {3, 0x3FFFF0, "Delay(30)\r\nDelay(1)", Region::UK},
        {2, 0x1086E2, "Print16(\"!ab.c\")\nGiveItem(2)", Region::ReleaseM},
    };
    int n = 0;
    for (const auto& seed : seeds) {
        const SyntheticImage image(SyntheticImage::k4MB, seed.region);
        Bytes prefix{seed.flags,
                     static_cast<std::uint8_t>(seed.address),
                     static_cast<std::uint8_t>(seed.address >> 8),
                     static_cast<std::uint8_t>(seed.address >> 16),
                     static_cast<std::uint8_t>(seed.text.size()),
                     static_cast<std::uint8_t>(seed.text.size() >> 8)};
        prefix.insert(prefix.end(), seed.text.begin(), seed.text.end());
        Write(folder, "compile" + std::to_string(n++), WithPrefix(prefix, image));
    }
}

// --- Scripts ---

// A script of commands and 65816 code at 0x0A8000 in a 1 MB image; the seeds walk it from its
// start, with and without the flags header, and from inside it.
void WriteScriptSeeds(const fs::path& folder) {
    SyntheticImage image(SyntheticImage::k1MB, Region::German);
    const Bytes script{0x11, 0x22, 0x33, 0x44, 0x55,  // flags header
                       0x02, 0x07, 0x09, 0x80, 0xC2, 0x20, 0xCD, 0x34, 0x12, 0xC2, 0x20, 0xD0, 0x04,
                       0x20, 0x00, 0x90, 0x60, 0xE2, 0x20, 0xA9, 0x05, 0x10, 0x02, 0x02, 0x09, 0x09,
                       0x80, 0x34, 0x12, 0x02, 0x22, 0x01, 0x02, 0x11, 0x11, 0x22, 0x22, 0x02, 0x1A,
                       0x00, 0x00, 0x90, 0,    0,    0,    0,    0,    0,    0x02, 0xD9, 0x03, 0x02,
                       0x1B, 0x34, 0x12, 0x02, 0x00, 0x00, 0x80, 0x0A, 0x02, 0x01};
    image.PutBytes(0x0A8000, script);
    image.PutBytes(0x0A9000, Bytes{0x11, 0x11, 0x22, 0x22, 0x33, 0x33});
    Write(folder, "header", WithPrefix({0x00, 0x80, 0x0A, 0x03}, image));
    Write(folder, "plain", WithPrefix({0x05, 0x80, 0x8A, 0x04}, image));
    Write(folder, "inside", WithPrefix({0x09, 0x80, 0x0A, 0x00}, image));
}

void WriteMapListingSeeds(const fs::path& folder) {
    SyntheticImage image = ScriptedMap(SyntheticImage::k4MB, Region::German, 0x10);
    image.PutObjectList(0x10, SyntheticImage::ObjectBank::A, 0x9000,
                        ObjectListBytes()
                            .Head(0x0312)
                            .Object(0x00, 1, 2, 3, 0x0A8000, 0x0A9000)
                            .Object(0x01, 4, 5, 0xFF, 0x0A8000, 0)
                            .Long(1)
                            .Long(2)
                            .Call2(0x8001, 2, 0x9100)
                            .PlayerSpawn(1, 2, 3, 0x0A8000)
                            .Raw({0xF0, 1, 2, 3, 4, 5, 6, 0xFB, 1, 2, 3, 4, 0xFE, 1, 2, 3, 4, 3})
                            .End());
    image.PutObjectBytes(SyntheticImage::ObjectBank::A, 0x9100,
                         ObjectListBytes().Call(0, 0x9100).Object(0x81, 1, 1, 0xC0, 0, 0).End());
    Write(folder, "map", WithPrefix({0x10, 0x00}, image));
}

// --- The free-area survey of File > New ---

// 6 MB images with scripts and blocks in the free area: maps saved by this editor (with the table
// copy that their saves left), scripts that maps share, call pieces of, loop in, and a copy
// whose one entry claims the whole area.
void WriteFreeAreaSeeds(const fs::path& folder) {
    constexpr std::uint32_t kArea = 0x428000;
    constexpr std::uint32_t kBlocks = 0x438000;
    const auto blocks = [](SyntheticImage& image) {
        image.PutLayerBlock(kBlocks, 512, 256, SyntheticImage::LayerMap(32, 16, [](auto x, auto) {
                                return x % 3;
                            }));
        image.PutLzBlock(kBlocks + 0x800, SyntheticImage::PlanarTiles(SolidTiles(8)));
        image.PutLzBlock(kBlocks + 0xC00, Counting(0x100, 1));
        image.PutPalette(kBlocks + 0xE00, Colours(32, 3));
    };

    SyntheticImage saved(SyntheticImage::k6MB, Region::German);
    blocks(saved);
    saved.SetScriptPiece(1, kArea + 0x100);
    saved.SetScriptPiece(2, kArea + 0x180);
    HeaderScriptWriter(saved, kArea)
        .MusicTrack(4)
        .Palette(32, 0, kBlocks + 0xE00)
        .Tiles(1, 0, kBlocks + 0x800, 0)
        .Metatiles(0, 4, 0, 0x01, kBlocks + 0xC00)
        .Metatiles(0, 1, 0, 0x80, kBlocks + 0xC00)
        .Call(1)
        .FlagGoto(7, 2)
        .Layer(2, kBlocks)
        .End();
    HeaderScriptWriter(saved, kArea + 0x100).Layer(1, kBlocks).Return();
    HeaderScriptWriter(saved, kArea + 0x180).Tiles(2, 255, kBlocks + 0x800, 0).Defer(1).End();
    for (const std::uint32_t id : {0x10u, 0x11u, 0x123u}) {
        saved.SetMapHeader(id, kArea);
    }
    ProjectContext project;
    ImportRom(project, saved.Bytes());
    RecordUsedFreeArea(project);
    WriteAllocTableCopy(project);
    saved.PutBytes(kAllocTableCopyOffset,
                   std::span(project.romImage).subspan(kAllocTableCopyOffset,
                                                       kAllocEntryCount * sizeof(AllocEntry)));
    Write(folder, "saved", DescribeFuzzImage(saved.Bytes()));

    // Maps at one looping script that names a 16 KB layer, and maps at scripts of their own
    // that run into it.
    SyntheticImage loop(SyntheticImage::k6MB, Region::UK);
    blocks(loop);
    loop.PutLayerBlock(kBlocks, 2048, 1024,
                       SyntheticImage::LayerMap(128, 64, [](auto x, auto y) { return x * y; }));
    loop.SetScriptPiece(0, kArea);
    HeaderScriptWriter(loop, kArea).Layer(1, kBlocks).GotoUnlessCalled(0);
    for (std::uint32_t id = 0x10; id < 0x30; ++id) {
        const std::uint32_t own = kArea + 0x10 * id;
        HeaderScriptWriter(loop, own).Call(1).GotoUnlessCalled(0);
        loop.SetMapHeader(id, id % 2 == 0 ? kArea : own);
    }
    loop.SetScriptPiece(1, kArea + 0x20);
    HeaderScriptWriter(loop, kArea + 0x20).Palette(16, 16, kBlocks + 0xE00).Return();
    Write(folder, "loop", DescribeFuzzImage(loop.Bytes()));

    // A copy whose one entry covers the free area, tagged with a map-header entry that names
    // the area's start.
    SyntheticImage claimed = saved;
    claimed.SetMapHeader(0x12, kAllocBase);
    const std::uint32_t tag = claimed.Table(RegionTable::MapHeaderPointerTable) + 3 * 0x12;
    AllocTable whole{};
    whole[0] = {kAllocBase, kAllocLimit - kAllocBase, tag};
    claimed.PutBytes(kAllocTableCopyOffset, AllocTableBytes(whole));
    Write(folder, "claimed", DescribeFuzzImage(claimed.Bytes()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_ROOT\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    int n = 0;
    for (const SyntheticImage& image : RomImages()) {
        const auto description = DescribeFuzzImage(image.Bytes());
        const std::string name = "seed" + std::to_string(n++);
        Write(root / "rom_import", name, description);

        // A project file: its header's first 64 bytes, then the image description.
        ProjectContext project;
        ImportRom(project, image.Bytes());
        auto header = ProjectHeaderBytes(project);
        Bytes input{1};
        input.insert(input.end(), header.begin(), header.begin() + 64);
        input.insert(input.end(), description.begin(), description.end());
        Write(root / "project_file", name, input);
    }
    // A bare old-form header, as the whole file.
    const Bytes old{0, 'Q', 'u', 'M', 'k', 5, 0, 0, 0, 0, 0, 0x10, 0};
    Write(root / "project_file", "old-form", old);

    WriteMapSeeds(root / "map_load");
    WriteSpriteSeeds(root / "sprite");
    WriteLzSeeds(root / "lz");
    WriteTextSeeds(root / "text");
    WriteScriptSeeds(root / "script");
    WriteCompileSeeds(root / "compile");
    WriteTitleSeeds(root / "title_screen");
    WriteMapListingSeeds(root / "map_listing");
    WriteFreeAreaSeeds(root / "free_area_survey");
    return 0;
}
