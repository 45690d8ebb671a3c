#pragma once

#include <cstddef>
#include <cstdint>

// The level words of enemy records and the armour's elemental resistance word: for kind k
// (0 to 4) a presence bit 11 + k and two level bits 9 - 2k and 8 - 2k. Bit 10 belongs to no
// kind.
inline constexpr std::uint32_t kLevelWordFreeBit = 0x0400;

inline std::uint32_t PresenceBit(std::size_t kind) {
    return 0x0800u << kind;
}
inline std::uint32_t FirstLevelBit(std::size_t kind) {
    return 0x0200u >> (2 * kind);
}
inline std::uint32_t SecondLevelBit(std::size_t kind) {
    return 0x0100u >> (2 * kind);
}
