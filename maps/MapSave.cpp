// Writing the map object back into the image: world maps in place, every other map as new data
// blocks with a new header script.
#include <algorithm>
#include <span>
#include <vector>

#include "maps/MapDataBlocks.h"
#include "maps/MapHeaderTable.h"
#include "maps/MapRenderer.h"
#include "maps/MapScriptBuilder.h"
#include "maps/WorldMapLayout.h"
#include "project/ProjectContext.h"

namespace {

constexpr const char* kNoMapText = "Please load a map first.";
constexpr const char* kNoExtendedRomText = "An extended ROM is required to add new Maps.";
// The compressor's own refusal, as the layer save reports it.
constexpr const char* kCompressFailedText = "Decompress failed(2)";
constexpr const char* kTilesTooLargeText = "The map's tile data is too large to save.";

// A tile command copies (units << 9) & 0xFFFF bytes, so at most 0x7F units of 512 bytes; tile
// data beyond that goes into a second command placed at 0xA000 (placement byte 0x50), the
// highest place a command can name. Loading never makes more than those two can hold.
constexpr std::uint32_t kTileUnit = 0x200;
constexpr std::uint32_t kDefaultTileUnits = 0x20;
constexpr std::uint32_t kMaxTileUnits = 0x7F;
constexpr std::uint32_t kUpperTileOffset = 0xA000;
constexpr std::uint8_t kUpperTilePlacement = 0x50;
// A metatile command copies up to 0xFF units of 64 bytes, which holds every metatile a cell
// can name (1024 of 8 bytes); the builder's default is 0x40 units.
constexpr std::uint32_t kMetatileUnit = 64;
constexpr std::uint32_t kDefaultMetatileUnits = 0x40;
constexpr std::uint32_t kMaxMetatileUnits = 0xFF;
constexpr std::uint32_t kPaletteFirstColor = 16;  // row 0 always comes from the default row

std::uint32_t RoundUp(std::uint32_t value, std::uint32_t unit) {
    return (value + unit - 1) / unit * unit;
}

// `count` bytes of buffer from offset on, zero where the buffer ends.
std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& buffer, std::uint32_t offset,
                                std::uint32_t count) {
    std::vector<std::uint8_t> out(count, 0);
    CopyClipped(out, 0, buffer, offset, count);
    return out;
}

// Tiles, in whole units, so that the commands' copies reload all of them.
const char* AddTiles(const MapRenderer& map, MapScriptBuilder& builder) {
    const auto tileBytes =
        static_cast<std::uint32_t>(std::min<std::size_t>(map.tileDataSize, map.tileData.size()));
    if (tileBytes > kUpperTileOffset + kMaxTileUnits * kTileUnit) {
        return kTilesTooLargeText;
    }
    if (tileBytes == 0) {
        return nullptr;
    }
    struct Part {
        std::uint32_t offset;
        std::uint32_t bytes;
        std::uint8_t placement;
    };
    std::vector<Part> parts;
    if (tileBytes <= kMaxTileUnits * kTileUnit) {
        parts.push_back({0, tileBytes, 0});
    } else {
        parts.push_back({0, kUpperTileOffset, 0});
        parts.push_back({kUpperTileOffset, tileBytes - kUpperTileOffset, kUpperTilePlacement});
    }
    for (const Part& part : parts) {
        const std::uint32_t stored = RoundUp(part.bytes, kTileUnit);
        auto block = CompressMapData(Slice(map.tileData, part.offset, stored));
        if (!block) {
            return kCompressFailedText;
        }
        const std::uint32_t units = stored / kTileUnit;
        block->units = static_cast<std::uint8_t>(
            parts.size() == 1 ? std::max(units, kDefaultTileUnits) : units);
        block->slot = part.placement;
        builder.tiles.push_back(std::move(*block));
    }
    return nullptr;
}

// Layers and metatile tables keep their numbers: a map with layer 1 alone saves it as layer 1.
const char* AddLayersAndTables(const MapRenderer& map, MapScriptBuilder& builder) {
    for (std::uint8_t k = 0; k < 2; ++k) {
        if (map.layerMap[k].empty()) {
            continue;
        }
        auto block = CompressMapData(map.layerMap[k]);
        if (!block) {
            return kCompressFailedText;
        }
        builder.AddLayerBlock(std::move(*block), k, LayerUnits(map.layerWidth[k]),
                              LayerUnits(map.layerHeight[k]));
    }
    for (std::uint8_t k = 0; k < 2; ++k) {
        const auto filled = static_cast<std::uint32_t>(
            std::min<std::size_t>(map.metatileTableSizes[k], map.metatileTables[k].size()));
        if (filled == 0) {
            continue;
        }
        const std::uint32_t stored =
            std::min(RoundUp(filled, kMetatileUnit), kMaxMetatileUnits * kMetatileUnit);
        auto block = CompressMapData(Slice(map.metatileTables[k], 0, stored));
        if (!block) {
            return kCompressFailedText;
        }
        block->units =
            static_cast<std::uint8_t>(std::max(stored / kMetatileUnit, kDefaultMetatileUnits));
        block->slot = k;
        builder.metatileBlocks.push_back(std::move(*block));
    }
    return nullptr;
}

// Every block of the map object; the text of the refusal when one cannot be stored.
const char* AddBlocks(const MapRenderer& map, MapScriptBuilder& builder) {
    if (const char* refused = AddTiles(map, builder)) {
        return refused;
    }
    if (const char* refused = AddLayersAndTables(map, builder)) {
        return refused;
    }
    const auto collisionBytes =
        static_cast<std::uint32_t>(std::min<std::size_t>(map.collisionSize, map.collision.size()));
    if (collisionBytes != 0) {
        auto block = CompressMapData(std::span(map.collision).first(collisionBytes));
        if (!block) {
            return kCompressFailedText;
        }
        builder.collisionBlocks.push_back(std::move(*block));
    }
    MapDataBlock palette;
    for (std::size_t i = kPaletteFirstColor; i < map.snesPalette.size(); ++i) {
        palette.data.push_back(static_cast<std::uint8_t>(map.snesPalette[i]));
        palette.data.push_back(static_cast<std::uint8_t>(map.snesPalette[i] >> 8));
    }
    palette.rawSize = palette.storedSize = static_cast<std::uint32_t>(palette.data.size());
    builder.palettes.push_back(std::move(palette));
    return nullptr;
}

}  // namespace

MapSaveResult MapRenderer::SaveToRom(std::uint32_t mapId, std::uint32_t spcTrack) {
    if (const WorldMapLayout* layout = WorldMapLayoutOf(mapId)) {
        return SaveWorldMap(*layout);
    }
    return SaveWithNewHeaderScript(mapId, spcTrack);
}

MapSaveResult MapRenderer::SaveWorldMap(const WorldMapLayout& layout) {
    ProjectContext& project = Project();
    if (const auto problem = WorldMapTileMapProblem(project, layout)) {
        return MapSaveResult::Refused(*problem);
    }
    // A map object that holds a smaller map has nothing to fill the blocks with.
    if (layerMap[0].size() < layout.TileMapBytes()) {
        return MapSaveResult::Refused(kNoMapText);
    }
    const std::span<const std::uint8_t> map(layerMap[0]);
    for (std::size_t k = 0; k < layout.blockCount; ++k) {
        project.WriteBytes(project.Table(layout.tileMapBlocks[k]),
                           map.subspan(k * layout.blockBytes, layout.blockBytes));
    }
    return {};
}

MapSaveResult MapRenderer::SaveWithNewHeaderScript(std::uint32_t mapId, std::uint32_t spcTrack) {
    ProjectContext& project = Project();
    if (mapId >= MapHeaderEntryCount(project)) {
        return MapSaveResult::Refused(MapIdRangeText(project));
    }
    if (!project.Is6MB()) {
        return MapSaveResult::Refused(kNoExtendedRomText);
    }
    if (layerMap[0].empty() && layerMap[1].empty()) {
        return MapSaveResult::Refused(kNoMapText);
    }

    MapScriptBuilder builder;
    if (const char* refused = AddBlocks(*this, builder)) {
        return MapSaveResult::Refused(refused);
    }
    builder.spcTrack = spcTrack;

    const MapSaveResult written = builder.Emit(project, MapHeaderEntryOffset(project, mapId));
    if (!written.saved) {
        return written;
    }

    // The object now describes the map as a load of it would, so later layer saves find its
    // blocks and its music.
    layerSource = {};
    layerPointerPos = {};
    for (const MapDataBlock& layer : builder.layers) {
        layerSource[layer.slot] = layer.address + 2;
        layerPointerPos[layer.slot] = layer.pointerPos;
    }
    tileSource = builder.tiles.empty() ? 0 : builder.tiles.front().address;
    metatileSource = builder.metatileBlocks.empty() ? 0 : builder.metatileBlocks.front().address;
    collisionSource = builder.collisionBlocks.empty() ? 0 : builder.collisionBlocks.front().address;
    paletteSource = builder.palettes.front().address;
    mapMusicTrack = builder.spcTrack;
    mapMusicTrackPos = builder.spcTrackPos;
    builder.Clear();
    return {};
}
