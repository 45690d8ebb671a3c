#pragma once

#include <array>
#include <cstdint>

// One of the 37 exits of the world map, 14 bytes as stored in the image.
struct WorldMapExitRecord {
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::array<std::uint8_t, 10> rest{};  // kept as read, not interpreted
};
static_assert(sizeof(WorldMapExitRecord) == 14);

inline constexpr std::size_t kWorldMapExitCount = 37;
