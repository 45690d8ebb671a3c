#include "maps/MapDataBlocks.h"

#include <algorithm>

#include "project/LzCodec.h"
#include "project/ProjectContext.h"

std::optional<std::vector<std::uint8_t>> DecodeMapBlock(const ProjectContext& project,
                                                        std::uint32_t address) {
    std::uint32_t size = 0;
    auto data = UncompressData(project, address, size);
    if (data) {
        data->resize(std::min<std::size_t>(size, data->size()));
    }
    return data;
}

std::optional<std::uint32_t> DecodeMapBlockInto(const ProjectContext& project,
                                                std::uint32_t address,
                                                std::vector<std::uint8_t>& buffer) {
    const auto data = DecodeMapBlock(project, address);
    if (!data) {
        return std::nullopt;
    }
    const std::size_t count = std::min(data->size(), buffer.size());
    std::copy_n(data->begin(), count, buffer.begin());
    return static_cast<std::uint32_t>(count);
}

void CopyClipped(std::span<std::uint8_t> dest, std::size_t destOffset,
                 std::span<const std::uint8_t> source, std::size_t sourceOffset,
                 std::size_t count) {
    if (destOffset >= dest.size() || sourceOffset >= source.size()) {
        return;
    }
    count = std::min({count, dest.size() - destOffset, source.size() - sourceOffset});
    std::copy_n(source.begin() + sourceOffset, count, dest.begin() + destOffset);
}

std::uint32_t ReadScriptPosition(const ProjectContext& project, std::uint32_t address) {
    std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < 3; ++i) {
        value |= static_cast<std::uint32_t>(project.Read8(project.WrapRomOffset(address + i)))
                 << (8 * i);
    }
    return value;
}
