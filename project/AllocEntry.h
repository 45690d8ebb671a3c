#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// One entry of the allocation table that manages the free area of a 6 MB image.
struct AllocEntry {
    std::uint32_t address = 0;  // image offset of the block; 0 marks a free entry
    std::uint32_t size = 0;     // length in bytes, a multiple of 16
    std::uint32_t tag = 0;      // the caller's key for a later release; 0: never released

    friend bool operator==(const AllocEntry&, const AllocEntry&) = default;
};
static_assert(sizeof(AllocEntry) == 12);

inline constexpr std::size_t kAllocEntryCount = 1024;
inline constexpr std::uint32_t kAllocBase = 0x418000;   // first offset handed out
inline constexpr std::uint32_t kAllocLimit = 0x600000;  // end of the free area

using AllocTable = std::array<AllocEntry, kAllocEntryCount>;
