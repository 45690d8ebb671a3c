#include "maps/LayerSave.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "maps/MapDataBlock.h"
#include "maps/MapRenderer.h"
#include "maps/MapScriptBuilder.h"
#include "maps/ScriptPointer.h"
#include "project/Allocator.h"
#include "project/LzCodec.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kLayerHeadBytes = 5;  // width, height, LZ head byte, raw size

std::string TooLargeText(std::uint32_t layer, std::uint32_t excess) {
    char text[96];
    std::snprintf(text, sizeof text,
                  "New map data of layer %u is %u bytes too large, can't save new map!", layer,
                  excess);
    return text;
}

// Moves the layer into a new block of the free area and turns its pointer there. A block that
// this layer got from an earlier relocation is released first, so that the new one may take
// its place; on any refusal the table is put back as it was.
MapSaveResult Relocate(MapRenderer& map, std::uint32_t layer, const MapDataBlock& block) {
    ProjectContext& project = map.Project();
    const std::uint32_t pointerPos = map.layerPointerPos[layer];
    std::array<std::uint32_t, 3> pointerBytes{};
    for (std::uint32_t i = 0; i < 3; ++i) {
        pointerBytes[i] = project.WrapRomOffset(pointerPos + i);
        if (pointerPos == 0 || pointerBytes[i] >= project.romImage.size()) {
            return MapSaveResult::Refused(kUnreachableText);
        }
    }

    if (project.freeAreaUnrecordable) {
        return MapSaveResult::Refused(std::string(kUnrecordableAreaText) + "\nNothing was saved.");
    }
    const AllocTable before = project.allocTable;
    FreeRomSpace(project, pointerPos);
    const std::uint32_t size = kLayerHeadBytes + block.storedSize;
    const std::uint32_t address =
        AllocRomSpace(project, size, pointerPos, 0, ReachableBankHalf(pointerPos));
    if (address == 0) {
        project.allocTable = before;
        return MapSaveResult::Refused(kNoRoomText);
    }
    if (!ScriptPointerReaches(pointerPos, address) ||
        !InRange(project.romImage.size(), address, size)) {
        project.allocTable = before;
        return MapSaveResult::Refused(kUnreachableText);
    }

    const std::uint32_t value = EncodeScriptPointer(pointerPos, address);
    for (std::uint32_t i = 0; i < 3; ++i) {
        project.Write8(pointerBytes[i], value >> (8 * i));
    }
    // The block's LZ head byte is left as the free area has it; the decoder never reads it.
    project.Write8(address, LayerUnits(map.layerWidth[layer]));
    project.Write8(address + 1, LayerUnits(map.layerHeight[layer]));
    project.Write16(address + 3, block.rawSize);
    project.WriteBytes(address + kLayerHeadBytes, block.data);
    WriteAllocTableCopy(project);
    map.layerSource[layer] = address + 2;
    return {};
}

}  // namespace

MapSaveResult SaveEditedLayer(MapRenderer& map, std::uint32_t layer) {
    if (layer > 1 || map.layerMap[layer].empty()) {
        // With the other layer there, a map is loaded; only the edited layer is missing.
        if (layer <= 1 && !map.layerMap[1 - layer].empty()) {
            return MapSaveResult::Refused("This map has no layer " + std::to_string(layer) +
                                          ", so there is nothing of it to save.");
        }
        return MapSaveResult::Refused("Please load a map first.");
    }
    ProjectContext& project = map.Project();
    // The old block is decoded only for the length of its stream.
    std::uint32_t rawSize = 0;
    std::uint32_t oldLength = 0;
    if (map.layerSource[layer] == 0 ||
        !UncompressData(project, map.layerSource[layer], rawSize, &oldLength)) {
        return MapSaveResult::Refused("Decompress failed(1)");
    }
    const std::optional<MapDataBlock> block = CompressMapData(map.layerMap[layer]);
    if (!block) {
        return MapSaveResult::Refused("Decompress failed(2)");
    }
    if (block->storedSize <= oldLength) {
        // Where the decoder found the old stream: behind the raw size, itself found through
        // the address rule.
        const std::uint32_t stream = project.WrapRomOffset(map.layerSource[layer] + 1) + 2;
        project.WriteBytes(stream, block->data);
        return {};
    }
    if (!project.Is6MB()) {
        return MapSaveResult::Refused(TooLargeText(layer, block->storedSize - oldLength));
    }
    return Relocate(map, layer, *block);
}

void ApplyMusicTrack(MapRenderer& map, std::uint32_t track) {
    if (map.mapMusicTrack == 0) {
        return;
    }
    map.mapMusicTrack = track;
    if (map.mapMusicTrackPos != 0) {
        ProjectContext& project = map.Project();
        project.Write8(project.WrapRomOffset(map.mapMusicTrackPos), track & 0xFF);
    }
}
