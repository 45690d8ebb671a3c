#pragma once

#include <cstdint>
#include <vector>

#include "maps/MapDataBlock.h"
#include "maps/MapSaveResult.h"

class ProjectContext;

// Assembles the header script of a map that is saved whole, and writes it with its data blocks
// into the free area of a 6 MB image. One builder serves one save.
//
// Blocks in the image: a layer block is width / 256, height / 256, then an LZ block (0x00, raw
// size u16, stream); tiles, metatile tables and collision are LZ blocks; the palette is 480 raw
// bytes, the colours of rows 1 to 15. Each block is allocated under the position of the script
// pointer that designates it, the script under the map's header entry.
class MapScriptBuilder {
public:
    MapScriptBuilder() = default;

    std::vector<MapDataBlock> layers;           // in layer order, numbered by their slot
    std::vector<MapDataBlock> tiles;            // the first is placed at slot 0
    std::vector<MapDataBlock> metatileBlocks;   // numbered by their table
    std::vector<MapDataBlock> collisionBlocks;  // the first only is written
    std::vector<MapDataBlock> palettes;         // the first only is written
    std::uint32_t spcTrack = 0;                 // music of the new map; 0: no music command

    // Set by Emit: the script's image offset, the bytes written so far, its size, and the
    // script position of the music track's operand (0: none).
    std::uint32_t script = 0;
    std::uint32_t writePos = 0;
    std::uint32_t length = 0;
    std::uint32_t spcTrackPos = 0;

    void AddLayerBlock(MapDataBlock block, std::uint8_t layer, std::uint8_t widthUnits,
                       std::uint8_t heightUnits);

    // The size of the script that Emit writes.
    std::uint32_t ScriptLength() const;

    // Allocates the script and every block, writes them and points the header entry (an image
    // offset) at the script; "mscript.bin" gets the script without its final 00. When any
    // allocation fails or a block cannot be reached from its pointer, the allocation table is
    // restored and nothing is written.
    MapSaveResult Emit(ProjectContext& project, std::uint32_t headerEntry);

    // Empties the lists.
    void Clear();
};

inline constexpr const char* kNoRoomText =
    "There is not enough free space in the extended ROM to save this map.";
inline constexpr const char* kUnreachableText =
    "The new map data can't be reached from the map's header script.";
