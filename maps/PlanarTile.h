#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kPlanarTileBytes = 32;

// Decodes one 8 x 8 tile of the console's 4-bit planar form (32 bytes) into 8 rows of 8
// one-byte colour indexes, rows `stride` bytes apart. Row r takes planes 0 and 1 from bytes
// 2r and 2r + 1, planes 2 and 3 from bytes 16 + 2r and 17 + 2r; pixel x is bit 7 - x.
inline void DecodePlanarTile(const std::uint8_t* tile, std::uint8_t* out, std::size_t stride) {
    for (std::size_t r = 0; r < 8; ++r, out += stride) {
        const unsigned p0 = tile[2 * r];
        const unsigned p1 = tile[2 * r + 1];
        const unsigned p2 = tile[16 + 2 * r];
        const unsigned p3 = tile[17 + 2 * r];
        for (unsigned x = 0; x < 8; ++x) {
            const unsigned bit = 7 - x;
            out[x] = static_cast<std::uint8_t>(((p0 >> bit) & 1) | ((p1 >> bit) & 1) << 1 |
                                               ((p2 >> bit) & 1) << 2 | ((p3 >> bit) & 1) << 3);
        }
    }
}

inline constexpr std::size_t kPlanarTile8Bytes = 64;

// The same for an 8-bit tile (64 bytes): planes 0 to 3 as in a 4-bit tile, planes 4 to 7 laid
// out the same way in bytes 32 to 63.
inline void DecodePlanarTile8(const std::uint8_t* tile, std::uint8_t* out, std::size_t stride) {
    std::uint8_t high[64];
    DecodePlanarTile(tile, out, stride);
    DecodePlanarTile(tile + kPlanarTileBytes, high, 8);
    for (std::size_t r = 0; r < 8; ++r) {
        for (std::size_t x = 0; x < 8; ++x) {
            out[r * stride + x] |= static_cast<std::uint8_t>(high[r * 8 + x] << 4);
        }
    }
}
