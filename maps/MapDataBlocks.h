#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class ProjectContext;

// Reading the data blocks of a map out of the image, bounded on every side.

// The decoded bytes of the LZ block at address (its decoded size), or nothing.
std::optional<std::vector<std::uint8_t>> DecodeMapBlock(const ProjectContext& project,
                                                        std::uint32_t address);

// Decodes the block at address into the start of buffer, which keeps its size; returns the
// decoded size (cut to the buffer), or nothing when the block does not decode.
std::optional<std::uint32_t> DecodeMapBlockInto(const ProjectContext& project,
                                                std::uint32_t address,
                                                std::vector<std::uint8_t>& buffer);

// Copies up to count bytes from source[sourceOffset] to dest[destOffset], dropping whatever
// would fall outside either buffer.
void CopyClipped(std::span<std::uint8_t> dest, std::size_t destOffset,
                 std::span<const std::uint8_t> source, std::size_t sourceOffset, std::size_t count);

// The 3-byte little-endian script position stored at address, each byte through the
// address rule.
std::uint32_t ReadScriptPosition(const ProjectContext& project, std::uint32_t address);
