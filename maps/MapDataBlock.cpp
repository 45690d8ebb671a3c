#include "maps/MapDataBlock.h"

#include <algorithm>

#include "project/LzCodec.h"

namespace {

constexpr std::size_t kRefusedRawSize = 0x5EF4;

}  // namespace

std::optional<MapDataBlock> CompressMapData(std::span<const std::uint8_t> raw) {
    if (raw.size() == kRefusedRawSize) {
        return std::nullopt;
    }
    auto stream = CompressData(raw);  // refuses empty input and more than 0xFFFF bytes
    if (!stream) {
        return std::nullopt;
    }
    MapDataBlock block;
    block.rawSize = static_cast<std::uint32_t>(raw.size());
    block.storedSize = static_cast<std::uint32_t>(stream->size());
    block.data = std::move(*stream);
    return block;
}

std::uint8_t LayerUnits(std::uint32_t pixels) {
    return static_cast<std::uint8_t>(
        std::min<std::uint64_t>((std::uint64_t{pixels} + 255) / 256, 0xFF));
}
