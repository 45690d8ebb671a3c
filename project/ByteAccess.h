#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Bounds-checked little-endian access to byte buffers such as the ROM image.
// A read that reaches past the end yields 0 for the missing bytes; a write that would reach
// past the end writes nothing and returns false.

inline bool InRange(std::size_t size, std::size_t offset, std::size_t length) {
    return offset <= size && length <= size - offset;
}

inline std::uint8_t GetU8(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return offset < bytes.size() ? bytes[offset] : 0;
}

inline std::uint16_t GetU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(GetU8(bytes, offset) | GetU8(bytes, offset + 1) << 8);
}

inline std::uint32_t GetU24(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return GetU8(bytes, offset) | GetU8(bytes, offset + 1) << 8 |
           static_cast<std::uint32_t>(GetU8(bytes, offset + 2)) << 16;
}

inline std::uint32_t GetU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return GetU24(bytes, offset) | static_cast<std::uint32_t>(GetU8(bytes, offset + 3)) << 24;
}

inline bool PutLittleEndian(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value,
                            std::size_t count) {
    if (!InRange(bytes.size(), offset, count)) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return true;
}

inline bool PutU8(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    return PutLittleEndian(bytes, offset, value, 1);
}
inline bool PutU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    return PutLittleEndian(bytes, offset, value, 2);
}
inline bool PutU24(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    return PutLittleEndian(bytes, offset, value, 3);
}
inline bool PutU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    return PutLittleEndian(bytes, offset, value, 4);
}
