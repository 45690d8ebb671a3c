#include "maps/MapScriptBuilder.h"

#include <array>
#include <span>

#include "maps/ScriptPointer.h"
#include "platform/Files.h"
#include "project/Allocator.h"
#include "project/ProjectContext.h"

namespace {

constexpr std::uint32_t kLayerCommandBytes = 5;
constexpr std::uint32_t kTileCommandBytes = 9;
constexpr std::uint32_t kPaletteCommandBytes = 7;
constexpr std::uint32_t kMetatileCommandBytes = 8;
constexpr std::uint32_t kMusicCommandBytes = 4;

// A block's head in front of its data.
struct BlockHead {
    std::array<std::uint8_t, 5> bytes{};
    std::size_t size = 0;
};

BlockHead LzHead(const MapDataBlock& block) {
    return {{0x00, static_cast<std::uint8_t>(block.rawSize),
             static_cast<std::uint8_t>(block.rawSize >> 8)},
            3};
}

BlockHead LayerHead(const MapDataBlock& block) {
    return {{block.widthUnits, block.heightUnits, 0x00, static_cast<std::uint8_t>(block.rawSize),
             static_cast<std::uint8_t>(block.rawSize >> 8)},
            5};
}

// A block placed by Emit, written once everything has its place.
struct PlacedBlock {
    const MapDataBlock* block;
    BlockHead head;
};

// Writes the script into a buffer while placing each block that a pointer designates.
class ScriptWriter {
public:
    ScriptWriter(ProjectContext& project, MapScriptBuilder& builder)
        : project_(project), builder_(builder) {
        bytes_.reserve(builder.length);
    }

    void Bytes(std::initializer_list<std::uint8_t> values) {
        bytes_.insert(bytes_.end(), values);
        builder_.writePos = static_cast<std::uint32_t>(bytes_.size());
    }

    // Allocates the block under the pointer's position, in the half of a bank that the
    // pointer reaches, and writes the pointer. False when that fails.
    bool Pointer(MapDataBlock& block, BlockHead head) {
        const std::uint32_t pointerPos = builder_.script + builder_.writePos;
        const std::uint32_t address =
            AllocRomSpace(project_, static_cast<std::uint32_t>(head.size + block.data.size()),
                          pointerPos, 0, ReachableBankHalf(pointerPos));
        if (address == 0) {
            error_ = kNoRoomText;
            return false;
        }
        if (!ScriptPointerReaches(pointerPos, address)) {
            error_ = kUnreachableText;
            return false;
        }
        block.address = address;
        block.pointerPos = pointerPos;
        placed_.push_back({&block, head});
        const std::uint32_t value = EncodeScriptPointer(pointerPos, address);
        Bytes({static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value >> 16)});
        return true;
    }

    const std::vector<std::uint8_t>& Script() const { return bytes_; }
    const std::vector<PlacedBlock>& Placed() const { return placed_; }
    const char* Error() const { return error_; }

private:
    ProjectContext& project_;
    MapScriptBuilder& builder_;
    std::vector<std::uint8_t> bytes_;
    std::vector<PlacedBlock> placed_;
    const char* error_ = kNoRoomText;
};

}  // namespace

void MapScriptBuilder::AddLayerBlock(MapDataBlock block, std::uint8_t layer,
                                     std::uint8_t widthUnits, std::uint8_t heightUnits) {
    block.slot = layer;
    block.widthUnits = widthUnits;
    block.heightUnits = heightUnits;
    layers.push_back(std::move(block));
}

std::uint32_t MapScriptBuilder::ScriptLength() const {
    const auto count = [](const std::vector<MapDataBlock>& list) {
        return static_cast<std::uint32_t>(list.size());
    };
    return kLayerCommandBytes * count(layers) + kTileCommandBytes * count(tiles) +
           (palettes.empty() ? 0 : kPaletteCommandBytes) +
           kMetatileCommandBytes * count(metatileBlocks) +
           (collisionBlocks.empty() ? 0 : kMetatileCommandBytes) +
           (spcTrack != 0 ? kMusicCommandBytes : 0) + 1;
}

MapSaveResult MapScriptBuilder::Emit(ProjectContext& project, std::uint32_t headerEntry) {
    const AllocTable before = project.allocTable;
    const auto refuse = [&](const char* text) {
        project.allocTable = before;
        return MapSaveResult::Refused(text);
    };
    if (!InRange(project.romImage.size(), headerEntry, 3)) {
        return refuse(kNoRoomText);
    }
    length = ScriptLength();
    writePos = 0;
    spcTrackPos = 0;
    script = AllocRomSpace(project, length, headerEntry);
    if (script == 0) {
        return refuse(kNoRoomText);
    }

    ScriptWriter out(project, *this);
    for (MapDataBlock& layer : layers) {
        out.Bytes({0x10, static_cast<std::uint8_t>(layer.slot + 1)});
        if (!out.Pointer(layer, LayerHead(layer))) {
            return refuse(out.Error());
        }
    }
    // The first tile command sets tile-set type 1 with tile-number offset 0; further ones
    // carry type 0, which changes neither.
    for (MapDataBlock& block : tiles) {
        const std::uint8_t type = &block == &tiles.front() ? 1 : 0;
        out.Bytes({0x80, 0x00, block.units, type});
        if (!out.Pointer(block, LzHead(block))) {
            return refuse(out.Error());
        }
        out.Bytes({block.slot, 0x00});
    }
    if (!palettes.empty()) {
        // 0xE0 colours from colour 0x10 on: rows 1 to 14.
        out.Bytes({0x40, 0x00, 0xE0, 0x10});
        if (!out.Pointer(palettes.front(), BlockHead{})) {
            return refuse(out.Error());
        }
    }
    for (MapDataBlock& block : metatileBlocks) {
        out.Bytes({0x20, 0x00, block.units, 0x00, static_cast<std::uint8_t>(block.slot + 1)});
        if (!out.Pointer(block, LzHead(block))) {
            return refuse(out.Error());
        }
    }
    if (!collisionBlocks.empty()) {
        out.Bytes({0x20, 0x00, 0x08, 0x00, 0x81});
        if (!out.Pointer(collisionBlocks.front(), LzHead(collisionBlocks.front()))) {
            return refuse(out.Error());
        }
    }
    if (spcTrack != 0) {
        out.Bytes({0x08, 0xFC});
        spcTrackPos = script + writePos;
        out.Bytes({static_cast<std::uint8_t>(spcTrack), 0x00});
    }
    out.Bytes({0x00});

    // Everything has its place: only now is the image written.
    if (!InRange(project.romImage.size(), script, out.Script().size())) {
        return refuse(kNoRoomText);
    }
    for (const PlacedBlock& placed : out.Placed()) {
        if (!InRange(project.romImage.size(), placed.block->address,
                     placed.head.size + placed.block->data.size())) {
            return refuse(kNoRoomText);
        }
    }
    for (const PlacedBlock& placed : out.Placed()) {
        project.WriteBytes(placed.block->address,
                           std::span(placed.head.bytes).first(placed.head.size));
        project.WriteBytes(placed.block->address + static_cast<std::uint32_t>(placed.head.size),
                           placed.block->data);
    }
    project.WriteBytes(script, out.Script());
    WriteDumpFile("mscript.bin", std::span(out.Script()).first(out.Script().size() - 1));
    project.Write24(headerEntry, script);
    WriteAllocTableCopy(project);
    return {};
}

void MapScriptBuilder::Clear() {
    layers.clear();
    tiles.clear();
    metatileBlocks.clear();
    collisionBlocks.clear();
    palettes.clear();
}
