// Loading a map into the map object: the header-script path, map 0, the two world maps and
// the blank template of a new map.
#include <array>
#include <span>
#include <vector>

#include "maps/HeaderScriptRunner.h"
#include "maps/LayerBitmap.h"
#include "maps/MapDataBlocks.h"
#include "maps/MapHeaderTable.h"
#include "maps/MapRenderer.h"
#include "maps/WorldMapLayout.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kMapZero = 0;

// Fixed image offsets of the extra data that maps 0x41 to 0x44 take after their script.
constexpr std::uint32_t kExtraMetatilesAddress = 0x2FC000;  // maps 0x42 to 0x44
constexpr std::uint32_t kExtraTilesAddress = 0x235DD5;
constexpr std::uint32_t kExtraPaletteAddress = 0x33E489;  // rows 1 to 15

// Fixed image offsets of the blank template of a new map, the same for every release.
constexpr std::uint32_t kBlankTilesAddress = 0x130000;
constexpr std::uint32_t kBlankMetatilesAddress = 0x144B3D;
constexpr std::uint32_t kBlankCollisionAddress = 0x1A4EA5;
constexpr std::uint32_t kBlankPaletteAddress = 0x1A4077;  // rows 2 to 7
constexpr std::uint32_t kBlankLowRowsAddress = 0x349110;  // rows 0 and 1
constexpr std::uint32_t kBlankLayerBytes = 0x2800;
constexpr std::uint32_t kBlankLayerPixels = 1024;

const char* const kDecompressionErrorText =
    "Unrecoverable decompression error.\nSave your work and restart the editor!";

// Raises the object's walk count for the duration of a load.
class DepthGuard {
public:
    explicit DepthGuard(MapRenderer& map) : map_(map) { ++map_.depth; }
    ~DepthGuard() { --map_.depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    MapRenderer& map_;
};

void AllocateScriptBuffers(MapRenderer& map) {
    map.tileData.assign(kTileDataBytes, 0);
    for (auto& table : map.metatileTables) {
        table.assign(kMetatileTableBytes, 0);
    }
    map.tileDataSize = 0;
    map.collision.assign(kCollisionEntries, 0);
}

}  // namespace

MapLoadResult MapRenderer::Load(std::uint32_t mapId, std::uint32_t& layer0WidthTiles,
                                std::uint32_t& layer1WidthTiles, bool skipFlagGotos) {
    layer0WidthTiles = 0;
    layer1WidthTiles = 0;
    if (const WorldMapLayout* layout = WorldMapLayoutOf(mapId)) {
        return LoadWorldMap(mapId, *layout, layer0WidthTiles);
    }

    ProjectContext& project = Project();
    const std::uint32_t start =
        ReadScriptPosition(project, project.Table(RegionTable::MapHeaderPointerTable) + 3 * mapId);
    if (start == kNoMapHeader) {
        return {MapLoadStatus::NoMap, {}};
    }
    if (mapId == kMapZero && !HasMapZeroData()) {
        return {MapLoadStatus::NoData, "This release has no data for map 0."};
    }

    DepthGuard walk(*this);
    cursor = start;
    tileSetType = 0;
    paletteSource = 0;
    layerSource = {};
    layerPointerPos = {};
    tileNumberOffset = {};
    tileSource = 0;
    metatileSource = 0;
    collisionSource = 0;
    AllocateScriptBuffers(*this);

    if (mapId == kMapZero) {
        LoadMapZero(layer0WidthTiles);
        return {};
    }

    HeaderScriptRunner(*this, skipFlagGotos).Run();
    LoadExtraData(mapId);
    RenderLayers(&layer0WidthTiles, &layer1WidthTiles);
    ExportLayerBitmap(layerImages, layer0Priority, mapId);
    return {};
}

bool MapRenderer::HasMapZeroData() const {
    const ProjectContext& project = Project();
    return project.Table(RegionTable::MapZeroExtraTableA) != 0 &&
           project.Table(RegionTable::MapZeroExtraTableB) != 0 &&
           project.Table(RegionTable::MapZeroExtraTableC) != 0 &&
           project.Table(RegionTable::MapZeroExtraTableD) != 0;
}

void MapRenderer::LoadMapZero(std::uint32_t& layer0WidthTiles) {
    const ProjectContext& project = Project();
    const auto tiles =
        DecodeMapBlockInto(project, project.Table(RegionTable::MapZeroExtraTableA), tileData);
    if (!tiles) {
        return;
    }
    tileDataSize = *tiles;
    const auto metatiles = DecodeMapBlockInto(
        project, project.Table(RegionTable::MapZeroExtraTableB), metatileTables[0]);
    if (!metatiles) {
        return;
    }
    metatileTableSizes[0] = *metatiles;
    ConvertPlanarTiles(std::span(tileData).first(tileDataSize));
    auto map = DecodeMapBlock(project, project.Table(RegionTable::MapZeroExtraTableC));
    if (!map) {
        return;
    }
    layerMap[0] = std::move(*map);
    layerWidth[0] = 0x200;
    layerHeight[0] = 0x100;
    LoadPalette256(project.Table(RegionTable::MapZeroExtraTableD) - 0x20);
    LoadPaletteRow(project.Table(RegionTable::DefaultMapPaletteTable), 0);
    BuildLayerImage(layerMap[0], metatileTables[0], 0x40, 0x20, 0, tileNumberOffset[0]);
    layer0WidthTiles = 0x40;
}

void MapRenderer::LoadExtraData(std::uint32_t mapId) {
    if (mapId < 0x41 || mapId > 0x44) {
        return;
    }
    const ProjectContext& project = Project();
    if (mapId != 0x41) {
        const auto size = DecodeMapBlockInto(project, kExtraMetatilesAddress, metatileTables[0]);
        if (!size) {
            return;
        }
        metatileTableSizes[0] = *size;
    }
    const auto size = DecodeMapBlockInto(project, kExtraTilesAddress, tileData);
    if (!size) {
        return;
    }
    tileDataSize = *size;
    LoadPaletteRow(project.Table(RegionTable::DefaultMapPaletteTable), 0);
    for (std::uint32_t row = 1; row < 16; ++row) {
        LoadPaletteRow(kExtraPaletteAddress + 32 * (row - 1), row);
    }
}

MapLoadResult MapRenderer::LoadWorldMap(std::uint32_t mapId, const WorldMapLayout& source,
                                        std::uint32_t& layer0WidthTiles) {
    const ProjectContext& project = Project();
    const auto blocks = std::span(source.tileMapBlocks).first(source.blockCount);

    // A release without these tables, or whose tile map lies beyond its image (the 1 MB
    // release), has no world map to show.
    for (const RegionTable table : {source.metatiles, source.tiles, source.palette}) {
        if (project.Table(table) == 0) {
            return {MapLoadStatus::NoData, kNoWorldMapDataText};
        }
    }
    if (const auto problem = WorldMapTileMapProblem(project, source)) {
        return {MapLoadStatus::NoData, *problem};
    }

    layerMap[0].assign(source.mapBytes, 0);
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        CopyClipped(layerMap[0], k * source.blockBytes, project.Image(), project.Table(blocks[k]),
                    source.blockBytes);
    }
    auto metatiles = DecodeMapBlock(project, project.Table(source.metatiles));
    metatileTables[0] = metatiles ? std::move(*metatiles) : std::vector<std::uint8_t>{};
    metatileTableSizes[0] = static_cast<std::uint32_t>(metatileTables[0].size());
    auto tiles = DecodeMapBlock(project, project.Table(source.tiles));
    linearTiles = tiles ? std::move(*tiles) : std::vector<std::uint8_t>{};
    LoadPalette256(project.Table(source.palette));
    if (!metatiles || !tiles) {
        return {MapLoadStatus::DecompressionError, kDecompressionErrorText};
    }

    tileSetType = kTileSetLinear;
    CopyLinearTiles(linearTiles);
    layer0WidthTiles = source.widthTiles;
    BuildWorldMapImage(layerMap[0], metatileTables[0], source.widthTiles, source.widthTiles);
    ExportLayerBitmap(layerImages, layer0Priority, mapId);
    return {};
}

bool MapRenderer::HasBlankTemplate(const ProjectContext& project) {
    return DecodeMapBlock(project, kBlankTilesAddress) &&
           DecodeMapBlock(project, kBlankMetatilesAddress) &&
           DecodeMapBlock(project, kBlankCollisionAddress);
}

void MapRenderer::CreateBlank() {
    const ProjectContext& project = Project();
    paletteSource = 0;
    layerSource = {};
    tileSource = 0;
    metatileSource = 0;
    collisionSource = 0;
    AllocateScriptBuffers(*this);

    for (std::uint32_t layer = 0; layer < 2; ++layer) {
        layerWidth[layer] = kBlankLayerPixels;
        layerHeight[layer] = kBlankLayerPixels;
        layerMap[layer].assign(kBlankLayerBytes, 0);
    }

    if (const auto size = DecodeMapBlockInto(project, kBlankTilesAddress, tileData)) {
        tileDataSize = *size;
    }
    for (std::uint32_t table = 0; table < 2; ++table) {
        if (const auto size =
                DecodeMapBlockInto(project, kBlankMetatilesAddress, metatileTables[table])) {
            metatileTableSizes[table] = *size;
        }
    }
    // The collision table keeps its 512 entries, whatever the block's size.
    if (const auto size = DecodeMapBlockInto(project, kBlankCollisionAddress, collision)) {
        collisionSize = *size;
    }

    LoadPaletteRow(project.Table(RegionTable::DefaultMapPaletteTable), 0);
    paletteSource = kBlankPaletteAddress;
    for (std::uint32_t row = 2; row <= 7; ++row) {
        LoadPaletteRow(kBlankPaletteAddress + 32 * (row - 2), row);
    }
    for (std::uint32_t row = 0; row <= 1; ++row) {
        LoadPaletteRow(kBlankLowRowsAddress + 32 * row, row);
    }
    RenderLayers();
}
