#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class ProjectContext;

// The game's LZ block: a head byte, the raw size (u16 little-endian), then the stream.
// No state is shared between calls.

// Decodes the block whose head byte is at `address` (a game address or image offset, turned
// into an image offset by the project's address rule). `size` receives the raw size from the
// head and, on success, the number of bytes decoded. `compressedLength`, when given, receives
// the stream length in the image, end marker included, head excluded. The result has the raw
// size; bytes that a stream ending early leaves undecoded are zero. Nothing on failure (no
// head, raw size 0 or 0x5EF4, a malformed stream or one that runs past the image end).
std::optional<std::vector<std::uint8_t>> UncompressData(const ProjectContext& project,
                                                        std::uint32_t address, std::uint32_t& size,
                                                        std::uint32_t* compressedLength = nullptr);

// The same for a block whose head byte is at a plain offset of `bytes`.
std::optional<std::vector<std::uint8_t>> UncompressDataAt(
    std::span<const std::uint8_t> bytes, std::size_t offset, std::uint32_t& size,
    std::uint32_t* compressedLength = nullptr);

// Encodes raw bytes into a stream (without head). Nothing when the input cannot be represented
// (empty, longer than 0xFFFF bytes, or a stream that would reach 0x10000 bytes).
// `compressedLength`, when given, receives the stream length, end marker included.
std::optional<std::vector<std::uint8_t>> CompressData(std::span<const std::uint8_t> input,
                                                      std::uint32_t* compressedLength = nullptr);
