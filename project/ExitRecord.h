#pragma once

#include <cstdint>

// One map exit, 12 bytes, the same layout in the image and in memory.
struct ExitRecord {
    std::uint8_t posX = 0;
    std::uint8_t posY = 0;
    std::uint8_t sizeX = 0;
    std::uint8_t sizeY = 0;
    std::uint16_t dstMapId = 0;  // bit 15: a list of conditional destinations in bank 0x01
    std::uint8_t transEffect = 0;
    std::uint8_t direction = 0;
    std::uint16_t dstX = 0;
    std::uint16_t dstY = 0;

    bool operator==(const ExitRecord&) const = default;
};
static_assert(sizeof(ExitRecord) == 12);
